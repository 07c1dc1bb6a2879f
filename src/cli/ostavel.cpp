#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include "calendar/calendar.h"
#include "calendar/calendars.h"
#include "calendar/clock.h"
#include "classic/calendar_page.h"
#include "events/events.h"
#include "holidays/holidays.h"
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

// The page the arguments ask for, in the page's calendar.
struct page_request {
	int year = 0;   // as the calendar counts it for a START; 0 for none
	int month = -1; // the month's place in its year, 0-based, or -1 for a START without one
	int month_count = 0; // 0: a whole year of the calendar
	calendar_month first{};
	char default_path[32] = {};             // "year" + up to 11 characters of year + "-MM.htm"
	const char *output_path = default_path; // filled in once the year is known
};

// The one output buffer, allocated statically; main names its file.
page_file file_output;

long long today_of(const std::tm &today)
{
	return days_from_civil(today.tm_year + 1900LL, today.tm_mon, today.tm_mday);
}

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

// START: a year, then nothing or "-" and a month of one or two digits, 1 to 13; a Gregorian
// year of exactly four digits, 1701 to 2500, another calendar's year of one to four, whose
// first day is within those years. month is 0-based, or -1 when none is given.
bool parse_start(const char *arg, calendar_type calendar, int &year, int &month)
{
	const char *end = read_digits(arg, year);
	bool gregorian = calendar == calendar_type::gregory;
	if (gregorian ? end - arg != 4 || year < first_year || year > last_year
	              : end == arg || end - arg > 4 || !start_year_in_range(calendar, year))
		return false;
	month = -1;
	if (*end == '\0')
		return true;
	if (*end != '-')
		return false;
	const char *digits = end + 1;
	end = read_digits(digits, month);
	calendar_month first{};
	bool valid = end - digits >= 1 && end - digits <= 2 && *end == '\0' && month >= 1 &&
	             month_of_year(calendar, year, month - 1, first);
	--month;
	return valid;
}

// Refuses a START the calendar has no such year or month for.
bool refuse_start(calendar_type calendar, const char *arg, diagnostics &messages)
{
	if (calendar == calendar_type::gregory)
		return refuse(messages,
		              "Start must be a year from 1701 to 2500, or YEAR-MONTH: ", arg);
	int first = 1;
	while (first < 9999 && !start_year_in_range(calendar, first))
		++first;
	int last = first;
	while (last < 9999 && start_year_in_range(calendar, last + 1))
		++last;
	char fault[96];
	(void)std::snprintf(fault, sizeof fault,
	                    "Start must be a year from %d to %d of the %.*s calendar, or "
	                    "YEAR-MONTH: ",
	                    first, last, static_cast<int>(calendar_name(calendar).size()),
	                    calendar_name(calendar).data());
	return refuse(messages, fault, arg);
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
	calendar_type calendar = chosen.layout.calendar;
	if (argc > 1 && !parse_start(argv[1], calendar, page.year, page.month))
		return refuse_start(calendar, argv[1], messages);
	if (argc > 2 && !parse_month_count(argv[2], page.month_count))
		return refuse(messages, "Months must be 1 to 120: ", argv[2]);
	if (argc > 3)
		page.output_path = argv[3];
	else if (chosen.output_path != nullptr)
		page.output_path = chosen.output_path;
	return true;
}

