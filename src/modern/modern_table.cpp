#include "modern_table.h"

#include <algorithm>

#include "calendar/calendar.h"

namespace {

constexpr auto blank_cell = "<td></td>"_crlf;
// The blanks before a month's 1st or after its last day, six at most.
constexpr auto blanks = repeated<blank_cell, 6>();

void put_blanks(out_stream &out, int count)
{
	put_bytes(out, blanks.data(), static_cast<std::size_t>(count) * blank_cell.size);
}

// Numbers first ... end - 1 of numbered, as one copy.
template <class Numbered>
void put_numbered(out_stream &out, const Numbered &numbered, int first, int end)
{
	put_bytes(out, numbered.bytes + numbered.start[first],
	          numbered.start[end] - numbered.start[first]);
}

// A month or day in two ASCII digits, "01" ... "31", as a date in an attribute is written.
void put_two_digits(out_stream &out, int number)
{
	if (number < 10)
		put(out, "0"_crlf);
	put_int(out, number);
}

// A day that is today or has events: a cell of its own, with the events' texts in its name.
// marks moves on past the day's.
void put_marked_day(out_stream &out, int day, int today_day, std::span<const day_mark> &marks,
                    const event_list *list, const modern_text &text)
{
	bool has_events = !marks.empty() && marks.front().day == day;
	if (day == today_day)
		put(out, "<td aria-current=\"date\""_crlf);
	else
		put(out, "<td"_crlf);
	if (has_events)
		put(out, " class=\"event\""_crlf);
	put(out, ">"_crlf);
	put_numbered(out, text.day_numbers, day, day + 1);
	if (has_events) {
		put(out, "<span class=\"hidden\">: "_crlf);
		put(out, list->text(*marks.front().marked));
		for (marks = marks.subspan(1); !marks.empty() && marks.front().day == day;
		     marks = marks.subspan(1)) {
			put(out, "; "_crlf);
			put(out, list->text(*marks.front().marked));
		}
		put(out, "</span>"_crlf);
	}
	put(out, "</td>"_crlf);
}

// Days first ... last of one week row, today's and those of events marked; marks moves on.
void put_days(out_stream &out, int first, int last, int today_day, std::span<const day_mark> &marks,
              const event_list *list, const modern_text &text)
{
	for (int mark; (mark = std::min(today_day >= first ? today_day : 32,
	                                marks.empty() ? 32 : marks.front().day)) <= last;
	     first = mark + 1) {
		put_numbered(out, text.days, first, mark);
		put_marked_day(out, mark, today_day, marks, list, text);
	}
	put_numbered(out, text.days, first, last + 1);
}

// A day of the month as a date: "2027-03-12".
void put_date(out_stream &out, int year, int month, int day)
{
	put_int(out, year);
	put(out, "-"_crlf);
	put_two_digits(out, month + 1);
	put(out, "-"_crlf);
	put_two_digits(out, day);
}

// One event in the month's list: its day or days, the time it starts, its text.
void put_listed_event(out_stream &out, int year, int month, const month_event &e,
                      const event_list &list, const locale_record &record, const modern_text &text)
{
	put(out, "<li><time datetime=\""_crlf);
	put_date(out, year, month, e.day);
	if (e.minute >= 0) {
		put(out, "T"_crlf);
		put_two_digits(out, e.minute / 60);
		put(out, ":"_crlf);
		put_two_digits(out, e.minute % 60);
	}
	put(out, "\">"_crlf);
	put_numbered(out, text.day_numbers, e.day, e.day + 1);
	if (e.last_day > e.day) {
		put(out, "\xE2\x80\x93"_crlf); // an en dash
		put_numbered(out, text.day_numbers, e.last_day, e.last_day + 1);
	}
	put(out, "</time> "_crlf);
	if (e.minute >= 0) {
		put(out, "<span>"_crlf);
		put_pattern(out, record, record.hour_and_minute,
		            {.hour = e.minute / 60, .minute = e.minute % 60});
		put(out, " "_crlf);
	}
	// Isolated, so that a text in another direction, or with a direction mark of its own,
	// does not reorder what stands around it.
	put(out, "<bdi>"_crlf);
	put(out, list.text(*e.occurrence));
	put(out, "</bdi>"_crlf);
	if (e.minute >= 0)
		put(out, "</span>"_crlf);
	put(out, "</li>\n"_crlf);
}

// The month's events in a list under its table, by their first day.
void put_event_list(out_stream &out, int year, int month, std::span<const month_event> events,
                    const event_list &list, const locale_record &record, const modern_text &text)
{
	put(out, "<ul class=\"events\">\n"_crlf);
	for (const month_event &e : events)
		put_listed_event(out, year, month, e, list, record, text);
	put(out, "</ul>\n"_crlf);
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

int write_modern_table(out_stream &out, const std::tm &date, int today_day,
                       const modern_layout &layout, const modern_text &text,
                       std::span<const month_event> events, std::span<const day_mark> marks)
{
	int month = date.tm_mon;
	int year = date.tm_year + 1900;
	int first_weekday = weekday_of_first_from(date.tm_mday, date.tm_wday);
	int day_count = month_length(year, month);
	const locale_record &record = *layout.locale.record;

	put(out, "<div><table id=\""_crlf);
	put_int(out, year);
	put(out, "-"_crlf);
	put_two_digits(out, month + 1);
	put(out, "\"><caption>"_crlf);
	put_pattern(out, record, record.month_and_year, {.year = year, .month = month});
	put(out, "</caption>\n"_crlf);
	put_bytes(out, text.head, text.head_size);

	// Week rows in full, column 0 the week's first day: blanks before the 1st, after the last.
	int column = (first_weekday - layout.first_weekday + 7) % 7;
	for (int first = 1; first <= day_count; first += 7 - column, column = 0) {
		int last = std::min(first + 6 - column, day_count);
		put(out, "<tr>"_crlf);
		if (layout.week_numbers) {
			int week = iso_week(year, month, first);
			put_numbered(out, text.weeks, week, week + 1);
		}
		put_blanks(out, column);
		put_days(out, first, last, today_day, marks, layout.events, text);
		put_blanks(out, 6 - column - (last - first));
		put(out, "</tr>\n"_crlf);
	}
	put(out, "</tbody></table>\n"_crlf);
	if (!events.empty())
		put_event_list(out, year, month, events, *layout.events, record, text);
	put(out, "</div>\n"_crlf);
	return (first_weekday + day_count) % 7;
}
