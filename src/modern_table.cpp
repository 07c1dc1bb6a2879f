#include "modern_table.h"

#include <algorithm>

#include "calendar.h"

namespace {

// Days 1 ... 31 as cells, "<td>1</td><td>2</td>...": any run of unmarked days is one copy
// from here. cell[d] is where day d's cell begins, cell[32] where the text ends.
struct day_cells {
	char bytes[9 * 10 + 22 * 11] = {};
	std::size_t cell[33] = {};
};

consteval day_cells make_day_cells()
{
	day_cells cells;
	std::size_t at = 0;
	auto append = [&](std::string_view text) {
		for (char c : text)
			cells.bytes[at++] = c;
	};
	for (int day = 1; day <= 31; ++day) {
		cells.cell[day] = at;
		append("<td>");
		if (day >= 10)
			cells.bytes[at++] = static_cast<char>('0' + day / 10);
		cells.bytes[at++] = static_cast<char>('0' + day % 10);
		append("</td>");
	}
	cells.cell[32] = at;
	return cells;
}

constexpr day_cells day_text = make_day_cells();

constexpr auto blank_cell = "<td></td>"_crlf;

// Six blank cells: the blanks before a month's 1st or after its last day are one copy.
struct blank_run {
	char bytes[6 * blank_cell.size] = {};
};

consteval blank_run make_blank_run()
{
	blank_run run;
	for (std::size_t i = 0; i < sizeof run.bytes; ++i)
		run.bytes[i] = blank_cell.bytes[i % blank_cell.size];
	return run;
}

constexpr blank_run blanks = make_blank_run();

// The row heads of weeks 1 ... 53, "<th scope=\"row\">1</th>" ...: bytes from start[w] to
// start[w + 1] (start[0] unused).
struct week_heads {
	char bytes[9 * 22 + 44 * 23] = {};
	std::size_t start[55] = {};
};

consteval week_heads make_week_heads()
{
	week_heads heads;
	std::size_t at = 0;
	auto append = [&](std::string_view text) {
		for (char c : text)
			heads.bytes[at++] = c;
	};
	for (int week = 1; week <= 53; ++week) {
		heads.start[week] = at;
		append("<th scope=\"row\">");
		if (week >= 10)
			heads.bytes[at++] = static_cast<char>('0' + week / 10);
		heads.bytes[at++] = static_cast<char>('0' + week % 10);
		append("</th>");
	}
	heads.start[54] = at;
	return heads;
}

constexpr week_heads week_head_text = make_week_heads();

// The month in a table's id, "01" ... "12".
constexpr std::string_view month_digits[12] = {"01", "02", "03", "04", "05", "06",
                                               "07", "08", "09", "10", "11", "12"};

void put_name(out_stream &out, const html_name &name)
{
	put_bytes(out, name.bytes, name.size);
}

void put_blanks(out_stream &out, int count)
{
	put_bytes(out, blanks.bytes, static_cast<std::size_t>(count) * blank_cell.size);
}

void put_day_run(out_stream &out, int first, int end)
{
	put_bytes(out, day_text.bytes + day_text.cell[first],
	          day_text.cell[end] - day_text.cell[first]);
}

// Day two digits, "01" ... "31".
void put_two_digits(out_stream &out, int day)
{
	if (day < 10)
		put(out, "0"_crlf);
	put_int(out, day);
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
		put(out, month_digits[month]);
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
	if (layout.week_numbers && names.language.text().starts_with("en"))
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
	put(out, month_digits[month]);
	put(out, "\"><caption>"_crlf);
	put_name(out, layout.names->months[month]);
	put(out, " "_crlf);
	put_int(out, year);
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
