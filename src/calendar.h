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
