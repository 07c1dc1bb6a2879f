#ifndef PENDRIK_MONTH_TABLE_H
#define PENDRIK_MONTH_TABLE_H

#include <ctime>
#include <string_view>

#include "output.h"

// Indexed by tm_mon, 0 = January ... 11 = December.
inline constexpr std::string_view month_names[12] = {
	"January", "February", "March",     "April",   "May",      "June",
	"July",    "August",   "September", "October", "November", "December",
};

// February in a common year; write_month_table adds the leap day.
inline constexpr int days_in_month[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

// Gregorian rule, applied to every year.
constexpr bool is_leap_year(int year)
{
	return year % 400 == 0 || (year % 100 != 0 && year % 4 == 0);
}

// Weekday of the 1st of month (0 = January ... 11 = December) in year, by the Gregorian rule
// for every year: 0 = Sunday ... 6 = Saturday.
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

// Writes the month of date as an HTML table. Only tm_mon, tm_year, and a tm_mday with its
// matching tm_wday are read. highlight_day n > 0 shows day n in red, -n shows it red and
// blinking, 0 marks none; link_day (0 for none) is shown as a red link to link_target.
// Returns the weekday of the following month's 1st, 0 = Sunday ... 6 = Saturday.
int write_month_table(const std::tm &date, out_stream &out, int highlight_day, int link_day,
                      std::string_view link_target = {});

#endif
