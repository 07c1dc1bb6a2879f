#include "events.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

#include "calendar/calendar.h"
#include "calendar_file.h"
#include "output/output.h"
#include "platform/platform.h"

namespace {

enum class text_fault { none, not_utf8, control };

// Whether line is UTF-8 text: no malformed, overlong or surrogate sequence, no noncharacter,
// and no control character but the tab. The start of a line that goes on may end in part of a
// sequence.
text_fault check_text(std::string_view line, bool goes_on = false)
{
	for (std::size_t i = 0; i < line.size();) {
		auto lead = static_cast<unsigned char>(line[i]);
		if (lead < 0x80) {
			if ((lead < 0x20 && lead != '\t') || lead == 0x7f)
				return text_fault::control;
			++i;
			continue;
		}
		if (goes_on && line.size() - i < (lead >= 0xf0 ? 4U : lead >= 0xe0 ? 3U : 2U))
			break; // checked once the line has the rest
		std::size_t size = utf8_sequence_size(line.substr(i));
		if (size == 0)
			return text_fault::not_utf8;
		char32_t code = lead & (0x7fU >> size);
		for (std::size_t k = 1; k < size; ++k)
			code = code << 6U | (static_cast<unsigned char>(line[i + k]) & 0x3fU);
		if ((code >= 0xfdd0 && code <= 0xfdef) || (code & 0xfffeU) == 0xfffe)
			return text_fault::not_utf8;
		if (code < 0xa0)
			return text_fault::control;
		i += size;
	}
	return text_fault::none;
}

// The number in the digits of text from at on; -1 when one of them is no digit.
int digits_at(std::string_view text, std::size_t at, std::size_t count)
{
	int value = 0;
	for (std::size_t i = at; i < at + count; ++i) {
		if (text[i] < '0' || text[i] > '9')
			return -1;
		value = value * 10 + (text[i] - '0');
	}
	return value;
}

// A date of an events file: a day of a year, or of every year (year 0).
struct line_date {
	int year, month, day; // year 0 or 1 ... 9999, month 0 ... 11, day 1 ... 31
};

// Reads "YYYY-MM-DD" (year 1 to 9999) or "MM-DD" (every year) into date; false when it is
// neither, or no real day.
bool parse_date(std::string_view text, line_date &date)
{
	std::size_t at = 0;
	date.year = 0;
	if (text.size() == 10 && text[4] == '-') {
		date.year = digits_at(text, 0, 4);
		if (date.year < 1)
			return false;
		at = 5;
	} else if (text.size() != 5) {
		return false;
	}
	date.month = digits_at(text, at, 2) - 1;
	date.day = digits_at(text, at + 3, 2);
	if (text[at + 2] != '-' || date.month < 0 || date.month > 11 || date.day < 1)
		return false;
	// 29 February of every year stands for the leap years.
	return date.day <=
	       (date.year == 0 && date.month == 1 ? 29 : month_length(date.year, date.month));
}

// Adds the days of the page that date names, one a year for a date of every year; false when
// the page would list too many.
bool add_days(event_list &events, const line_date &date, std::uint32_t order, const day_range &page)
{
	long long first_year = civil_from_days(page.first).year;
	long long last_year = civil_from_days(page.last).year;
	if (date.year != 0)
		first_year = last_year = date.year;
	for (long long year = first_year; year <= last_year; ++year) {
		if (date.day > month_length(year, date.month))
			continue;
		long long day = days_from_civil(year, date.month, date.day);
		if (day >= page.first && day <= page.last)
			events.occurrences.push_back({day, day, -1, order});
	}
	return events.occurrences.size() <= max_page_occurrences;
}

bool is_blank(char c)
{
	return c == ' ' || c == '\t';
}

// Refuses the file at path for what is wrong with line number: "PATH:LINE: FAULT" and what
// follows it.
bool refuse_line(diagnostics &messages, const char *path, unsigned long long number,
                 std::string_view fault, std::string_view more = "")
{
	return refuse_file(messages, path, number, std::string(fault).append(more));
}

// Says what is wrong with the text of line, where there is something; refuse_line's result.
bool check_line_text(std::string_view line, bool goes_on, const char *path,
                     unsigned long long number, diagnostics &messages)
{
	text_fault fault = check_text(line, goes_on);
	if (fault == text_fault::none)
		return true;
	return refuse_line(messages, path, number,
	                   fault == text_fault::control ? "control character" : "not UTF-8");
}

// Takes line number of the file at path into events, or says what is wrong with it and
// returns false.
bool take_line(std::string_view line, const char *path, unsigned long long number,
               const day_range &page, event_list &events, diagnostics &messages)
{
	if (number == 1 && line.starts_with("\xEF\xBB\xBF")) // a byte-order mark
		line.remove_prefix(3);
	if (line.ends_with('\r'))
		line.remove_suffix(1);
	bool too_long = line.size() > max_line_size; // and cut, maybe within a sequence
	if (!check_line_text(line, too_long, path, number, messages))
		return false;
	if (too_long)
		return refuse_line(messages, path, number, "line too long");
	while (!line.empty() && is_blank(line.front()))
		line.remove_prefix(1);
	if (line.empty() || line.front() == '#')
		return true;

	line_date date{};
	std::string_view written = line.substr(0, std::min(line.find_first_of(" \t"), line.size()));
	if (!parse_date(written, date))
		return refuse_line(messages, path, number, "not a date: ", written);
	std::string_view text = line.substr(written.size());
	while (!text.empty() && is_blank(text.front()))
		text.remove_prefix(1);
	while (!text.empty() && is_blank(text.back()))
		text.remove_suffix(1);
	if (text.empty())
		return refuse_line(messages, path, number, "no text after the date");
	return add_days(events, date, add_event(events, text), page) ||
	       refuse_file(messages, path, 0, "too many events");
}

// Judges the start of a line that goes on, so that a stream of bytes that can never make a
// line (no line end, NUL bytes, not UTF-8) is refused at once, not read to its end.
bool judge_start(std::string_view start, const char *path, unsigned long long number,
                 diagnostics &messages)
{
	if (start.size() > 3 + max_line_size + 1) // past a byte-order mark and a CR
		return refuse_line(messages, path, number, "line too long");
	if (start.ends_with('\r'))
		start.remove_suffix(1); // an LF may follow
	return check_line_text(start, true, path, number, messages);
}

// Reads the lines of file, the first chunk of which is in chunk.
bool read_lines(std::FILE *file, char (&chunk)[16384], std::size_t got, const char *path,
                const day_range &page, event_list &events, diagnostics &messages)
{
	// Lines are split from chunks; of a long line only enough is kept to see that it is long,
	// past a byte-order mark and a CR.
	char line[3 + max_line_size + 2];
	std::size_t size = 0;
	unsigned long long number = 0;
	bool ok = true;
	for (; ok && got > 0; got = ok ? std::fread(chunk, 1, sizeof chunk, file) : 0) {
		for (std::size_t at = 0; ok && at < got;) {
			const void *lf = std::memchr(chunk + at, '\n', got - at);
			std::size_t end =
				lf != nullptr ? static_cast<const char *>(lf) - chunk : got;
			std::size_t kept = std::min(end - at, sizeof line - size);
			std::memcpy(line + size, chunk + at, kept);
			size += kept;
			at = end;
			if (lf != nullptr) {
				ok = take_line({line, size}, path, ++number, page, events,
				               messages);
				size = 0;
				++at;
			} else {
				ok = judge_start({line, size}, path, number + 1, messages);
			}
		}
	}
	if (ok && size > 0)
		ok = take_line({line, size}, path, ++number, page, events, messages);
	return ok;
}

// Reads the events of file, opened for path, into events, as read_events does.
bool read_open_file(std::FILE *file, const char *path, const day_range &page, event_list &events,
                    diagnostics &messages)
{
	char chunk[16384];
	std::size_t got = std::fread(chunk, 1, sizeof chunk, file);
	if (is_calendar_file({chunk, got}, path))
		return read_calendar_file(file, {chunk, got}, path, page, events, messages);
	if (read_lines(file, chunk, got, path, page, events, messages))
		return std::ferror(file) == 0 ||
		       refuse_for(messages, "Cannot read file ", path, errno);
	return false;
}

// The name of a file's events in the legend: its name without folders and extension; "-" for
// standard input.
std::string_view source_name(std::string_view path)
{
	std::size_t slash = path.find_last_of("/\\");
	std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
	std::size_t dot = name.rfind('.');
	return dot == 0 || dot == std::string_view::npos ? name : name.substr(0, dot);
}

} // namespace

bool read_events(const char *path, const day_range &page, event_list &events, diagnostics &messages)
{
	std::FILE *file = open_input(path);
	if (file == nullptr)
		return refuse_for(messages, "Cannot read file ", path, errno);
	bool ok = false;
	try {
		add_source(events, source_name(path));
		ok = read_open_file(file, path, page, events, messages);
	} catch (const std::bad_alloc &) { // a calendar file without end, or the memory is short
		refuse_file(messages, path, 0, "too large to read");
	}
	close_input(file);
	return ok;
}
