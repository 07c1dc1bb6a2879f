#include "event_list.h"

#include <algorithm>

#include "calendar/calendar.h"

void sort_events(event_list &events)
{
	auto by_date = [](const event &a, const event &b) {
		return a.year != b.year     ? a.year < b.year
		       : a.month != b.month ? a.month < b.month
		                            : a.day < b.day;
	};
	std::stable_sort(events.dated.begin(), events.dated.end(), by_date);
	std::stable_sort(events.yearly.begin(), events.yearly.end(), by_date);
	std::size_t at = 0;
	for (int month = 0; month <= 12; ++month) {
		while (at < events.yearly.size() && events.yearly[at].month < month)
			++at;
		events.yearly_start[month] = at;
	}
}

month_events take_month_events(const event_list &events, std::size_t &next_dated, int year,
                               int month)
{
	const std::vector<event> &dated = events.dated;
	while (next_dated < dated.size() &&
	       (dated[next_dated].year < year ||
	        (dated[next_dated].year == year && dated[next_dated].month < month)))
		++next_dated;
	std::size_t end = next_dated;
	while (end < dated.size() && dated[end].year == year && dated[end].month == month)
		++end;
	month_events taken;
	taken.list = &events;
	taken.dated = std::span(dated).subspan(next_dated, end - next_dated);
	next_dated = end;
	// 29 February of every year only where the year has one; it comes last in February.
	std::size_t first = events.yearly_start[month];
	std::size_t last = events.yearly_start[month + 1];
	while (last > first && events.yearly[last - 1].day > month_length(year, month))
		--last;
	taken.yearly = std::span(events.yearly).subspan(first, last - first);
	return taken;
}

int next_event_day(const month_events &events)
{
	int day = 32;
	if (!events.dated.empty())
		day = events.dated.front().day;
	if (!events.yearly.empty())
		day = std::min(day, events.yearly.front().day);
	return day;
}

const event &take_next_event(month_events &events)
{
	bool dated_first = events.yearly.empty() ||
	                   (!events.dated.empty() &&
	                    (events.dated.front().day != events.yearly.front().day
	                             ? events.dated.front().day < events.yearly.front().day
	                             : events.dated.front().order < events.yearly.front().order));
	std::span<const event> &from = dated_first ? events.dated : events.yearly;
	const event &next = from.front();
	from = from.subspan(1);
	return next;
}

void mark_days(const month_events &events, std::vector<day_mark> &marks)
{
	marks.clear();
	for (std::span<const event> from : {events.dated, events.yearly})
		for (const event &e : from)
			for (int day = e.day; day <= e.last_day; ++day)
				marks.push_back({day, &e});
	std::stable_sort(marks.begin(), marks.end(), [](const day_mark &a, const day_mark &b) {
		return a.day != b.day ? a.day < b.day : a.marked->order < b.marked->order;
	});
}
