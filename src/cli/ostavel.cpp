#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string_view>

#include "calendar/calendar.h"
#include "calendar/clock.h"
#include "classic/calendar_page.h"
#include "events/events.h"
#include "locale/locale_names.h"
#include "modern/modern_page.h"
#include "options.h"
#include "output/diagnostics.h"
#include "output/page_file.h"

namespace {

constexpr int first_year = 1701;
constexpr int last_year = 2500;
constexpr int default_month_count = 12;
constexpr int max_month_count = 120;

// The page the arguments ask for.
struct page_request {
	int year = 0;
	int month = -1; // 0 = January ... 11, or -1 for a START without one
	int month_count = default_month_count;
	char default_path[32] = {};             // "year" + up to 11 characters of year + "-MM.htm"
	const char *output_path = default_path; // filled in once the year is known
};

// The one output buffer, allocated statically; main names its file.
page_file file_output;

// Reads the decimal digits at text into value, which stops growing past a million so that
// it cannot overflow; returns the first character after them.
const char *read_digits(const char *text, int &value)
{
	value = 0;
	for (; *text >= '0' && *text <= '9'; ++text)
		if (value < 1000000)
			value = value * 10 + (*text - '0');
	return text;
}

// START: exactly four digits, a year in range, then nothing or "-" and a month of one or
// two digits, 1 to 12. month is 0 = January ... 11 = December, or -1 when none is given.
bool parse_start(const char *arg, int &year, int &month)
{
	const char *end = read_digits(arg, year);
	if (end - arg != 4 || year < first_year || year > last_year)
		return false;
	month = -1;
	if (*end == '\0')
		return true;
	if (*end != '-')
		return false;
	const char *digits = end + 1;
	end = read_digits(digits, month);
	bool valid =
		end - digits >= 1 && end - digits <= 2 && *end == '\0' && month >= 1 && month <= 12;
	--month;
	return valid;
}

bool parse_month_count(const char *arg, int &month_count)
{
	const char *end = read_digits(arg, month_count);
	return end != arg && *end == '\0' && month_count >= 1 && month_count <= max_month_count;
}

// START, MONTHS and PATH where given (argv[1] ... argv[3]); refuses a wrong one.
bool read_arguments(int argc, char **argv, const options &chosen, page_request &page,
                    diagnostics &messages)
{
	int last = chosen.output_path != nullptr ? 2 : 3; // -o names the page in PATH's place
	if (argc > last + 1)
		return refuse_with_hint(messages, "Unexpected argument: ", argv[last + 1]);
	auto is_stdin = [](const char *path) { return std::strcmp(path, "-") == 0; };
	if (std::count_if(chosen.event_files.begin(), chosen.event_files.end(), is_stdin) > 1)
		return refuse_with_hint(messages, "Standard input given twice: ", "-e -");

	if (argc > 1 && !parse_start(argv[1], page.year, page.month))
		return refuse(messages,
		              "Start must be a year from 1701 to 2500, or YEAR-MONTH: ", argv[1]);
	if (argc > 2 && !parse_month_count(argv[2], page.month_count))
		return refuse(messages, "Months must be 1 to 120: ", argv[2]);
	if (argc > 3)
		page.output_path = argv[3];
	else if (chosen.output_path != nullptr)
		page.output_path = chosen.output_path;
	return true;
}

// Today, and the year and the file's name that the arguments leave to it; refused when the
// clock gives no date.
bool read_date(page_request &page, std::tm &today, diagnostics &messages)
{
	if (!read_today(today))
		return refuse(messages, "Cannot read the current date", "");
	if (page.year == 0)
		page.year = today.tm_year + 1900;
	if (page.output_path != page.default_path)
		return true;
	if (page.month < 0)
		(void)std::snprintf(page.default_path, sizeof page.default_path, "year%04d.htm",
		                    page.year);
	else
		(void)std::snprintf(page.default_path, sizeof page.default_path,
		                    "year%04d-%02d.htm", page.year, page.month + 1);
	return true;
}

// The layout and the language the options ask for, read into the layout; refused when there is
// none.
bool read_language(options &chosen, diagnostics &messages)
{
	modern_layout &layout = chosen.layout;
	std::string_view kind = chosen.layout_name != nullptr ? chosen.layout_name : "year";
	if (kind == "month")
		layout.kind = page_kind::month;
	else if (kind == "poster")
		layout.kind = page_kind::poster;
	else if (kind != "year")
		return refuse(messages, "Layout must be year, month or poster: ", kind);
	if (chosen.language != nullptr && !find_locale(chosen.language, layout.locale))
		return refuse(messages, "Language not available: ", chosen.language);
	layout.first_weekday = chosen.first_weekday >= 0    ? chosen.first_weekday
	                       : chosen.language != nullptr ? layout.locale.record->first_weekday
	                                                    : 0;
	return true;
}

// The events of the files the options name, those of calendar files within the page's months,
// read into events and set in the layout; refused when a file cannot be read or is wrong.
bool read_event_files(options &chosen, const page_request &page, event_list &events,
                      diagnostics &messages)
{
	int first_month = page.month < 0 ? 0 : page.month;
	int last_month = first_month + page.month_count - 1;
	int end_year = page.year + last_month / 12;
	day_range range{days_from_civil(page.year, first_month, 1),
	                days_from_civil(end_year, last_month % 12,
	                                month_length(end_year, last_month % 12))};
	// Each file's first fault ends the run: no algorithm says it more plainly.
	for (const char *path : chosen.event_files)
		// cppcheck-suppress useStlAlgorithm
		if (!read_events(path, range, events, messages))
			return false;
	sort_events(events);
	if (!chosen.event_files.empty())
		chosen.layout.events = &events;
	return true;
}

// Refuses an output that is one of the events files, links and all.
bool check_output(const options &chosen, const char *path, diagnostics &messages)
{
	auto is_path = [&](const char *events) { return is_same_file(events, path); };
	bool is_events_file =
		std::strcmp(path, "-") != 0 &&
		std::any_of(chosen.event_files.begin(), chosen.event_files.end(), is_path);
	return !is_events_file || refuse(messages, "Output is an events file: ", path);
}

void write_page(const options &chosen, const page_request &page, const std::tm &today)
{
	int month = page.month < 0 ? 0 : page.month;
	if (chosen.modern) {
		long long today_day =
			days_from_civil(today.tm_year + 1900LL, today.tm_mon, today.tm_mday);
		write_modern_page(file_output.out, {page.year, month, page.month_count}, today_day,
		                  chosen.layout);
		return;
	}
	std::tm first{};
	first.tm_year = page.year - 1900;
	first.tm_mon = month;
	first.tm_mday = 1;
	first.tm_wday = weekday_of_first(page.year, month);
	write_year_calendar_page(file_output.out, first, page.month_count, today);
}

} // namespace

int main(int argc, char **argv)
{
	diagnostics messages{stderr, true};
	options chosen;
	int status = 0;
	int start = read_options(argc, argv, chosen, messages, status);
	if (start == 0)
		return status;
	argc -= start - 1; // from here on argv[1] is START
	argv += start - 1;

	// The arguments, the language, the clock, every file and the output's name are checked,
	// in that order, before the file is touched.
	std::tm today{};
	page_request page;
	event_list events;
	bool ready = read_arguments(argc, argv, chosen, page, messages) &&
	             read_language(chosen, messages) && read_date(page, today, messages) &&
	             read_event_files(chosen, page, events, messages) &&
	             check_output(chosen, page.output_path, messages);
	if (!ready)
		return 1;
	if (std::strcmp(page.output_path, "-") == 0)
		open_page_stdout(file_output);
	else if (!open_page_file(file_output, page.output_path, messages))
		return 1;
	write_page(chosen, page, today);
	return close_page_file(file_output, messages) ? 0 : 1;
}
