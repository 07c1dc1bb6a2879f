#ifndef PENDRIK_OPTIONS_H
#define PENDRIK_OPTIONS_H

#include <string_view>
#include <vector>

#include "modern/modern_table.h"
#include "output/diagnostics.h"

// What ostavel's options ask for.
struct options {
	bool modern = false;
	modern_layout layout;
	int first_weekday = -1;         // the week's first day, or -1 for the language's
	const char *language = nullptr; // a locale, or none for English
	std::vector<const char *> event_files;
	std::vector<const char *> holiday_regions;  // --holidays, each a country or subdivision
	const char *output_path = nullptr;          // -o, in place of PATH
	const char *layout_name = nullptr;          // --layout, read with the language
	const char *calendar_name = nullptr;        // --calendar, over the language's -u-ca-
	const char *second_calendar_name = nullptr; // --second-calendar
};

// Refuses with before and subject, then the usage hint: false.
bool refuse_with_hint(diagnostics &messages, std::string_view before, std::string_view subject);

// Reads the options, wherever they stand among the arguments, into chosen and returns the
// index of START, the arguments having been moved behind the options; or, when the run ends
// with them (usage, version, a list, a wrong option), returns 0 with its exit status in status.
int read_options(int argc, char **argv, options &chosen, diagnostics &messages, int &status);

#endif
