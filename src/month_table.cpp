#include "month_table.h"

namespace {

int floor_mod(int value, int divisor)
{
	int rest = value % divisor;
	return rest < 0 ? rest + divisor : rest;
}

void put_blanks(out_stream &out, int count)
{
	for (; count > 0; --count)
		put(out, "<td>&nbsp;</td>\n"_crlf);
}

void put_day(out_stream &out, int day, int highlight_day, int link_day,
             std::string_view link_target)
{
	if (day == highlight_day) {
		put(out, "<td><font color=FF0000>"_crlf);
		put_int(out, day);
		put(out, "</font></td>\n"_crlf);
	} else if (-day == highlight_day) {
		put(out, "<td><font color=FF0000><blink>"_crlf);
		put_int(out, day);
		put(out, "</blink></font></td>\n"_crlf);
	} else if (day == link_day) {
		put(out, "<td><a href=\""_crlf);
		put(out, link_target);
		put(out, "\"><font color=FF0000>"_crlf);
		put_int(out, day);
		put(out, "</font></a></td>\n"_crlf);
	} else {
		put(out, "<td>"_crlf);
		put_int(out, day);
		put(out, "</td>\n"_crlf);
	}
}

} // namespace

int write_month_table(const std::tm &date, out_stream &out, int highlight_day, int link_day,
                      std::string_view link_target)
{
	// A month outside 0 ... 11 is carried into the year, as mktime does.
	int month = floor_mod(date.tm_mon, 12);
	int year = date.tm_year + 1900 + (date.tm_mon - month) / 12;

	put(out, "<table><tr>\n<td class=\"c\" colspan=\"7\"><nobr><b>"_crlf);
	put(out, month_names[month]);
	put(out, " "_crlf);
	put_int(out, year);
	put(out,
	    "</b></nobr></a></td>\n</tr>\n<tr class=\"r\">\n"
	    "<td>S</td>\n<td>M</td>\n<td>T</td>\n<td>W</td>\n<td>T</td>\n<td>F</td>\n<td>S</td>\n"
	    "</tr>\n<tr class=\"r\">\n"_crlf);

	// Cells written in the current week row: 0 ... 6, and 0 is Sunday. It starts at the
	// weekday of the 1st, found from any day of the month and its weekday.
	int column = floor_mod(date.tm_wday + 1 - date.tm_mday % 7, 7);
	put_blanks(out, column);

	int day_count = days_in_month[month] + (month == 1 && is_leap_year(year) ? 1 : 0);
	for (int day = 1; day <= day_count; ++day) {
		put_day(out, day, highlight_day, link_day, link_target);
		if (++column == 7) {
			put(out, "</tr>\n<tr class=\"r\">\n"_crlf);
			column = 0;
		}
	}
	int next_weekday = column;

	if (column != 0)
		put_blanks(out, 7 - column);
	put(out, "</tr>\n</table>\n"_crlf);
	return next_weekday;
}
