#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "calendar/calendar.h"
#include "events/events.h"

namespace {

// What the readers make of a file's text on the page of 2027 and 2028: its warnings, then the
// days of its occurrences as "2027-12-25 TEXT"; or its one refusal.
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
	// Each message without the file's name; a refusal alone.
	std::string result;
	std::string messages_said(said, size);
	for (std::size_t at; (at = messages_said.find(name)) != std::string::npos;)
		messages_said.erase(at, std::strlen(name));
	std::free(said);
	(void)unlink(name);
	if (!read)
		return messages_said;
	result = messages_said;
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

// A calendar of one VEVENT of these lines, with a UID.
std::string vevent(const std::string &lines)
{
	return "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:u\r\n" + lines +
	       "END:VEVENT\r\nEND:VCALENDAR\r\n";
}

TEST(CalendarReader, WhatAppsExport)
{
	const struct {
		std::string text;
		const char *expected;
	} cases[] = {
		// What the page does not use costs nothing.
		{vevent("SUMMARY:a\r\nDTSTART;VALUE=DATE:20270301\r\nLOCATION:\r\nDESCRIPTION:\r\n"
	                "X-APPLE-STRUCTURED-LOCATION;VALUE=URI;X-APPLE-RADIUS=141.17:geo:1,2\r\n"
	                "CONFERENCE;VALUE=URI:https://x\r\nRELATED-TO;VALUE=UID:y\r\nRDATE:\r\n"
	                "BEGIN:VALARM\r\nACTION:DISPLAY\r\nEND:VALARM\r\n"),
	         "2027-03-01 a\n"},
		{vevent("DTSTART;VALUE=DATE:20270301\r\n"), "2027-03-01 \n"},
		{"BEGIN:VCALENDAR\r\nBEGIN:VTODO\r\nDTSTART:20270301T000000Z\r\nEND:VTODO\r\n"
	         "BEGIN:X-NEW\r\nEND:X-NEW\r\nEND:VCALENDAR\r\n",
	         ""},
		// Every rule of an event; a wrong date of an RDATE or EXDATE dropped alone.
		{vevent("SUMMARY:r\r\nDTSTART;VALUE=DATE:20270301\r\nRRULE:FREQ=YEARLY;COUNT=2\r\n"
	                "RRULE:FREQ=MONTHLY;BYMONTHDAY=9;COUNT=1\r\n"),
	         "2027-03-01 r\n2027-03-09 r\n2028-03-01 r\n"},
		{vevent("SUMMARY:d\r\nDTSTART;VALUE=DATE:20270301\r\nRDATE;VALUE=DATE:20270302,"
	                "2027023"
	                "1,20270304\r\nEXDATE;VALUE=DATE:20279999,20270304\r\n"),
	         ":7: event u: EXDATE left out: no such date or time\n"
	         ":6: event u: RDATE left out: no such date or time\n2027-03-01 d\n2027-03-02 d\n"},
		// What breaks one event costs that event, or its rule.
		{vevent("SUMMARY:x\r\nDTSTART;VALUE=DATE:20270301\r\nRRULE:FREQ=SOMETIMES\r\n"),
	         ":6: event u: RRULE left out: RRULE cannot be read: FREQ=SOMETIMES\n2027-03-01 "
	         "x\n"},
		{vevent("SUMMARY:x\r\nDTSTART:2027\r\n"),
	         ":5: event u: left out: DTSTART cannot be read: 2027\n"},
		{vevent("SUMMARY:x\r\nDTSTART;TZID=Mars/Olympus:20270301T230000\r\n") +
	                 vevent("DTSTART;TZID=Eastern Standard Time:20270302T230000\r\n"),
	         ":2: event u: time zone Mars/Olympus unknown: its times placed in the page's time "
	         "zone\n"
	         "2027-03-01 x\n2027-03-03 \n"},
		{vevent("SUMMARY:\xC3\x28\r\nDTSTART;VALUE=DATE:20270301\r\n"),
	         ":4: not UTF-8 text: shown with U+FFFD\n2027-03-01 \xEF\xBF\xBD(\n"},
		// Only a file that cannot be trusted whole is refused.
		{"BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nDTSTART;VALUE=DATE:20270301\r\nEND:VEVENT\r\n",
	         ": cut short: no END:VCALENDAR\n"},
		{"SUMMARY:x\r\n", ":1: not a date: SUMMARY:x\n"}, // not read as iCalendar
	};
	for (const auto &c : cases)
		EXPECT_EQ(read_text(c.text), c.expected) << c.text;
}

} // namespace
