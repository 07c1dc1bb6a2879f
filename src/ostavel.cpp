#include <cstdio>
#include <cstring>
#include <ctime>
#include <string_view>
#include <vector>

#include "calendar.h"
#include "calendar_page.h"
#include "events.h"
#include "locale_names.h"
#include "modern_page.h"
#include "output.h"
#include "page_file.h"

namespace {

constexpr int first_year = 1701;
constexpr int last_year = 2500;
constexpr int default_month_count = 12;
constexpr int max_month_count = 120;

constexpr char usage[] =
	"usage: ostavel [OPTION...] [START [MONTHS [PATH]]]\n"
	"Writes MONTHS month tables from the 1st of START on as one HTML page.\n"
	"  START   YYYY or YYYY-MM: a year from 1701 to 2500, then a month 1 to 12;\n"
	"          January of the current year when absent\n"
	"  MONTHS  1 to 120; 12 when absent\n"
	"  PATH    the output file, - for standard output; yearYYYY.htm when absent,\n"
	"          or yearYYYY-MM.htm for a START with a month\n"
	"Options, before START (-- ends them):\n"
	"  --modern            the modern page: HTML5 for any screen, print and dark mode\n"
	"  -m, --monday        weeks from Monday to Sunday; implies --modern\n"
	"  -w, --week-numbers  ISO 8601 week numbers; implies --monday\n"
	"  --lang LOCALE       month and weekday names in the language of LOCALE, such as\n"
	"                      de-DE, from the system's locales; implies --modern\n"
	"  -e, --events FILE   mark and list the days of FILE's lines, \"YYYY-MM-DD TEXT\" or\n"
	"                      \"MM-DD TEXT\" (every year); may be given again; implies --modern\n"
	"  -h, --help          print this text\n"
	"      --version       print the version\n";

// What the options ask for.
struct options {
	bool modern = false;
	modern_layout layout;
	const char *language = nullptr; // a locale, or none for English
	std::vector<const char *> event_files;
};

// The one output buffer, allocated statically; main names its file.
out_stream file_output;

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

// START and MONTHS where given; when one is wrong, says so on standard error and returns false.
bool parse_arguments(int argc, char **argv, int &year, int &month, int &month_count)
{
	if (argc > 1 && !parse_start(argv[1], year, month)) {
		(void)std::fprintf(stderr,
		                   "Start must be a year from 1701 to 2500, or YEAR-MONTH: %s\n",
		                   argv[1]);
		return false;
	}
	if (argc > 2 && !parse_month_count(argv[2], month_count)) {
		(void)std::fprintf(stderr, "Months must be 1 to 120: %s\n", argv[2]);
		return false;
	}
	return true;
}

// Prints text on standard output and tells the exit status by whether it got there.
int print(const char *text)
{
	(void)std::fputs(text, stdout);
	return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}

// Whether argv[i] is the option name with its value, as "NAME VALUE" (i moves on to the value)
// or, for a long name, "NAME=VALUE"; value is null when it is missing or empty.
bool has_value(std::string_view name, int argc, char **argv, int &i, const char *&value)
{
	std::string_view option = argv[i];
	if (option == name)
		value = i + 1 < argc ? argv[++i] : nullptr;
	else if (name.starts_with("--") && option.starts_with(name) && option[name.size()] == '=')
		value = argv[i] + name.size() + 1;
	else
		return false;
	if (value != nullptr && *value == '\0')
		value = nullptr;
	return true;
}

// Says what is wrong with option on standard error; read_options' result for it.
int refuse(const char *fault, std::string_view option, int &status)
{
	(void)std::fprintf(stderr, "%s: %.*s\n", fault, static_cast<int>(option.size()),
	                   option.data());
	status = 1;
	return 0;
}

// Reads the options before START into chosen and returns the index of START; or, when the run
// ends with them (usage, version, a wrong option), returns 0 with its exit status in status.
int read_options(int argc, char **argv, options &chosen, int &status)
{
	int i = 1;
	for (; i < argc && argv[i][0] == '-' && argv[i][1] != '\0'; ++i) {
		std::string_view option = argv[i];
		const char *value = nullptr;
		if (option == "--")
			return i + 1;
		if (option == "-h" || option == "--help" || option == "--version") {
			status = print(option == "--version" ? "ostavel " PENDRIK_VERSION "\n"
			                                     : usage);
			return 0;
		}
		if (option == "--modern") {
			chosen.modern = true;
		} else if (option == "-m" || option == "--monday") {
			chosen.modern = chosen.layout.monday = true;
		} else if (option == "-w" || option == "--week-numbers") {
			chosen.modern = chosen.layout.monday = chosen.layout.week_numbers = true;
		} else if (has_value("--lang", argc, argv, i, value)) {
			if (value == nullptr)
				return refuse("Option needs a value", option, status);
			chosen.modern = true;
			chosen.language = value;
		} else if (has_value("-e", argc, argv, i, value) ||
		           has_value("--events", argc, argv, i, value)) {
			if (value == nullptr)
				return refuse("Option needs a value", option, status);
			chosen.modern = true;
			chosen.event_files.push_back(value);
		} else {
			return refuse("Unknown option", option, status);
		}
	}
	return i;
}

// The names the options ask for, read before the file is touched; when they cannot be, says
// so on standard error and returns false.
bool read_names(const options &chosen, calendar_names &names)
{
	if (chosen.language == nullptr)
		return true;
	switch (read_locale_names(chosen.language, names)) {
	case names_read::ok:
		return true;
	case names_read::not_available:
		(void)std::fprintf(stderr, "Language not available: %s\n", chosen.language);
		return false;
	case names_read::too_long:
		(void)std::fprintf(stderr, "Name too long in language: %s\n", chosen.language);
		return false;
	}
	return false;
}

// The names and the events the options ask for, read into names and events and set in the
// layout; when they cannot be, says so on standard error and returns false.
bool read_page_data(options &chosen, calendar_names &names, event_list &events)
{
	if (!read_names(chosen, names))
		return false;
	// Each file's first fault ends the run: no algorithm says it more plainly.
	for (const char *path : chosen.event_files)
		// cppcheck-suppress useStlAlgorithm
		if (!read_events(path, events, stderr))
			return false;
	sort_events(events);
	if (chosen.language != nullptr)
		chosen.layout.names = &names;
	if (!chosen.event_files.empty())
		chosen.layout.events = &events;
	return true;
}

} // namespace

