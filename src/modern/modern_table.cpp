#include "modern_table.h"

#include <algorithm>
#include <cstdint>

#include "calendar/calendar.h"
#include "table_text.h"

namespace {

constexpr auto blank_cell = "<td></td>"_crlf;
// The blanks before a month's 1st or after its last day, six at most.
constexpr auto blanks = repeated<blank_cell, 6>();

void put_blanks(out_stream &out, int count)
{
	put_bytes(out, blanks.data(), static_cast<std::size_t>(count) * blank_cell.size);
}

// The sources of a day's marks, each once, in the order of the marks; how many there are.
std::size_t sources_of(std::span<const day_mark> day, const event_list &list,
                       std::uint32_t (&sources)[8])
{
	std::size_t count = 0;
	for (const day_mark &m : day) {
		std::uint32_t source = list.details[m.marked->order].source;
		if (count < std::size(sources) &&
		    std::find(sources, sources + count, source) == sources + count)
			sources[count++] = source;
	}
	return count;
}

// The opening of a marked day's cell: today, a day of events of the first source's colour, a
// day off.
void open_marked_cell(out_stream &out, bool today, std::span<const day_mark> day,
                      const event_list *list)
{
	if (today)
		put(out, "<td aria-current=\"date\""_crlf);
	else
		put(out, "<td"_crlf);
	if (!day.empty()) {
		put(out, " class=\"e "_crlf);
		put_source_class(out, *list, list->details[day.front().marked->order].source);
		bool off = std::any_of(day.begin(), day.end(), [&](const day_mark &m) {
			return list->sources[list->details[m.marked->order].source].days_off;
		});
		if (off)
			put(out, " off"_crlf);
		put(out, "\""_crlf);
	}
	put(out, ">"_crlf);
}

// What a day's events say to a reader that does not see the cell: ": family: Birthday; Rent;
// work: Meeting", each source named before its events.
void put_hidden_texts(out_stream &out, std::span<const day_mark> day, const event_list &list)
{
	put(out, "<span class=\"hidden\">: "_crlf);
	std::uint32_t named = UINT32_MAX;
	for (const day_mark &m : day) {
		std::uint32_t source = list.details[m.marked->order].source;
		std::string_view text = list.text(*m.marked);
		if (&m != day.data())
			put(out, "; "_crlf);
		if (source != named) {
			put(out, list.sources[source].name);
			if (!text.empty())
				put(out, ": "_crlf);
			named = source;
		}
		put(out, text);
	}
	put(out, "</span>"_crlf);
}

// The markers of a day's sources, for the eye only: the hidden text names them.
void put_markers(out_stream &out, std::span<const day_mark> day, const event_list &list)
{
	std::uint32_t sources[8];
	std::size_t count = sources_of(day, list, sources);
	put(out, "<span class=\"marks\" aria-hidden=\"true\">"_crlf);
	for (std::size_t i = 0; i < count; ++i) {
		put(out, "<i class=\""_crlf);
		put_source_class(out, list, sources[i]);
		put(out, "\"></i>"_crlf);
	}
	put(out, "</span>"_crlf);
}

// The events of a day written in its cell, for the month layout's big cells.
void put_cell_events(out_stream &out, std::span<const day_mark> day, const event_list &list)
{
	put(out, "<ul>"_crlf);
	for (const day_mark &m : day) {
		put(out, "<li class=\""_crlf);
		put_source_class(out, list, list.details[m.marked->order].source);
		put(out, "\"><bdi>"_crlf);
		std::string_view text = list.text(*m.marked);
		put(out,
		    text.empty() ? list.sources[list.details[m.marked->order].source].name : text);
		put(out, "</bdi></li>"_crlf);
	}
	put(out, "</ul>"_crlf);
}

// What the cells of one table are written from: the month, its today, the marks of its days
// (moving on past those written) and, with a second calendar, that calendar's month of the
// day written last.
struct table_days {
	const calendar_month &month;
	int today_day;
	std::span<const day_mark> marks;
	calendar_month second;
	const modern_layout &layout;
	const modern_text &text;
};

// The second calendar's day of day (1 ... of the table's month), small, after the number.
void put_second_day(out_stream &out, table_days &days, int day)
{
	long long absolute = days.month.first_day + day - 1;
	while (absolute >= days.second.first_day + days.second.length &&
	       next_month(days.layout.second, days.second))
		;
	int second_day = static_cast<int>(absolute - days.second.first_day + 1);
	const locale_record &record = *days.layout.locale.record;
	put(out, "<small>"_crlf);
	if (days.layout.second == calendar_type::gregory)
		put_numbered(out, days.text.day_numbers, second_day, second_day + 1);
	else if (second_day == 1) // where its month begins, the month's name
		put_calendar_month_word(out, record, days.layout.second, days.second);
	else
		put_calendar_day(out, record, days.layout.second, second_day);
	put(out, "</small>"_crlf);
}

// A day that is today or has events: a cell of its own, its events named in it; or with a
// second calendar any day.
void put_cell(out_stream &out, table_days &days, int day)
{
	std::size_t count = 0;
	while (count < days.marks.size() && days.marks[count].day == day)
		++count;
	std::span<const day_mark> of_day = days.marks.first(count);
	days.marks = days.marks.subspan(count);
	const modern_layout &layout = days.layout;
	if (day == days.today_day || !of_day.empty())
		open_marked_cell(out, day == days.today_day, of_day, layout.events);
	else
		put(out, "<td>"_crlf);
	put_numbered(out, days.text.day_numbers, day, day + 1);
	if (layout.second_calendar)
		put_second_day(out, days, day);
	if (!of_day.empty() && layout.kind == page_kind::month) {
		put_cell_events(out, of_day, *layout.events);
	} else if (!of_day.empty()) {
		put_hidden_texts(out, of_day, *layout.events);
		put_markers(out, of_day, *layout.events);
	}
	put(out, "</td>"_crlf);
}

// Days first ... last of one week row: runs of ready text, broken only around today and the
// days of events; with a second calendar, each day a cell of its own.
void put_days(out_stream &out, int first, int last, table_days &days)
{
	if (days.layout.second_calendar) {
		for (int day = first; day <= last; ++day)
			put_cell(out, days, day);
		return;
	}
	for (int mark; (mark = std::min(days.today_day >= first ? days.today_day : 32,
	                                days.marks.empty() ? 32 : days.marks.front().day)) <= last;
	     first = mark + 1) {
		put_numbered(out, days.text.days, first, mark);
		put_cell(out, days, mark);
	}
	put_numbered(out, days.text.days, first, last + 1);
}

// The table's opening: its id, the calendar's year and month ("2027-03", "persian-1406-01"),
// the Gregorian date of its 1st for the script that marks the reader's today, and its caption.
void open_table(out_stream &out, const calendar_month &month, const modern_layout &layout)
{
	put(out, "<div><table id=\""_crlf);
	if (layout.calendar != calendar_type::gregory) {
		put(out, calendar_name(layout.calendar));
		put(out, "-"_crlf);
	}
	put_int(out, month.start_year);
	put(out, "-"_crlf);
	put_two_digits(out, month.index + 1);
	put(out, "\" data-start=\""_crlf);
	civil_date first = civil_from_days(month.first_day);
	put_date(out, first.year, first.month, first.day);
	put(out, "\"><caption>"_crlf);
	put_caption(out, layout, month);
	put(out, "</caption>\n"_crlf);
}

// A buffer of fixed size that an out_stream fills.
struct text_buffer {
	char *bytes;
	std::size_t capacity;
	std::size_t size = 0;
};

bool append_to_buffer(void *target, const char *bytes, std::size_t count)
{
	auto &buffer = *static_cast<text_buffer *>(target);
	if (count > buffer.capacity - buffer.size)
		return false;
	std::memcpy(buffer.bytes + buffer.size, bytes, count);
	buffer.size += count;
	return true;
}

// Writes numbers 1 ... count into numbered, each between open and close, in the locale's
// digits; false when they do not fit.
template <class Numbered>
bool make_numbered(Numbered &numbered, int count, std::string_view open, std::string_view close,
                   const locale_record &record)
{
	text_buffer buffer{numbered.bytes, sizeof numbered.bytes};
	out_stream out{append_to_buffer, &buffer};
	for (int n = 1; n <= count; ++n) {
		numbered.start[n] = buffer.size + out.used;
		put(out, open);
		put_number(out, record, n);
		put(out, close);
	}
	bool fits = flush_output(out);
	numbered.start[count + 1] = buffer.size;
	return fits;
}

// The head row of every table and the opening of its body.
bool make_head(const modern_layout &layout, modern_text &text)
{
	text_buffer buffer{text.head, sizeof text.head};
	out_stream out{append_to_buffer, &buffer};
	const locale_record &record = *layout.locale.record;
	put(out, "<thead><tr>"_crlf);
	if (layout.week_numbers) {
		put(out, "<th aria-label=\""_crlf);
		put(out, locale_string(record.week));
		put(out, "\">"_crlf);
		put(out, locale_string(record.week_short));
		put(out, "</th>"_crlf);
	}
	for (int column = 0; column < 7; ++column) {
		int weekday = (layout.first_weekday + column) % 7;
		put(out, "<th aria-label=\""_crlf);
		put(out, locale_string(record.weekdays[weekday]));
		put(out, "\">"_crlf);
		put(out, locale_string(record.weekday_heads[weekday]));
		put(out, "</th>"_crlf);
	}
	put(out, "</tr></thead>\n<tbody>\n"_crlf);
	bool fits = flush_output(out);
	text.head_size = buffer.size;
	return fits;
}

} // namespace

