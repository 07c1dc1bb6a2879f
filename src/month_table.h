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

// Writes the month of date as an HTML table. Only tm_mon, tm_year, and a tm_mday with its
// matching tm_wday are read. highlight_day n > 0 shows day n in red, -n shows it red and
// blinking, 0 marks none; link_day (0 for none) is shown as a red link to link_target.
// Returns the weekday of the following month's 1st, 0 = Sunday ... 6 = Saturday.
int write_month_table(const std::tm &date, out_stream &out, int highlight_day, int link_day,
                      std::string_view link_target = {});

#endif
