// Fuzzes the events-file reader, with libical inside it for iCalendar files, with any file:
// messages of the file's own, one line each (warnings when it takes the file); when it takes
// it, occurrences on the page's days, texts that are HTML text, and each month's events in day
// order.
#include <string>
#include <vector>

#include "calendar/calendar.h"
#include "events/events.h"
#include "fuzz_io.h"

namespace {

void check_months(const event_list &events, const day_range &page)
{
	using fuzz::abort_unless;
	month_walker walker{&events, 0, {}};
	std::vector<month_event> taken;
	std::size_t seen = 0;
	for (long long first = page.first; first <= page.last;) {
		civil_date date = civil_from_days(first);
		int length = month_length(date.year, date.month);
		take_month(walker, first, first + length - 1, taken);
		for (std::size_t i = 0; i < taken.size(); ++i) {
			const month_event &e = taken[i];
			seen += e.occurrence->first_day >= first || first == page.first ? 1 : 0;
			abort_unless(e.day >= 1 && e.day <= e.last_day && e.last_day <= length &&
			                     e.minute >= -1 && e.minute < 24 * 60,
			             "the month's events");
			abort_unless(
				i == 0 || taken[i - 1].day < e.day ||
					(taken[i - 1].day == e.day &&
			                 taken[i - 1].occurrence->order <= e.occurrence->order),
				"by day, then in the order read");
			std::string_view text = events.text(*e.occurrence);
			abort_unless(text.find_first_of("<>\"'\r\n") == text.npos,
			             "a text that is HTML text");
		}
		first += length;
	}
	abort_unless(seen == events.occurrences.size(), "each occurrence once, on the page");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, std::size_t size)
{
	using fuzz::abort_unless;
	fuzz::read_file = std::string_view(reinterpret_cast<const char *>(data), size);
	char *message = nullptr;
	std::size_t message_size = 0;
	std::FILE *messages = open_memstream(&message, &message_size);
	event_list events;
	// The months of 2023 and 2024.
	day_range page{days_from_civil(2023, 0, 1), days_from_civil(2024, 11, 31)};
	fuzz::active = true;
	diagnostics said_to{messages};
	bool read = read_events("events.txt", page, events, said_to);
	fuzz::active = false;
	(void)std::fclose(messages);
	std::string_view said(message, message_size);
	// Refused, one message or more (warnings first); taken, warnings at most: each a line of
	// the file's own.
	bool lines_of_file = said.ends_with('\n');
	std::size_t lines = 0;
	for (std::size_t at = 0; at < said.size(); at = said.find('\n', at) + 1, ++lines)
		lines_of_file = lines_of_file && said.substr(at).starts_with("events.txt:");
	abort_unless(read ? said.empty() || lines_of_file : lines > 0 && lines_of_file,
	             "messages of the file's own");
	std::free(message);
	if (read) {
		sort_events(events);
		check_months(events, page);
	}
	return 0;
}
