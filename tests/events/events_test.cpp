#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "calendar/calendar.h"
#include "events/events.h"

namespace {

// What the line reader makes of a file's text on the page of 2027 and 2028: the days of its
// occurrences as "2027-12-25 TEXT", or its one message.
std::string read_text(const std::string &text)
{
	char name[] = "/tmp/events-test-XXXXXX";
	int fd = mkstemp(name);
	(void)!write(fd, text.data(), text.size());
	(void)close(fd);
	char *said = nullptr;
	std::size_t size = 0;
	std::FILE *messages = open_memstream(&said, &size);
	diagnostics d{messages};
	event_list events;
	day_range page{days_from_civil(2027, 0, 1), days_from_civil(2028, 11, 31)};
	bool read = read_events(name, page, events, d);
	(void)std::fclose(messages);
	std::string result = read ? "" : std::string(said, size).substr(std::string(name).size());
	std::free(said);
	(void)unlink(name);
	sort_events(events);
	for (const event &e : events.occurrences) {
		civil_date date = civil_from_days(e.first_day);
		char day[40];
		(void)std::snprintf(day, sizeof day, "%lld-%02d-%02d ", date.year, date.month + 1,
		                    date.day);
		result += day + std::string(events.text(e)) + "\n";
	}
	return result;
}

TEST(LineReader, DatesOfEveryYearAndOfOne)
{
	const struct {
		const char *text, *expected;
	} cases[] = {
		{"2027-12-25 Christmas Day\n", "2027-12-25 Christmas Day\n"},
		{"12-24\tEve \r\n", "2027-12-24 Eve\n2028-12-24 Eve\n"},
		{"02-29 Leap day\n", "2028-02-29 Leap day\n"},
		{"2026-01-01 before\n2029-01-01 after\n", ""},
		{"\xEF\xBB\xBF# a comment\n\n  2028-01-01 <b>&\n", "2028-01-01 &lt;b&gt;&amp;\n"},
		{"2027-03-01 b\n2027-03-01 a", "2027-03-01 b\n2027-03-01 a\n"},
		{"2027-02-29 x\n", ":1: not a date: 2027-02-29\n"},
		{"13-01 x\n", ":1: not a date: 13-01\n"},
		{"2027-1-01 x\n", ":1: not a date: 2027-1-01\n"},
		{"0000-01-01 x\n", ":1: not a date: 0000-01-01\n"},
		{"# x\n01-01\n", ":2: no text after the date\n"},
		{"01-01 \xC3\x28\n", ":1: not UTF-8\n"},
		{"01-01 \xEF\xBF\xBE\n", ":1: not UTF-8\n"},
		{"01-01 a\x1b[2J\n", ":1: control character\n"},
		{"01-01 a\rb\n", ":1: control character\n"},
	};
	for (const auto &c : cases)
		EXPECT_EQ(read_text(c.text), c.expected) << c.text;
}

TEST(LineReader, ALineTooLong)
{
	EXPECT_EQ(read_text("01-01 " + std::string(994, 'x') + "\n").substr(0, 11), "2027-01-01 ");
	EXPECT_EQ(read_text("01-01 " + std::string(995, 'x') + "\n"), ":1: line too long\n");
}

} // namespace
