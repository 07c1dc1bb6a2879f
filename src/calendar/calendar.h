#ifndef PENDRIK_CALENDAR_H
#define PENDRIK_CALENDAR_H

#include <string_view>

// What both page styles know of the calendar: the Gregorian rule, applied to every year.
// Months are 0 = January ... 11 = December, weekdays 0 = Sunday ... 6 = Saturday.

inline constexpr std::string_view month_names[12] = {
	"January", "February", "March",     "April",   "May",      "June",
	"July",    "August",   "September", "October", "November", "December",
};

// February in a common year; month_length adds the leap day.
inline constexpr int days_in_month[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// value / divisor rounded down, for a divisor above 0.
constexpr long long floor_div(long long value, long long divisor)
{
	return (value >= 0 ? value : value - divisor + 1) / divisor;
}

constexpr bool is_leap_year(long long year)
{
	return year % 400 == 0 || (year % 100 != 0 && year % 4 == 0);
}

constexpr int month_length(long long year, int month)
{
	return days_in_month[month] + (month == 1 && is_leap_year(year) ? 1 : 0);
}

// Weekday of the 1st of month in year.
constexpr int weekday_of_first(int year, int month)
{
	// How far each month's 1st moves the weekday, in a year counted from March.
	constexpr int offsets[12] = {0, 3, 2, 5, 0, 3, 5, 1, 4, 6, 2, 4};
	// 400 Gregorian years are a whole number of weeks, so the year is taken into 1 ... 799.
	int y = year % 400 + 400;
	// January and February count with the year before, whose leap day then falls at its end.
	if (month < 2)
		--y;
	return (y + y / 4 - y / 100 + y / 400 + offsets[month] + 1) % 7;
}

// Weekday of the 1st of a month from any day of it and that day's weekday, for any ints: a
// weekday outside 0 ... 6 counts modulo 7.
constexpr int weekday_of_first_from(int day, int weekday)
{
	int lead = (weekday % 7 + 7) % 7 + 1 - day % 7; // -5 ... 13
	return (lead + 7) % 7;
}

// Days from 1 January 1970 to day (1 ... 31) of month (0 ... 11) in year, negative before.
constexpr long long days_from_civil(long long year, int month, int day)
{
	// Counted in 400-year eras of years that begin in March, so that the leap day comes last.
	year -= month < 2 ? 1 : 0;
	long long era = (year >= 0 ? year : year - 399) / 400;
	long long year_of_era = year - era * 400;                              // 0 ... 399
	long long day_of_year = (153 * ((month + 10) % 12) + 2) / 5 + day - 1; // 0 ... 365
	long long day_of_era =
		year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
	return era * 146097 + day_of_era - 719468;
}

// The weekday of a day counted as days_from_civil counts it: 1 January 1970 was a Thursday.
constexpr int weekday_of_day(long long days)
{
	return static_cast<int>((days % 7 + 11) % 7);
}

// The date of a day counted as days_from_civil counts it.
struct civil_date {
	long long year;
	int month; // 0 ... 11
	int day;   // 1 ... 31
};

constexpr civil_date civil_from_days(long long days)
{
	days += 719468;
	long long era = (days >= 0 ? days : days - 146096) / 146097;
	long long day_of_era = days - era * 146097; // 0 ... 146096
	long long year_of_era =
		(day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
	long long day_of_year =
		day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
	long long march_month = (5 * day_of_year + 2) / 153; // 0 = March ... 11 = February
	int month = static_cast<int>((march_month + 2) % 12);
	return {year_of_era + era * 400 + (month < 2 ? 1 : 0), month,
	        static_cast<int>(day_of_year - (153 * march_month + 2) / 5 + 1)};
}

// ISO 8601 week number, 1 ... 53, of day 1 ... month_length of month in year, for years after
// the first of int. The week runs Monday to Sunday and belongs to the year its Thursday is in,
// so week 1 is the one that holds 4 January.
constexpr int iso_week(int year, int month, int day)
{
	constexpr int days_before[12] = {0, 31, 59, 90, 120, 151, 181, 212, 243, 273, 304, 334};
	int from_monday = (weekday_of_first(year, month) + day + 5) % 7; // 0 = Monday ... 6
	// The week's Thursday as a day of year, 1 = 1 January; it may be a few days outside it.
	int thursday = days_before[month] + (month > 1 && is_leap_year(year) ? 1 : 0) + day -
	               from_monday + 3;
	int year_length = is_leap_year(year) ? 366 : 365;
	if (thursday < 1)
		thursday += is_leap_year(year - 1) ? 366 : 365;
	else if (thursday > year_length)
		thursday -= year_length;
	return (thursday - 1) / 7 + 1;
}

#endif