bool make_modern_text(const modern_layout &layout, modern_text &text)
{
	const locale_record &record = *layout.locale.record;
	return make_head(layout, text) && make_numbered(text.days, 31, "<td>", "</td>", record) &&
	       make_numbered(text.day_numbers, 31, "", "", record) &&
	       make_numbered(text.weeks, 53, "<th scope=\"row\">", "</th>", record);
}

void write_modern_table(out_stream &out, const calendar_month &month, int today_day,
                        const modern_layout &layout, const modern_text &text,
                        std::span<const month_event> events, std::span<const day_mark> marks)
{
	open_table(out, month, layout);
	put_bytes(out, text.head, text.head_size);
	table_days days{month, today_day, marks, {}, layout, text};
	// Every day of a page is one every calendar knows.
	if (layout.second_calendar)
		(void)month_of_day(layout.second, month.first_day, days.second);
	// Week rows in full, column 0 the week's first day: blanks before the 1st, after the last.
	int column = (weekday_of_day(month.first_day) + 7 - layout.first_weekday) % 7;
	for (int first = 1; first <= month.length; first += 7 - column, column = 0) {
		int last = std::min(first + 6 - column, month.length);
		put(out, "<tr>"_crlf);
		if (layout.week_numbers) {
			int week = week_of_year(month.first_day + first - 1, layout.week_start,
			                        layout.week_minimal_days);
			put_numbered(out, text.weeks, week, week + 1);
		}
		put_blanks(out, column);
		put_days(out, first, last, days);
		put_blanks(out, 6 - column - (last - first));
		put(out, "</tr>\n"_crlf);
	}
	put(out, "</tbody></table>\n"_crlf);
	if (!events.empty() && layout.kind != page_kind::month)
		write_event_list(out, month, layout, text, events);
	put(out, "</div>\n"_crlf);
}
