#include "month_table.h"

namespace {

constexpr auto blank_cell = "<td>&nbsp;</td>\n"_crlf;
constexpr auto cell_open = "<td>"_crlf;
constexpr auto cell_close = "</td>\n"_crlf;

// A month's leading or trailing blanks, six at most.
constexpr auto blanks = repeated<blank_cell, 6>();

constexpr auto week_break = "</tr>\n<tr class=\"r\">\n"_crlf;

// The plain cells of days 1 ... 31 for a month whose 1st falls on a given weekday, with the
// week row closed and the next one opened after each Saturday: any run of unmarked days is
// one copy from here. start[d] is where day d's cell begins and end[d] where it ends;
// start[d + 1] is where the text of days 1 ... d ends, its week break included (d = 1 ... 31).
struct month_days {
	char bytes[9 * (cell_open.size + 1 + cell_close.size) +
	           22 * (cell_open.size + 2 + cell_close.size) + 5 * week_break.size] = {};
	std::size_t start[33] = {};
	std::size_t end[32] = {};
};

struct all_month_days {
	month_days by_first_weekday[7]; // 0 = Sunday ... 6 = Saturday
};

consteval all_month_days make_month_days()
{
	all_month_days all;
	for (int first_weekday = 0; first_weekday < 7; ++first_weekday) {
		month_days &run = all.by_first_weekday[first_weekday];
		std::size_t at = 0;
		auto append = [&](const char *text, std::size_t size) {
			for (std::size_t i = 0; i < size; ++i)
				run.bytes[at++] = text[i];
		};
		for (int day = 1; day <= 31; ++day) {
			run.start[day] = at;
			append(cell_open.bytes, cell_open.size);
			if (day >= 10)
				run.bytes[at++] = static_cast<char>('0' + day / 10);
			run.bytes[at++] = static_cast<char>('0' + day % 10);
			append(cell_close.bytes, cell_close.size);
			run.end[day] = at;
			if ((first_weekday + day) % 7 == 0)
				append(week_break.bytes, week_break.size);
		}
		run.start[32] = at;
	}
	return all;
}

constexpr all_month_days month_days_text = make_month_days();

int floor_mod(int value, int divisor)
{
	int rest = value % divisor;
	return rest < 0 ? rest + divisor : rest;
}

void put_blanks(out_stream &out, int count)
{
	put_bytes(out, blanks.data(), static_cast<std::size_t>(count) * blank_cell.size);
}

void put_marked_day(out_stream &out, int day, int highlight_day, std::string_view link_target)
{
	if (day == highlight_day) {
		put(out, "<td><font color=FF0000>"_crlf);
		put_int(out, day);
		put(out, "</font></td>\n"_crlf);
	} else if (-day == highlight_day) {
		put(out, "<td><font color=FF0000><blink>"_crlf);
		put_int(out, day);
		put(out, "</blink></font></td>\n"_crlf);
	} else {
		put(out, "<td><a href=\""_crlf);
		put(out, link_target);
		put(out, "\"><font color=FF0000>"_crlf);
		put_int(out, day);
		put(out, "</font></a></td>\n"_crlf);
	}
}

// The days that are marked in red, in no order; 0 where there is none.
struct marks {
	int days[3];
};

// The first marked day from first on, before last; last when there is none.
int next_mark(const marks &marked, int first, int last)
{
	int next = last;
	// A minimum under a bound: no standard algorithm says it more plainly.
	for (int day : marked.days)
		if (day >= first && day < next)
			next = day; // cppcheck-suppress useStlAlgorithm
	return next;
}

} // namespace

int write_month_table(const std::tm &date, out_stream &out, int highlight_day, int link_day,
                      std::string_view link_target)
{
	// Any int fields are taken: a month outside 0 ... 11 is carried into the year, as mktime
	// does, and the year is reckoned in long long, where no carry overflows or is cut.
	int month = floor_mod(date.tm_mon, 12);
	long long year = date.tm_year + 1900LL + (date.tm_mon - static_cast<long long>(month)) / 12;

	put(out, "<table><tr>\n<td class=\"c\" colspan=\"7\"><nobr><b>"_crlf);
	put_bytes(out, month_names[month].data(), month_names[month].size()); // no line feed
	put(out, " "_crlf);
	put_int(out, year);
	put(out,
	    "</b></nobr></a></td>\n</tr>\n<tr class=\"r\">\n"
	    "<td>S</td>\n<td>M</td>\n<td>T</td>\n<td>W</td>\n<td>T</td>\n<td>F</td>\n<td>S</td>\n"
	    "</tr>\n<tr class=\"r\">\n"_crlf);

	int first_weekday = weekday_of_first_from(date.tm_mday, date.tm_wday);
	put_blanks(out, first_weekday);

	// The days as runs of ready text, broken only where a day is marked: highlighted,
	// blinking or linked, in that order of precedence.
	const month_days &text = month_days_text.by_first_weekday[first_weekday];
	const marks marked{{highlight_day, highlight_day >= -31 ? -highlight_day : 0, link_day}};
	int day_count = month_length(year, month);
	std::size_t at = 0;
	for (int day = next_mark(marked, 1, day_count + 1); day <= day_count;
	     day = next_mark(marked, day + 1, day_count + 1)) {
		put_bytes(out, text.bytes + at, text.start[day] - at);
		put_marked_day(out, day, highlight_day, link_target);
		at = text.end[day];
	}
	put_bytes(out, text.bytes + at, text.start[day_count + 1] - at);

	// Cells in the last week row, 0 ... 6: the column of the next month's 1st.
	int next_weekday = (first_weekday + day_count) % 7;
	if (next_weekday != 0)
		put_blanks(out, 7 - next_weekday);
	put(out, "</tr>\n</table>\n"_crlf);
	return next_weekday;
}
