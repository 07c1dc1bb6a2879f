#ifndef PENDRIK_CALENDAR_LINES_H
#define PENDRIK_CALENDAR_LINES_H

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "event_list.h"

// The lines of an iCalendar file as they are read, before libical sees them: unfolded,
// numbered, and judged by their names and values alone.

// The most of one unfolded line that is kept: longer lines of the properties the page uses
// are refused, longer ones of others (attachments, descriptions) are passed over unkept.
inline constexpr std::size_t max_kept_line = 4 << 20;

// Reads a file's unfolded lines in chunks, numbering its lines as a text editor does.
struct line_reader {
	std::FILE *file;
	std::vector<char> chunk = std::vector<char>(1 << 16);
	std::size_t at = 0, got = 0;
	std::size_t nul = 0;           // where the chunk's first NUL byte is, got for none
	unsigned long long number = 0; // of the last line begun
};

enum class line_status { line, end, nul_byte };

// The next unfolded line, without its line end, in line (a byte-order mark before the first
// removed), the number of its first line in first; cut when more than max_kept_line bytes of
// it were left out.
line_status next_line(line_reader &reader, std::string &line, unsigned long long &first, bool &cut);

// Whether text is name, both in any case.
bool is_name(std::string_view text, std::string_view name);

// A content line: NAME;PARAMETERS:VALUE.
struct content_line {
	std::string_view name, parameters, value; // parameters with their first ';', or empty
};

// Splits line at the first ':' outside quotes; false when it has none.
bool split_line(std::string_view line, content_line &parts);

// The value of parameter name in parameters (";TZID=...;..."), without quotes; empty for none.
std::string_view parameter(std::string_view parameters, std::string_view name);

// The lines of one component kept to be read: each ends in a NUL, for libical.
struct raw_line {
	unsigned long long number; // where it begins in the file
	std::size_t size;
};
struct raw_component {
	unsigned long long line; // where its BEGIN stands
	std::string text;        // its lines, each ending in '\0'
	std::vector<raw_line> lines;
};

void add_line(raw_component &component, std::string_view line, unsigned long long number);

// Calls take(line, number) for each line of component.
template <typename F>
void for_each_line(const raw_component &component, F take)
{
	std::size_t at = 0;
	for (raw_line line : component.lines) {
		take(std::string_view(component.text.c_str() + at, line.size), line.number);
		at += line.size + 1;
	}
}

// Whether a VEVENT, by its lines, may mark a day of page: one that recurs (an RRULE or RDATE),
// one whose DTSTART to DTEND or DURATION is near the page, or one that replaces an instance
// near it (RECURRENCE-ID). Where its lines cannot say, it may.
bool may_touch(const raw_component &vevent, const day_range &page);

// The day that a DATE or DATE-TIME value is written on, as days_from_civil counts days; false
// when the value begins with no date.
bool written_day(std::string_view value, long long &day);

#endif