int main(int argc, char **argv)
{
	options chosen;
	int status = 0;
	int start = read_options(argc, argv, chosen, status);
	if (start == 0)
		return status;
	argc -= start - 1; // from here on argv[1] is START
	argv += start - 1;

	// Every option, argument, file and the clock are checked before the file is touched.
	int year = 0;
	int month = -1;
	int month_count = default_month_count;
	calendar_names names;
	event_list events;
	if (!parse_arguments(argc, argv, year, month, month_count) ||
	    !read_page_data(chosen, names, events))
		return 1;
	std::tm today{};
	if (!read_today(today)) {
		(void)std::fprintf(stderr, "Cannot read the current date\n");
		return 1;
	}
	if (argc < 2)
		year = today.tm_year + 1900;

	char default_path[32]; // "year" + up to 11 characters of year + "-MM.htm"
	const char *output_path = default_path;
	if (argc > 3)
		output_path = argv[3];
	else if (month < 0)
		(void)std::snprintf(default_path, sizeof default_path, "year%04d.htm", year);
	else
		(void)std::snprintf(default_path, sizeof default_path, "year%04d-%02d.htm", year,
		                    month + 1);

	if (std::strcmp(output_path, "-") == 0)
		open_page_stdout(file_output);
	else if (!open_page_file(file_output, output_path, stderr))
		return 1;

	std::tm first{};
	first.tm_year = year - 1900;
	first.tm_mon = month < 0 ? 0 : month;
	first.tm_mday = 1;
	first.tm_wday = weekday_of_first(year, first.tm_mon);
	if (chosen.modern)
		write_modern_page(file_output, first, month_count, today, chosen.layout);
	else
		write_year_calendar_page(file_output, first, month_count, today);
	return close_page_file(file_output, output_path, stderr) ? 0 : 1;
}
