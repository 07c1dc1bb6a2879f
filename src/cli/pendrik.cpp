#include <climits>
#include <cstdio>
#include <cstdlib>

#include "calendar/clock.h"
#include "classic/calendar_page.h"
#include "output/diagnostics.h"
#include "output/page_file.h"

namespace {

constexpr int default_month_count = 36;
constexpr int min_month_count = 12;

// The one output buffer, allocated statically; main names its file.
page_file file_output;

// Reads a decimal count as atoi does (white space, one sign, digits, anything after ignored),
// but saturates at the limits of int instead of overflowing. Too small a count, or none, is 12.
int parse_month_count(const char *arg)
{
	long value = std::strtol(arg, nullptr, 10); // saturates at LONG_MIN ... LONG_MAX
	if (value > INT_MAX)
		return INT_MAX;
	return value < min_month_count ? min_month_count : static_cast<int>(value);
}

} // namespace

int main(int argc, char **argv)
{
	int month_count = argc > 1 ? parse_month_count(argv[1]) : default_month_count;

	char default_path[32]; // "calendar" + up to 10 digits + ".htm"
	const char *output_path = default_path;
	if (argc > 2)
		output_path = argv[2];
	else
		(void)std::snprintf(default_path, sizeof default_path, "calendar%d.htm",
		                    month_count);

	// The clock first: a page written in place is never emptied for a date it cannot have.
	diagnostics messages{stdout};
	std::tm today{};
	if (!read_today(today)) {
		refuse(messages, "Cannot read the current date", "");
		return 1;
	}
	if (!open_page_file(file_output, output_path, messages))
		return 1;
	write_calendar_page(file_output.out, month_count, today);
	return close_page_file(file_output, messages) ? 0 : 1;
}
