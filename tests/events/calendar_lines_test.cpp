#include <string>

#include <gtest/gtest.h>

#include "calendar/calendar.h"
#include "events/calendar_lines.h"
#include "events/calendar_zones.h"

namespace {

TEST(CalendarLines, SplitAtTheColonOutsideQuotes)
{
	const struct {
		const char *line, *name, *parameters, *value;
	} cases[] = {
		{"SUMMARY:a:b", "SUMMARY", "", "a:b"},
		{"DTSTART;TZID=\"GMT+1: Paris\":20270101T000000", "DTSTART",
	         ";TZID=\"GMT+1: Paris\"", "20270101T000000"},
		{"LOCATION:", "LOCATION", "", ""},
		{"X-A;P=\"a;b\";Q=c:v", "X-A", ";P=\"a;b\";Q=c", "v"},
	};
	for (const auto &c : cases) {
		content_line p;
		ASSERT_TRUE(split_line(c.line, p)) << c.line;
		EXPECT_EQ(p.name, c.name);
		EXPECT_EQ(p.parameters, c.parameters);
		EXPECT_EQ(p.value, c.value);
	}
	content_line p;
	EXPECT_FALSE(split_line("no colon", p));
	EXPECT_FALSE(split_line("X;P=\"a:b", p));
}

TEST(CalendarLines, Parameters)
{
	const struct {
		const char *parameters, *name, *value;
	} cases[] = {
		{";TZID=Europe/Berlin", "TZID", "Europe/Berlin"},
		{";VALUE=DATE;tzid=\"W. Europe Standard Time\"", "TZID", "W. Europe Standard Time"},
		{";X=\"TZID=a\";TZID=b", "TZID", "b"},
		{";VALUE=DATE", "TZID", ""},
		{"", "TZID", ""},
	};
	for (const auto &c : cases)
		EXPECT_EQ(parameter(c.parameters, c.name), c.value) << c.parameters;
}

// Whether an event of these lines may touch the page of March 2027.
bool touches(std::initializer_list<const char *> lines)
{
	raw_component vevent{1, {}, {}};
	for (const char *line : lines)
		add_line(vevent, line, 2);
	return may_touch(vevent, {days_from_civil(2027, 2, 1), days_from_civil(2027, 2, 31)});
}

TEST(CalendarLines, EventsThatMayTouchThePage)
{
	EXPECT_TRUE(touches({"DTSTART:20270315T100000Z"}));
	EXPECT_TRUE(touches({"DTSTART;VALUE=DATE:20270402"})); // a zone may move it a day
	EXPECT_FALSE(touches({"DTSTART;VALUE=DATE:20270405"}));
	EXPECT_FALSE(touches({"DTSTART:20200101T000000Z", "DTEND:20200102T000000Z"}));
	EXPECT_TRUE(touches({"DTSTART:20200101T000000Z", "DTEND:20300102T000000Z"}));
	EXPECT_TRUE(touches({"DTSTART:20200101T000000Z", "DURATION:P3000D"}));
	EXPECT_FALSE(touches({"DTSTART:20200101T000000Z", "DURATION:PT1H"}));
	EXPECT_TRUE(touches({"DTSTART:20200101T000000Z", "DURATION:bogus"}));
	EXPECT_TRUE(touches({"DTSTART:20200101T000000Z", "RRULE:FREQ=YEARLY"}));
	EXPECT_FALSE(touches({"DTSTART:20270501T000000Z", "RRULE:FREQ=YEARLY"}));
	EXPECT_FALSE(touches({"DTSTART:20200101T000000Z", "RRULE:FREQ=WEEKLY;COUNT=52"}));
	EXPECT_TRUE(
		touches({"DTSTART:20200101T000000Z", "RRULE:FREQ=WEEKLY;INTERVAL=19;COUNT=20"}));
	EXPECT_FALSE(
		touches({"DTSTART:20200101T000000Z", "RRULE:FREQ=WEEKLY;BYDAY=MO,FR;COUNT=99"}));
	EXPECT_TRUE(
		touches({"DTSTART:20200101T000000Z", "RRULE:FREQ=MONTHLY;BYMONTHDAY=31;COUNT=9"}));
	EXPECT_TRUE(touches({"DTSTART:20200101T000000Z", "RRULE:FREQ=HOURLY;COUNT=63000"}));
	EXPECT_FALSE(touches({"DTSTART:20200101T000000Z", "RRULE:FREQ=DAILY;UNTIL=20270226"}));
	EXPECT_TRUE(
		touches({"DTSTART:20200101T000000Z", "RRULE:FREQ=DAILY;UNTIL=20270227T000000Z"}));
	EXPECT_TRUE(touches(
		{"DTSTART:20200101T000000Z", "RRULE:FREQ=DAILY;COUNT=2", "RRULE:FREQ=DAILY"}));
	EXPECT_TRUE(touches({"DTSTART:20200101T000000Z", "RDATE:20270301"}));
	EXPECT_TRUE(touches({"DTSTART:20200101T000000Z", "RECURRENCE-ID:20270101T000000Z"}));
	EXPECT_FALSE(touches({"DTSTART:20200101T000000Z", "RECURRENCE-ID:20200101T000000Z"}));
	EXPECT_TRUE(touches({"DTSTART:bogus"})); // libical says why not
	EXPECT_TRUE(touches({"SUMMARY:no start"}));
}

TEST(CalendarZones, NamesAppsWrite)
{
	const struct {
		const char *tzid, *names;
	} cases[] = {
		{"Europe/Berlin", "Europe/Berlin"},
		{"/Europe/Berlin", "Europe/Berlin"},
		{"W. Europe Standard Time", "Europe/Berlin"},
		{"Eastern Standard Time", "America/New_York"},
		{"/mozilla.org/20070129_1/America/New_York", "America/New_York"},
		{"/citadel.org/20190914_1/Europe/Berlin", "Europe/Berlin"},
		{"/freeassociation.sourceforge.net/Tzfile/Europe/Berlin", "Europe/Berlin"},
		{"/freeassociation.sourceforge.net/Europe/Berlin", "Europe/Berlin"},
		{"/softwarestudio.org/Olson_20011030_5/America/Argentina/Buenos_Aires",
	         "Olson_20011030_5/America/Argentina/Buenos_Aires America/Argentina/Buenos_Aires "
	         "Argentina/Buenos_Aires"},
		{"../../etc/passwd", ""},
		{"Europe/../../etc", ""},
		{"Mars Standard Time", ""},
	};
	for (const auto &c : cases) {
		std::string names;
		for (const std::string &name : zone_names(c.tzid))
			names += (names.empty() ? "" : " ") + name;
		EXPECT_EQ(names, c.names) << c.tzid;
	}
}

} // namespace
