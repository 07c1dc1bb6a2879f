#ifndef PENDRIK_EVENT_LIST_H
#define PENDRIK_EVENT_LIST_H

#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::size_t max_events = 10000; // in all files together

// Days of one month of one year, or of every year, with a text: one event, or the part of a
// span of days that falls in the month.
struct event {
	int year;              // 1 ... 9999, or 0 for every year
	int month;             // 0 = January ... 11
	int day;               // 1 ... 31, the first day of the month that it marks
	int last_day;          // day ... 31, the last
	int minute = -1;       // 0 ... 1439, the local time it starts on day; -1 for all day
	std::size_t order;     // its place among all events read, for the events of one day
	std::size_t text_at;   // its text in event_list::texts, as HTML
	std::size_t text_size; // never 0
};

// The events of all files: the only data that grows with the input.
struct event_list {
	std::vector<event> dated;          // by date once sorted, then in the order read
	std::vector<event> yearly;         // by month and day once sorted, then in the order read
	std::size_t yearly_start[13] = {}; // month m's yearly events: from [m] to [m + 1]
	std::size_t count = 0;             // events read, lines and VEVENTs: the next one's order
	std::string texts;

	[[nodiscard]] std::string_view text(const event &e) const
	{
		return std::string_view(texts).substr(e.text_at, e.text_size);
	}
};

// The months of a page: count of them from month (0 = January ... 11) of year.
struct month_range {
	int year, month, count;
};

// Puts the events read in order, once all files are read.
void sort_events(event_list &events);

// The events of one month: its dated ones and those of every year, each in day order.
struct month_events {
	const event_list *list = nullptr;
	std::span<const event> dated, yearly;

	[[nodiscard]] bool empty() const { return dated.empty() && yearly.empty(); }
};

// The events of month in year, for months asked in order: next_dated (0 at first) moves on
// through the dated events.
month_events take_month_events(const event_list &events, std::size_t &next_dated, int year,
                               int month);

// A day that an event marks.
struct day_mark {
	int day;
	const event *marked;
};

// Sets marks to the days that events mark, each event on each of its days, by day and then in
// the order read.
void mark_days(const month_events &events, std::vector<day_mark> &marks);

// The first day of events that is not yet taken, 32 when none is left.
int next_event_day(const month_events &events);

// Takes the next event of events by day and order read.
const event &take_next_event(month_events &events);

#endif
