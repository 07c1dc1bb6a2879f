#ifndef PENDRIK_EVENT_LIST_H
#define PENDRIK_EVENT_LIST_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The days of a page, counted as days_from_civil counts them: from first to last.
struct day_range {
	long long first, last;
};

// What the page shows on the days it lists: at most this many occurrences of events in all.
inline constexpr std::size_t max_page_occurrences = 1000000;

// Where events come from: a file, or the public holidays of a region, each its own entry of the
// page's legend.
struct event_source {
	std::string name;      // as HTML: the calendar's name, or the file's without extension
	bool days_off = false; // public holidays, set apart as the weekend's days are
};

// What all occurrences of one event share: its texts, as HTML, in event_list::texts.
struct event_details {
	std::uint32_t source;                       // index into event_list::sources
	std::uint32_t text_at, text_size;           // the summary; size 0 for an event without one
	std::uint32_t place_at = 0, place_size = 0; // where it takes place, 0 for nowhere said
	std::uint32_t link_at = 0, link_size = 0;   // an http or https address, 0 for none
};

// One occurrence of an event: the local days it covers.
struct event {
	long long first_day, last_day; // first_day ... last_day
	int minute = -1;               // 0 ... 1439, the local time it starts; -1 for all day
	std::uint32_t order;           // its event's index into event_list::details
};

// The events of all files: the only data that grows with the input. An event's order is its
// place among all events read, lines and VEVENTs: of one day, the first read comes first.
struct event_list {
	std::vector<event> occurrences; // by first day once sorted, then in the order read
	std::vector<event_details> details;
	std::vector<event_source> sources;
	std::string texts;

	[[nodiscard]] std::string_view text_at(std::uint32_t at, std::uint32_t size) const
	{
		return std::string_view(texts).substr(at, size);
	}
	[[nodiscard]] std::string_view text(const event &e) const
	{
		const event_details &d = details[e.order];
		return text_at(d.text_at, d.text_size);
	}
};

// Adds text to events' texts as HTML text and returns its offset; size is set to its size.
std::uint32_t add_text(event_list &events, std::string_view text, std::uint32_t &size);

// Adds a source of events named name: any bytes, those of no UTF-8 text shown as U+FFFD.
void add_source(event_list &events, std::string_view name, bool days_off = false);

// Starts an event of the newest source, with text as its summary; returns its order.
std::uint32_t add_event(event_list &events, std::string_view text);

// The same for a summary that is HTML text already.
std::uint32_t add_html_event(event_list &events, std::string_view html);

// Puts the occurrences in order, once all are read.
void sort_events(event_list &events);

// An occurrence as one month of the page shows it: days 1 ... of that month.
struct month_event {
	int day, last_day; // the first and last of its days in the month
	int minute;        // the time it starts, where it starts in this month; else -1
	const event *occurrence;
};

// Walks the months of a page in order, each given by its first and last day, and takes the
// occurrences that touch each: by the first day in the month, then in the order read.
struct month_walker {
	const event_list *events;
	std::size_t next = 0;              // the first occurrence not yet taken
	std::vector<const event *> longer; // taken ones that may reach into later months
};
void take_month(month_walker &walker, long long first_day, long long last_day,
                std::vector<month_event> &taken);

// A day that an occurrence marks.
struct day_mark {
	int day;
	const event *marked;
};

// Sets marks to the days that a month's occurrences mark, each on each of its days, by day
// and then in the order read.
void mark_days(const std::vector<month_event> &taken, std::vector<day_mark> &marks);

#endif
