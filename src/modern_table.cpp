#include "modern_table.h"

#include <algorithm>

#include "calendar.h"

namespace {

// The numbers 1 ... count (below 100) end to end, each between open and close: start[n] is
// where number n's text begins, start[count + 1] where the text ends (start[0] unused).
template <std::size_t count, std::size_t size>
struct numbered_text {
	char bytes[size] = {};
	std::size_t start[count + 2] = {};
};

template <std::size_t count, std::size_t open_size, std::size_t close_size>
consteval auto number(const char (&open)[open_size], const char (&close)[close_size])
{
	// Both texts without their NUL; numbers from 10 on take two digits.
	numbered_text<count, count *(open_size + close_size - 2) + 2 * count - 9> text;
	std::size_t at = 0;
	for (std::size_t n = 1; n <= count; ++n) {
		text.start[n] = at;
		for (std::size_t i = 0; i + 1 < open_size; ++i)
			text.bytes[at++] = open[i];
		if (n >= 10)
			text.bytes[at++] = static_cast<char>('0' + n / 10);
		text.bytes[at++] = static_cast<char>('0' + n % 10);
		for (std::size_t i = 0; i + 1 < close_size; ++i)
			text.bytes[at++] = close[i];
	}
	text.start[count + 1] = at;
	return text;
}

// Any run of unmarked days is one copy from here, and any week's row head.
constexpr auto day_text = number<31>("<td>", "</td>");
constexpr auto week_head_text = number<53>("<th scope=\"row\">", "</th>");

constexpr auto blank_cell = "<td></td>"_crlf;
// The blanks before a month's 1st or after its last day, six at most.
constexpr auto blanks = repeated<blank_cell, 6>();

void put_blanks(out_stream &out, int count)
{
	put_bytes(out, blanks.data(), static_cast<std::size_t>(count) * blank_cell.size);
}

// Days first ... end - 1 as unmarked cells.
void put_day_run(out_stream &out, int first, int end)
{
	put_bytes(out, day_text.bytes + day_text.start[first],
	          day_text.start[end] - day_text.start[first]);
}

// A month or day in two digits, "01" ... "31".
void put_two_digits(out_stream &out, int number)
{
	if (number < 10)
		put(out, "0"_crlf);
	put_int(out, number);
}

// A day that is today or has events: a cell of its own, with the events' texts in its name.
void put_marked_day(out_stream &out, int day, int today_day, month_events &events)
{
	bool has_events = next_event_day(events) == day;
	if (day == today_day)
		put(out, "<td aria-current=\"date\""_crlf);
	else
		put(out, "<td"_crlf);
	if (has_events)
		put(out, " class=\"event\""_crlf);
	put(out, ">"_crlf);
	put_int(out, day);
	if (has_events) {
		put(out, "<span class=\"hidden\">: "_crlf);
		put(out, events.list->text(take_next_event(events)));
		while (next_event_day(events) == day) {
			put(out, "; "_crlf);
			put(out, events.list->text(take_next_event(events)));
		}
		put(out, "</span>"_crlf);
	}
	put(out, "</td>"_crlf);
}

// Days first ... last of one week row, today's and those of events marked; events moves on.
void put_days(out_stream &out, int first, int last, int today_day, month_events &events)
{
	for (int mark;
	     (mark = std::min(today_day >= first ? today_day : 32, next_event_day(events))) <= last;
	     first = mark + 1) {
		put_day_run(out, first, mark);
		put_marked_day(out, mark, today_day, events);
	}
	put_day_run(out, first, last + 1);
}

// The month's events in a list under its table: each day with its text.
void put_event_list(out_stream &out, int year, int month, month_events events)
{
	put(out, "<ul class=\"events\">\n"_crlf);
	while (!events.empty()) {
		const event &e = take_next_event(events);
		put(out, "<li><time datetime=\""_crlf);
		put_int(out, year);
		put(out, "-"_crlf);
		put_two_digits(out, month + 1);
		put(out, "-"_crlf);
		put_two_digits(out, e.day);
		put(out, "\">"_crlf);
		put_int(out, e.day);
		put(out, "</time> "_crlf);
		put(out, events.list->text(e));
		put(out, "</li>\n"_crlf);
	}
	put(out, "</ul>\n"_crlf);
}

bool append_to_head(void *target, const char *bytes, std::size_t count)
{
	auto &head = *static_cast<modern_head *>(target);
	if (count > sizeof head.bytes - head.size)
		return false;
	std::memcpy(head.bytes + head.size, bytes, count);
	head.size += count;
	return true;
}

} // namespace

modern_head make_modern_head(const modern_layout &layout)
{
	modern_head head;
	out_stream out{append_to_head, &head};
	const calendar_names &names = *layout.names;
	put(out, "<thead><tr>"_crlf);
	if (layout.week_numbers && is_english(names))
		put(out, "<th aria-label=\"Week\">Wk</th>"_crlf);
	else if (layout.week_numbers)
		put(out, "<th lang=\"en\" aria-label=\"Week\">Wk</th>"_crlf);
	for (int column = 0; column < 7; ++column) {
		int weekday = layout.monday ? (column + 1) % 7 : column;
		put(out, "<th aria-label=\""_crlf);
		put_name(out, names.weekdays[weekday]);
		put(out, "\">"_crlf);
		put_name(out, names.weekday_heads[weekday]);
		put(out, "</th>"_crlf);
	}
	put(out, "</tr></thead>\n<tbody>\n"_crlf);
	(void)flush_output(out); // the head has room for the longest names
	return head;
}

int write_modern_table(out_stream &out, const std::tm &date, int today_day,
                       const modern_layout &layout, const modern_head &head,
                       const month_events &events)
{
	int month = date.tm_mon;
	int year = date.tm_year + 1900;
	int first_weekday = weekday_of_first_from(date.tm_mday, date.tm_wday);
	int day_count = month_length(year, month);

	put(out, "<div><table id=\""_crlf);
	put_int(out, year);
	put(out, "-"_crlf);
	put_two_digits(out, month + 1);
	put(out, "\"><caption>"_crlf);
	put_month_and_year(out, *layout.names, month, year);
	put(out, "</caption>\n"_crlf);
	put_bytes(out, head.bytes, head.size);

	// Week rows in full, column 0 the week's first day: blanks before the 1st, after the last.
	int column = layout.monday ? (first_weekday + 6) % 7 : first_weekday;
	month_events unmarked = events;
	for (int first = 1; first <= day_count; first += 7 - column, column = 0) {
		int last = std::min(first + 6 - column, day_count);
		put(out, "<tr>"_crlf);
		if (layout.week_numbers) {
			int week = iso_week(year, month, first);
			put_bytes(out, week_head_text.bytes + week_head_text.start[week],
			          week_head_text.start[week + 1] - week_head_text.start[week]);
		}
		put_blanks(out, column);
		put_days(out, first, last, today_day, unmarked);
		put_blanks(out, 6 - column - (last - first));
		put(out, "</tr>\n"_crlf);
	}
	put(out, "</tbody></table>\n"_crlf);
	if (!events.empty())
		put_event_list(out, year, month, events);
	put(out, "</div>\n"_crlf);
	return (first_weekday + day_count) % 7;
}
