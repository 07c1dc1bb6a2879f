#include "event_list.h"

#include <algorithm>
#include <iterator>

#include "output/output.h"

std::uint32_t add_text(event_list &events, std::string_view text, std::uint32_t &size)
{
	std::size_t at = events.texts.size();
	events.texts.resize(at + escaped_byte_size * text.size());
	std::size_t written = escape_html(text, events.texts.data() + at);
	events.texts.resize(at + written);
	size = static_cast<std::uint32_t>(written);
	return static_cast<std::uint32_t>(at);
}

void add_source(event_list &events, std::string_view name, bool days_off)
{
	std::string text;
	append_as_text(text, name);
	std::string escaped(escaped_byte_size * text.size(), '\0');
	escaped.resize(escape_html(text, escaped.data()));
	events.sources.push_back({escaped, days_off});
}

std::uint32_t add_event(event_list &events, std::string_view text)
{
	event_details details{};
	details.source = static_cast<std::uint32_t>(events.sources.size() - 1);
	details.text_at = add_text(events, text, details.text_size);
	events.details.push_back(details);
	return static_cast<std::uint32_t>(events.details.size() - 1);
}

std::uint32_t add_html_event(event_list &events, std::string_view html)
{
	event_details details{};
	details.source = static_cast<std::uint32_t>(events.sources.size() - 1);
	details.text_at = static_cast<std::uint32_t>(events.texts.size());
	details.text_size = static_cast<std::uint32_t>(html.size());
	events.texts.append(html);
	events.details.push_back(details);
	return static_cast<std::uint32_t>(events.details.size() - 1);
}

void sort_events(event_list &events)
{
	std::stable_sort(events.occurrences.begin(), events.occurrences.end(),
	                 [](const event &a, const event &b) {
				 return a.first_day != b.first_day ? a.first_day < b.first_day
		                                                   : a.order < b.order;
			 });
}

namespace {

month_event part_in_month(const event &e, long long first_day, long long last_day)
{
	return {static_cast<int>(std::max(e.first_day, first_day) - first_day + 1),
	        static_cast<int>(std::min(e.last_day, last_day) - first_day + 1),
	        e.first_day >= first_day ? e.minute : -1, &e};
}

} // namespace

void take_month(month_walker &walker, long long first_day, long long last_day,
                std::vector<month_event> &taken)
{
	taken.clear();
	std::erase_if(walker.longer, [&](const event *e) { return e->last_day < first_day; });
	std::transform(walker.longer.begin(), walker.longer.end(), std::back_inserter(taken),
	               [&](const event *e) { return part_in_month(*e, first_day, last_day); });
	const std::vector<event> &all = walker.events->occurrences;
	for (; walker.next < all.size() && all[walker.next].first_day <= last_day; ++walker.next) {
		const event &e = all[walker.next];
		if (e.last_day < first_day)
			continue;
		taken.push_back(part_in_month(e, first_day, last_day));
		if (e.last_day > last_day)
			walker.longer.push_back(&e);
	}
	std::stable_sort(taken.begin(), taken.end(),
	                 [](const month_event &a, const month_event &b) {
				 return a.day != b.day ? a.day < b.day
		                                       : a.occurrence->order < b.occurrence->order;
			 });
}

void mark_days(const std::vector<month_event> &taken, std::vector<day_mark> &marks)
{
	marks.clear();
	for (const month_event &e : taken)
		for (int day = e.day; day <= e.last_day; ++day)
			marks.push_back({day, e.occurrence});
	std::stable_sort(marks.begin(), marks.end(), [](const day_mark &a, const day_mark &b) {
		return a.day != b.day ? a.day < b.day : a.marked->order < b.marked->order;
	});
}
