#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string_view>
#include <vector>

#include <getopt.h>

#include "calendar.h"
#include "calendar_page.h"
#include "events.h"
#include "locale_data.h"
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
	"Options, anywhere among the arguments (-- ends them; short ones may be joined, -mw):\n"
	"  --modern            the modern page: HTML5 for any screen, print and dark mode\n"
	"  -m, --monday        weeks from Monday to Sunday; implies --modern\n"
	"  -s, --sunday        weeks from Sunday to Saturday; implies --modern\n"
	"  -w, --week-numbers  ISO 8601 week numbers; implies --monday\n"
	"  --lang TAG          the language and conventions of TAG, such as de-DE, sr-Latn-RS\n"
	"                      or de_DE.UTF-8: names, first day of the week, weekend, digits\n"
	"                      and direction, from the Unicode CLDR; implies --modern\n"
	"  --list-languages    print the tags --lang knows, one a line\n"
	"  -e, --events FILE   mark and list the events of FILE, an iCalendar file or lines\n"
	"                      \"YYYY-MM-DD TEXT\" and \"MM-DD TEXT\" (every year); - is standard\n"
	"                      input; may be given again; implies --modern\n"
	"  -h, --help          print this text\n"
	"      --version       print the version\n";

// What the options ask for.
struct options {
	bool modern = false;
	modern_layout layout;
	int first_weekday = -1;         // the week's first day, or -1 for the language's
	const char *language = nullptr; // a locale, or none for English
	std::vector<const char *> event_files;
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

// START and MONTHS where given; when one is wrong, says so on standard error and returns false.
bool parse_arguments(int argc, char **argv, int &year, int &month, int &month_count)
{
	if (argc > 1 && !parse_start(argv[1], year, month)) {
		print_message(stderr,
		              "Start must be a year from 1701 to 2500, or YEAR-MONTH: ", argv[1]);
		return false;
	}
	if (argc > 2 && !parse_month_count(argv[2], month_count)) {
		print_message(stderr, "Months must be 1 to 120: ", argv[2]);
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

// Long options without a short form.
enum : int { modern_option = 256, lang_option, list_option, version_option };

constexpr char short_options[] = "mswe:h";
constexpr option long_options[] = {
	{"modern", no_argument, nullptr, modern_option},
	{"monday", no_argument, nullptr, 'm'},
	{"sunday", no_argument, nullptr, 's'},
	{"week-numbers", no_argument, nullptr, 'w'},
	{"lang", required_argument, nullptr, lang_option},
	{"list-languages", no_argument, nullptr, list_option},
	{"events", required_argument, nullptr, 'e'},
	{"help", no_argument, nullptr, 'h'},
	{"version", no_argument, nullptr, version_option},
	{nullptr, 0, nullptr, 0},
};

// Whether text ("--NAME" or "--NAME=VALUE") is the prefix of more than one long option.
bool is_ambiguous(std::string_view text)
{
	std::string_view name = text.substr(2, text.find('=') - 2);
	int count = 0;
	for (const option *o = long_options; o->name != nullptr; ++o)
		count += std::string_view(o->name).starts_with(name) ? 1 : 0;
	return count > 1;
}

// Says what is wrong with an option, then the usage hint, on standard error; read_options'
// result for it.
int refuse(std::string_view fault, std::string_view option, int &status)
{
	print_message(stderr, fault, option);
	(void)std::fputs("Try 'ostavel --help'.\n", stderr);
	status = 1;
	return 0;
}

// Refuses the option getopt_long stopped at. It leaves in optopt the letter of a short option
// unknown or without its value, the value of a long option given a value wrongly or none, and
// 0 for a long option unknown or ambiguous; a long one is read whole, up to argv[optind - 1].
int refuse_option(char **argv, int &status)
{
	std::string_view element = argv[optind - 1];
	if (optopt == 'e' || optopt == lang_option)
		return refuse("Option needs a value: ", element.starts_with("--") ? element : "-e",
		              status);
	if (optopt == 0 || optopt > UCHAR_MAX || std::strchr("mswh", optopt) != nullptr)
		return refuse(is_ambiguous(element) ? "Ambiguous option: " : "Unknown option: ",
		              element, status);
	char letter[8]; // "-x", or "-\xc3" for a byte that is no character of its own
	auto byte = static_cast<unsigned char>(optopt);
	(void)std::snprintf(letter, sizeof letter, byte > ' ' && byte < 0x7f ? "-%c" : "-\\x%02x",
	                    byte);
	return refuse("Unknown option: ", letter, status);
}

// The option that an empty value belongs to, as it was written: "-e", "--lang", "--events=".
std::string_view option_of_value(char **argv, int long_index)
{
	if (optarg != argv[optind - 1])
		return argv[optind - 1]; // "--events=", "--lang="
	return long_index < 0 ? "-e" : argv[optind - 2];
}

// Reads the options, wherever they stand among the arguments, into chosen and returns the
// index of START, the arguments having been moved behind the options; or, when the run ends
// with them (usage, version, a wrong option), returns 0 with its exit status in status.
int read_options(int argc, char **argv, options &chosen, int &status)
{
	opterr = 0; // the messages are ostavel's own
	for (;;) {
		int long_index = -1;
		int letter = getopt_long(argc, argv, short_options, long_options, &long_index);
		if (letter == -1)
			return optind;
		if (letter == '?')
			return refuse_option(argv, status);
		if (optarg != nullptr && *optarg == '\0')
			return refuse("Option needs a value: ", option_of_value(argv, long_index),
			              status);
		switch (letter) {
		case 'h':
			status = print(usage);
			return 0;
		case version_option:
			(void)std::printf("ostavel " PENDRIK_VERSION " (Unicode CLDR %s)\n",
			                  cldr_version);
			status = print("");
			return 0;
		case list_option:
			status = list_locales(stdout) ? 0 : 1;
			return 0;
		case 'w':
			chosen.layout.week_numbers = true;
			[[fallthrough]];
		case 'm':
			chosen.first_weekday = 1;
			break;
		case 's':
			chosen.first_weekday = 0;
			chosen.layout.week_numbers = false;
			break;
		case lang_option:
			chosen.language = optarg;
			break;
		case 'e':
			chosen.event_files.push_back(optarg);
			break;
		}
		chosen.modern = true; // every option but help and version implies it
	}
}

// The language the options ask for, read into the layout; when it cannot be, says so on
// standard error and returns false.
bool read_language(options &chosen)
{
	modern_layout &layout = chosen.layout;
	if (chosen.language != nullptr && !find_locale(chosen.language, layout.locale)) {
		print_message(stderr, "Language not available: ", chosen.language);
		return false;
	}
	layout.first_weekday = chosen.first_weekday >= 0    ? chosen.first_weekday
	                       : chosen.language != nullptr ? layout.locale.record->first_weekday
	                                                    : 0;
	return true;
}

// The events of the files the options name, those of calendar files within range, read into
// events and set in the layout; when they cannot be, says so on standard error and returns
// false.
bool read_event_files(options &chosen, const month_range &range, event_list &events)
{
	// Each file's first fault ends the run: no algorithm says it more plainly.
	for (const char *path : chosen.event_files)
		// cppcheck-suppress useStlAlgorithm
		if (!read_events(path, range, events, stderr))
			return false;
	sort_events(events);
	if (!chosen.event_files.empty())
		chosen.layout.events = &events;
	return true;
}

// Whether the page would go over one of the events files, links and all.
bool is_events_file(const options &chosen, const char *path)
{
	auto is_path = [&](const char *events) { return is_same_file(events, path); };
	return std::strcmp(path, "-") != 0 &&
	       std::any_of(chosen.event_files.begin(), chosen.event_files.end(), is_path);
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

	// Every option, argument, the clock and every file are checked before the file is touched.
	int year = 0;
	int month = -1;
	int month_count = default_month_count;
	if (!parse_arguments(argc, argv, year, month, month_count) || !read_language(chosen))
		return 1;
	std::tm today{};
	if (!read_today(today)) {
		(void)std::fprintf(stderr, "Cannot read the current date\n");
		return 1;
	}
	if (argc < 2)
		year = today.tm_year + 1900;
	event_list events;
	if (!read_event_files(chosen, {year, month < 0 ? 0 : month, month_count}, events))
		return 1;

	char default_path[32]; // "year" + up to 11 characters of year + "-MM.htm"
	const char *output_path = default_path;
	if (argc > 3)
		output_path = argv[3];
	else if (month < 0)
		(void)std::snprintf(default_path, sizeof default_path, "year%04d.htm", year);
	else
		(void)std::snprintf(default_path, sizeof default_path, "year%04d-%02d.htm", year,
		                    month + 1);

	if (is_events_file(chosen, output_path)) {
		print_message(stderr, "Output is an events file: ", output_path);
		return 1;
	}
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
		write_modern_page(file_output.out, first, month_count, today, chosen.layout);
	else
		write_year_calendar_page(file_output.out, first, month_count, today);
	return close_page_file(file_output, stderr) ? 0 : 1;
}