// Today, and from it the year that the arguments leave to it; the page's first month and its
// count of months, and the file's name; refused when the clock gives no date.
bool read_date(const options &chosen, page_request &page, std::tm &today, diagnostics &messages)
{
	if (!read_today(today))
		return refuse(messages, "Cannot read the current date", "");
	calendar_type calendar = chosen.layout.calendar;
	if (page.year == 0) {
		calendar_month now{};
		(void)month_of_day(calendar, today_of(today), now);
		page.year = now.start_year;
	}
	(void)month_of_year(calendar, page.year, std::max(page.month, 0), page.first);
	if (page.month_count == 0)
		page.month_count = calendar == calendar_type::gregory ? default_month_count
		                                                      : page.first.months_in_year;
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

// The calendar that a tag's Unicode extension names, "-u-ca-islamic-civil"; "" for none.
std::string_view calendar_of_tag(std::string_view tag)
{
	std::size_t at = tag.find("-u-");
	for (at = at == std::string_view::npos ? tag.size() : at + 2; at < tag.size();) {
		std::size_t end = std::min(tag.find('-', at + 1), tag.size());
		std::string_view key = tag.substr(at + 1, end - at - 1);
		at = end;
		if (key.size() < 2)
			return ""; // another extension
		if (key != "ca")
			continue;
		std::size_t value_end = at;
		// The value's subtags, up to the next key of two letters.
		while (value_end < tag.size()) {
			std::size_t next = std::min(tag.find('-', value_end + 1), tag.size());
			if (next - value_end - 1 < 3)
				break;
			value_end = next;
		}
		return at < value_end ? tag.substr(at + 1, value_end - at - 1) : "";
	}
	return "";
}

// The page's calendar and the second one that the options and the language name; refused
// when one is none.
bool read_calendars(options &chosen, diagnostics &messages)
{
	modern_layout &layout = chosen.layout;
	std::string_view name = chosen.calendar_name != nullptr ? chosen.calendar_name
	                        : chosen.language != nullptr ? calendar_of_tag(layout.locale.lang())
	                                                     : "";
	if (!name.empty() && !find_calendar(name, layout.calendar))
		return refuse(messages, "Calendar not available: ", name);
	if (name.empty() && chosen.language != nullptr)
		layout.calendar = calendar_at(layout.locale.record->calendar);
	layout.second_calendar = chosen.second_calendar_name != nullptr;
	if (layout.second_calendar && !find_calendar(chosen.second_calendar_name, layout.second))
		return refuse(messages, "Calendar not available: ", chosen.second_calendar_name);
	return true;
}

// The layout, the language and the calendars the options ask for, read into the layout;
// refused when there is none.
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
	// Weeks as the language counts them; ISO 8601's with -m, and, as ever, without a language.
	const locale_record *counted = chosen.language != nullptr ? layout.locale.record : nullptr;
	layout.first_weekday = chosen.first_weekday >= 0 ? chosen.first_weekday
	                       : counted != nullptr      ? counted->first_weekday
	                       : layout.week_numbers     ? 1
	                                                 : 0;
	bool iso_weeks = counted == nullptr || chosen.first_weekday == 1;
	layout.week_start = iso_weeks ? 1 : layout.first_weekday;
	layout.week_minimal_days = iso_weeks ? 4 : counted->minimal_days;
	return read_calendars(chosen, messages);
}

// Refuses a region of --holidays that the table does not know.
bool check_holiday_regions(const options &chosen, diagnostics &messages)
{
	auto unknown =
		std::find_if(chosen.holiday_regions.begin(), chosen.holiday_regions.end(),
	                     [](const char *code) { return find_holiday_region(code) == nullptr; });
	if (unknown == chosen.holiday_regions.end())
		return true;
	refuse(messages, "Holidays not known: ", *unknown);
	(void)std::fputs("Try 'ostavel --list-holidays'.\n", messages.to);
	return false;
}

// The public holidays of the regions the options name, each region a source of its own, its
// days off; a warning where the page reaches past the years the data knows.
void add_holiday_sources(const options &chosen, const day_range &range, event_list &events,
                         diagnostics &messages)
{
	std::vector<holiday> holidays;
	for (const char *code : chosen.holiday_regions) {
		const holiday_region &region = *find_holiday_region(code);
		std::string name(holiday_text_at(region.name));
		add_source(events,
		           name.append(" (").append(holiday_text_at(region.code)).append(")"),
		           true);
		holidays.clear();
		add_holidays(region, range.first, range.last, chosen.layout.locale.lang(),
		             holidays);
		for (const holiday &h : holidays)
			events.occurrences.push_back(
				{h.first_day, h.last_day, -1, add_html_event(events, h.name)});
		if (range.first < days_from_civil(holiday_first_year, 0, 1) ||
		    range.last > days_from_civil(holiday_last_year, 11, 31)) {
			char years[80];
			(void)std::snprintf(years, sizeof years,
			                    "public holidays known for %d to %d only",
			                    holiday_first_year, holiday_last_year);
			warn(messages, holiday_text_at(region.code).data(), 0, years);
		}
	}
	end_warnings(messages);
}

// The events of the files the options name, those of calendar files within the page's months,
// read into events and set in the layout; refused when a file cannot be read or is wrong.
bool read_event_files(options &chosen, const page_request &page, event_list &events,
                      diagnostics &messages)
{
	calendar_month last = last_month(chosen.layout.calendar, {page.first, page.month_count});
	day_range range{page.first.first_day, last.first_day + last.length - 1};
	// Each file's first fault ends the run: no algorithm says it more plainly.
	for (const char *path : chosen.event_files)
		// cppcheck-suppress useStlAlgorithm
		if (!read_events(path, range, events, messages))
			return false;
	add_holiday_sources(chosen, range, events, messages);
	sort_events(events);
	if (!events.sources.empty())
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
		write_modern_page(file_output.out, {page.first, page.month_count}, today_of(today),
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

	// The language, the arguments, the clock, every file and the output's name are checked,
	// in that order, before the file is touched.
	std::tm today{};
	page_request page;
	event_list events;
	bool ready = read_language(chosen, messages) && check_holiday_regions(chosen, messages) &&
	             read_arguments(argc, argv, chosen, page, messages) &&
	             read_date(chosen, page, today, messages) &&
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
