#include "options.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <string_view>

#include <getopt.h>

#include "calendar/calendars.h"
#include "holidays/holidays.h"
#include "locale/locale_data.h"
#include "locale/locale_names.h"

namespace {

constexpr char usage[] =
	"usage: ostavel [OPTION...] [START [MONTHS [PATH]]]\n"
	"Writes MONTHS month tables from the 1st of START on as one HTML page.\n"
	"  START   YYYY or YYYY-MM: a year from 1701 to 2500, then a month 1 to 12; a year\n"
	"          of the page's calendar on a page in another (1406 of the Persian);\n"
	"          the current year when absent\n"
	"  MONTHS  1 to 120; a whole year of the page's calendar when absent\n"
	"  PATH    the output file, - for standard output; yearYYYY.htm when absent,\n"
	"          or yearYYYY-MM.htm for a START with a month\n"
	"Options, anywhere among the arguments (-- ends them; short ones may be joined, -mw):\n"
	"  --modern              the modern page: HTML5 for any screen, print and dark mode\n"
	"  -m, --monday          weeks from Monday to Sunday, ISO 8601's; implies --modern\n"
	"  -s, --sunday          weeks from Sunday to Saturday; implies --modern\n"
	"  -w, --week-numbers    week numbers as the language counts them, ISO 8601's with\n"
	"                        --monday or without --lang (then from Monday); implies --modern\n"
	"  --lang TAG            the language and conventions of TAG, such as de-DE, sr-Latn-RS,\n"
	"                        fa-IR-u-ca-gregory or de_DE.UTF-8: names, calendar, first day\n"
	"                        of the week, weekend, digits and direction, from the Unicode\n"
	"                        CLDR; implies --modern\n"
	"  --list-languages      print the tags --lang knows, one a line\n"
	"  --calendar TYPE       the page's months in calendar TYPE, such as persian, hebrew,\n"
	"                        chinese or gregory; implies --modern\n"
	"  --second-calendar TYPE  each day also in calendar TYPE; implies --modern\n"
	"  --list-calendars      print the calendars --calendar knows, one a line\n"
	"  -e, --events FILE     mark and list the events of FILE, an iCalendar file or lines\n"
	"                        \"YYYY-MM-DD TEXT\" and \"MM-DD TEXT\" (every year);\n"
	"                        - is standard input; may be given again; implies --modern\n"
	"  --holidays REGION     mark and list the public holidays of REGION, such as DE, DE-BY\n"
	"                        or US-CA, as days off; may be given again; implies --modern\n"
	"  --list-holidays       print the regions --holidays knows, \"CODE Name\" a line\n"
	"  --title TEXT          the page's title and heading; implies --modern\n"
	"  --layout KIND         year (the default), month (a month a landscape sheet) or\n"
	"                        poster (a year on one landscape sheet); implies --modern\n"
	"  -o, --output PATH     the output file, as PATH after START and MONTHS\n"
	"  -h, --help            print this text\n"
	"      --version         print the version\n";

// Prints text on standard output and tells the exit status by whether it got there.
int print(const char *text)
{
	(void)std::fputs(text, stdout);
	return std::fflush(stdout) == 0 && !std::ferror(stdout) ? 0 : 1;
}

// Long options without a short form.
enum : int {
	modern_option = 256,
	lang_option,
	list_option,
	version_option,
	title_option,
	layout_option,
	calendar_option,
	second_calendar_option,
	list_calendars_option,
	holidays_option,
	list_holidays_option,
};

// The leading colon: getopt_long answers ':' for an option without its value.
constexpr char short_options[] = ":mswe:o:h";
constexpr option long_options[] = {
	{"modern", no_argument, nullptr, modern_option},
	{"monday", no_argument, nullptr, 'm'},
	{"sunday", no_argument, nullptr, 's'},
	{"week-numbers", no_argument, nullptr, 'w'},
	{"lang", required_argument, nullptr, lang_option},
	{"list-languages", no_argument, nullptr, list_option},
	{"events", required_argument, nullptr, 'e'},
	{"output", required_argument, nullptr, 'o'},
	{"title", required_argument, nullptr, title_option},
	{"layout", required_argument, nullptr, layout_option},
	{"calendar", required_argument, nullptr, calendar_option},
	{"second-calendar", required_argument, nullptr, second_calendar_option},
	{"list-calendars", no_argument, nullptr, list_calendars_option},
	{"holidays", required_argument, nullptr, holidays_option},
	{"list-holidays", no_argument, nullptr, list_holidays_option},
	{"help", no_argument, nullptr, 'h'},
	{"version", no_argument, nullptr, version_option},
	{nullptr, 0, nullptr, 0},
};

// Whether text ("--NAME" or "--NAME=VALUE") is the prefix of more than one long option:
// getopt_long answers an unknown and an ambiguous one alike.
bool is_ambiguous(std::string_view text)
{
	std::string_view name = text.substr(2, text.find('=') - 2);
	int count = 0;
	for (const option *o = long_options; o->name != nullptr; ++o)
		count += std::string_view(o->name).starts_with(name) ? 1 : 0;
	return count > 1;
}

// The short form of an option that takes a value, as it was written.
std::string_view short_name(int letter)
{
	return letter == 'o' ? "-o" : "-e";
}

bool takes_value(int letter)
{
	for (const option *o = long_options; o->name != nullptr; ++o)
		if (o->val == letter)
			return o->has_arg == required_argument;
	return false;
}

// Refuses with fault and the option, then the usage hint: read_options' result for it.
int refuse_option(diagnostics &messages, std::string_view fault, std::string_view option,
                  int &status)
{
	refuse_with_hint(messages, fault, option);
	status = 1;
	return 0;
}

// Refuses the option getopt_long stopped at, with ':' for one without its value (some
// getopt_long say ':' also for a value given to an option that takes none). It leaves in
// optopt the option's letter, 0 for a long option unknown or ambiguous; a long one is
// argv[optind - 1] whole.
int refuse_wrong(diagnostics &messages, char **argv, int answer, int &status)
{
	std::string_view element = argv[optind - 1];
	bool is_long = element.starts_with("--");
	if (answer == ':' && takes_value(optopt))
		return refuse_option(messages, "Option needs a value: ",
		                     is_long ? element : short_name(optopt), status);
	if (is_long)
		return refuse_option(
			messages,
			is_ambiguous(element) ? "Ambiguous option: " : "Unknown option: ", element,
			status);
	char letter[8]; // "-x", or "-\xc3" for a byte that is no character of its own
	auto byte = static_cast<unsigned char>(optopt);
	(void)std::snprintf(letter, sizeof letter, byte > ' ' && byte < 0x7f ? "-%c" : "-\\x%02x",
	                    byte);
	return refuse_option(messages, "Unknown option: ", letter, status);
}

// The option that an empty value belongs to, as it was written: "-e", "--lang", "--events=".
std::string_view option_of_value(char **argv, int long_index, int letter)
{
	if (optarg != argv[optind - 1])
		return argv[optind - 1]; // "--events=", "--lang="
	return long_index >= 0 ? argv[optind - 2] : short_name(letter);
}

// Prints the calendars' names, one a line; the exit status.
int list_calendars()
{
	for (int k = 0; k < calendar_count; ++k) {
		std::string_view name = calendar_name(calendar_at(k));
		(void)std::fwrite(name.data(), 1, name.size(), stdout);
		(void)std::fputc('\n', stdout);
	}
	return print("");
}

// Ends the run with what an option prints: the usage, the version, a list. Its status is
// whether the text got to standard output.
int print_and_end(int letter, int &status)
{
	if (letter == 'h')
		status = print(usage);
	else if (letter == list_option)
		status = list_locales(stdout) ? 0 : 1;
	else if (letter == list_calendars_option)
		status = list_calendars();
	else if (letter == list_holidays_option)
		status = list_holiday_regions(stdout) ? 0 : 1;
	else if (std::printf("ostavel " PENDRIK_VERSION " (Unicode CLDR %s)\n", cldr_version) < 0)
		status = 1;
	else
		status = print("");
	return 0;
}

// Takes an option that sets what the page is to be.
void take_option(int letter, options &chosen)
{
	switch (letter) {
	case 'w':
		chosen.layout.week_numbers = true;
		break;
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
	case 'o':
		chosen.output_path = optarg;
		return; // the page's name, not its kind
	case title_option:
		chosen.layout.title = optarg;
		break;
	case layout_option:
		chosen.layout_name = optarg;
		break;
	case calendar_option:
		chosen.calendar_name = optarg;
		break;
	case second_calendar_option:
		chosen.second_calendar_name = optarg;
		break;
	case holidays_option:
		chosen.holiday_regions.push_back(optarg);
		break;
	default:
		break;
	}
	chosen.modern = true; // every option but help and version implies it
}

} // namespace

bool refuse_with_hint(diagnostics &messages, std::string_view before, std::string_view subject)
{
	refuse(messages, before, subject);
	(void)std::fputs("Try 'ostavel --help'.\n", messages.to);
	return false;
}

int read_options(int argc, char **argv, options &chosen, diagnostics &messages, int &status)
{
	opterr = 0; // the messages are ostavel's own
	for (;;) {
		int long_index = -1;
		int letter = getopt_long(argc, argv, short_options, long_options, &long_index);
		if (letter == -1)
			return optind;
		if (letter == '?' || letter == ':')
			return refuse_wrong(messages, argv, letter, status);
		if (optarg != nullptr && *optarg == '\0')
			return refuse_option(messages, "Option needs a value: ",
			                     option_of_value(argv, long_index, letter), status);
		if (letter == 'h' || letter == version_option || letter == list_option ||
		    letter == list_calendars_option || letter == list_holidays_option)
			return print_and_end(letter, status);
		take_option(letter, chosen);
	}
}
