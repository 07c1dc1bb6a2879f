#ifndef PENDRIK_MONTH_TABLE_H
#define PENDRIK_MONTH_TABLE_H

#include <ctime>
#include <string_view>

#include "calendar/calendar.h"
#include "output/output.h"

// Writes the month of date as an HTML table. Only tm_mon, tm_year, and a tm_mday with its
// matching tm_wday are read. highlight_day n > 0 shows day n in red, -n shows it red and
// blinking, 0 marks none; link_day (0 for none) is shown as a red link to link_target.
// Returns the weekday of the following month's 1st, 0 = Sunday ... 6 = Saturday.
int write_month_table(const std::tm &date, out_stream &out, int highlight_day, int link_day,
                      std::string_view link_target = {});

#endif
