#include <algorithm>
#include <numeric>
#include <vector>

#include "calendar/calendar.h"
#include "modern_table.h"
#include "table_text.h"

// The list of a month's events under its table: each event once, with every day it has in the
// month, by the first of them and then in the order read. A moved instance is an event of its
// own (its own VEVENT), and keeps its own line.

namespace {

// The occurrences of one line: events[at[first]] ... events[at[last - 1]] of one event and
// start time, in day order.
struct event_line {
	std::size_t first, last;
};

// The lines of a month's events, by their first occurrence, into lines; at orders the
// occurrences by event and time, then by day.
void group_lines(std::span<const month_event> events, std::vector<std::size_t> &at,
                 std::vector<event_line> &lines)
{
	at.resize(events.size());
	std::iota(at.begin(), at.end(), std::size_t{0});
	auto same_line = [&](std::size_t a, std::size_t b) {
		return events[a].occurrence->order == events[b].occurrence->order &&
		       events[a].minute == events[b].minute;
	};
	std::stable_sort(at.begin(), at.end(), [&](std::size_t a, std::size_t b) {
		const month_event &x = events[a];
		const month_event &y = events[b];
		return x.occurrence->order != y.occurrence->order
		               ? x.occurrence->order < y.occurrence->order
		               : x.minute < y.minute;
	});
	lines.clear();
	for (std::size_t i = 0; i < at.size(); ++i)
		if (i == 0 || !same_line(at[i - 1], at[i]))
			lines.push_back({i, i + 1});
		else
			lines.back().last = i + 1;
	std::sort(lines.begin(), lines.end(), [&](const event_line &a, const event_line &b) {
		return at[a.first] < at[b.first];
	});
}

// One occurrence's days as a time element: "4", or "2–15".
void put_days(out_stream &out, const calendar_month &month, const month_event &e,
              const modern_text &text)
{
	put(out, "<time datetime=\""_crlf);
	civil_date date = civil_from_days(month.first_day + e.day - 1);
	put_date(out, date.year, date.month, date.day);
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
	put(out, "</time>"_crlf);
}

// The event's text, a link where it has an address, and where it takes place.
void put_what(out_stream &out, const event_details &details, const event_list &list)
{
	// Isolated, so that a text in another direction, or with a direction mark of its own,
	// does not reorder what stands around it.
	if (details.link_size > 0) {
		put(out, "<a href=\""_crlf);
		put(out, list.text_at(details.link_at, details.link_size));
		put(out, "\">"_crlf);
	}
	put(out, "<bdi>"_crlf);
	put(out, details.text_size > 0 ? list.text_at(details.text_at, details.text_size)
	                               : list.text_at(details.link_at, details.link_size));
	put(out, "</bdi>"_crlf);
	if (details.link_size > 0)
		put(out, "</a>"_crlf);
	if (details.place_size > 0) {
		put(out, " <bdi class=\"place\">"_crlf);
		put(out, list.text_at(details.place_at, details.place_size));
		put(out, "</bdi>"_crlf);
	}
}

void put_line(out_stream &out, const calendar_month &month, const modern_layout &layout,
              const modern_text &text, std::span<const month_event> days)
{
	const event_list &list = *layout.events;
	const event_details &details = list.details[days.front().occurrence->order];
	put(out, "<li><i class=\""_crlf);
	put_source_class(out, list, details.source);
	put(out, "\" aria-hidden=\"true\"></i><span class=\"days\">"_crlf);
	for (const month_event &e : days) {
		if (&e != days.data())
			put(out, ", "_crlf);
		put_days(out, month, e, text);
	}
	put(out, "</span> <span>"_crlf);
	int minute = days.front().minute;
	if (minute >= 0) {
		const locale_record &record = *layout.locale.record;
		put_pattern(out, record, record.hour_and_minute,
		            {.hour = minute / 60, .minute = minute % 60});
		put(out, " "_crlf);
	}
	put_what(out, details, list);
	put(out, "</span></li>\n"_crlf);
}

} // namespace

void write_event_list(out_stream &out, const calendar_month &month, const modern_layout &layout,
                      const modern_text &text, std::span<const month_event> events)
{
	// Kept from month to month: the page allocates them once.
	static std::vector<std::size_t> at;
	static std::vector<event_line> lines;
	static std::vector<month_event> days;
	group_lines(events, at, lines);
	put(out, "<ul class=\"events\">\n"_crlf);
	for (const event_line &line : lines) {
		days.clear();
		for (std::size_t i = line.first; i < line.last; ++i)
			days.push_back(events[at[i]]);
		put_line(out, month, layout, text, days);
	}
	put(out, "</ul>\n"_crlf);
}
