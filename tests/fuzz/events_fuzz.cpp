// Fuzzes the events-file reader, with libical inside it for iCalendar files, with any file: one
// message line when it refuses the file; when it takes it, real days, texts that are HTML text,
// and each month's events in day order.
#include <algorithm>
#include <string>
#include <vector>

#include "calendar/calendar.h"
#include "events/events.h"
#include "fuzz_io.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, std::size_t size)
{
	using fuzz::abort_unless;
	fuzz::read_file = std::string_view(reinterpret_cast<const char *>(data), size);
	char *message = nullptr;
	std::size_t message_size = 0;
	std::FILE *messages = open_memstream(&message, &message_size);
	event_list events;
	fuzz::active = true;
	// Calendar files' events are laid on the months of 2023 and 2024.
	diagnostics said_to{messages};
	bool read = read_events("events.txt", {2023, 0, 24}, events, said_to);
	fuzz::active = false;
	(void)std::fclose(messages);
	std::string_view said(message, message_size);
	abort_unless(read ? said.empty() : said.ends_with('\n') && said.starts_with("events.txt:"),
	             "one message when refused");
	std::free(message);
	if (!read)
		return 0;

	// Every year with a dated event, and a leap year and a common one for those of every year.
	sort_events(events);
	std::vector<int> years{2023, 2024};
	for (const event &e : events.dated)
		years.push_back(e.year);
	std::sort(years.begin(), years.end());
	years.erase(std::unique(years.begin(), years.end()), years.end());
	std::size_t next_dated = 0;
	std::size_t dated_seen = 0;
	for (int year : years)
		for (int month = 0; month < 12; ++month) {
			month_events taken = take_month_events(events, next_dated, year, month);
			for (const event *last = nullptr; !taken.empty();) {
				const event &e = take_next_event(taken);
				dated_seen += e.year != 0 ? 1 : 0;
				abort_unless(e.month == month && (e.year == 0 || e.year == year) &&
				                     e.day <= e.last_day &&
				                     e.last_day <= month_length(year, month) &&
				                     e.minute >= -1 && e.minute < 24 * 60,
				             "the month's events");
				// A span goes on from the month before on the day a later one
				// begins.
				abort_unless(last == nullptr || last->day < e.day ||
				                     (last->day == e.day && last->order <= e.order),
				             "by day, then in the order read");
				last = &e;
				std::string_view text = events.text(e);
				abort_unless(!text.empty() &&
				                     text.find_first_of("<>\"'\r\n") == text.npos,
				             "a text that is HTML text");
			}
		}
	abort_unless(dated_seen == events.dated.size(), "each dated event once");
	return 0;
}
