#include <gtest/gtest.h>

#include "calendar/calendars.h"

// Every day of every calendar is checked against ICU and date-chinese by the lint test
// calendar_days; these are the facts a reader can check by hand, and the edges.
namespace {

TEST(Calendars, NamesAndAliases)
{
	struct {
		const char *name;
		bool found;
		calendar_type type;
	} cases[] = {
		{"gregory", true, calendar_type::gregory},
		{"Gregorian", true, calendar_type::gregory},
		{"ISLAMIC-UMALQURA", true, calendar_type::islamic_umalqura},
		{"ethiopic-amete-alem", true, calendar_type::ethioaa},
		{"islamicc", true, calendar_type::islamic_civil},
		{"islamic-", false, calendar_type::islamic},
		{"", false, calendar_type::gregory},
	};
	for (const auto &c : cases) {
		calendar_type found{};
		ASSERT_EQ(find_calendar(c.name, found), c.found) << c.name;
		if (c.found) {
			EXPECT_EQ(found, c.type) << c.name;
		}
	}
	for (int i = 0; i < calendar_count; ++i) {
		calendar_type found{};
		ASSERT_TRUE(find_calendar(calendar_name(calendar_at(i)), found));
		EXPECT_EQ(found, calendar_at(i));
	}
}

// Month index of a year as a page's start names it: its first day and ICU's fields.
TEST(Calendars, MonthsOfStartYears)
{
	struct {
		const char *calendar;
		int year, index;
		long long first_day;
		int era, era_year, month;
		bool leap;
		int next_era_day;
	} cases[] = {
		{"buddhist", 2570, 0, days_from_civil(2027, 0, 1), 0, 2570, 0, false, 0},
		{"roc", 116, 0, days_from_civil(2027, 0, 1), 1, 116, 0, false, 0},
		{"hebrew", 5788, 0, days_from_civil(2027, 9, 2), 0, 5788, 0, false, 0},
		{"hebrew", 5784, 5, days_from_civil(2024, 1, 10), 0, 5784, 5, false, 0}, // Adar I
		{"hebrew", 5785, 5, days_from_civil(2025, 2, 1), 0, 5785, 6, false, 0},  // Adar
		{"persian", 1406, 0, days_from_civil(2027, 2, 21), 0, 1406, 0, false, 0},
		{"islamic-civil", 1448, 0, days_from_civil(2026, 5, 17), 0, 1448, 0, false, 0},
		{"coptic", 1743, 0, days_from_civil(2026, 8, 11), 1, 1743, 0, false, 0},
		{"ethiopic", 2019, 12, days_from_civil(2027, 8, 6), 1, 2019, 12, false, 0},
		{"ethioaa", 7519, 0, days_from_civil(2026, 8, 11), 0, 7519, 0, false, 0},
		{"indian", 1948, 0, days_from_civil(2026, 2, 22), 0, 1948, 0, false, 0},
		{"chinese", 2027, 0, days_from_civil(2027, 1, 6), 78, 44, 0, false, 0},
		{"chinese", 2030, 0, days_from_civil(2030, 1, 3), 78, 47, 0, false, 0},
		{"chinese", 2025, 6, days_from_civil(2025, 6, 25), 78, 42, 5, true, 0}, // 闰六月
		{"dangi", 2027, 0, days_from_civil(2027, 1, 7), 78, 44, 0, false, 0},
		{"japanese", 2027, 0, days_from_civil(2027, 0, 1), 236, 9, 0, false, 0},
		{"japanese", 1989, 0, days_from_civil(1989, 0, 1), 234, 64, 0, false, 8},
		{"japanese", 2019, 4, days_from_civil(2019, 4, 1), 236, 1, 4, false, 0},
	};
	for (const auto &c : cases) {
		calendar_type type{};
		calendar_month m{};
		ASSERT_TRUE(find_calendar(c.calendar, type));
		ASSERT_TRUE(month_of_year(type, c.year, c.index, m)) << c.calendar << c.year;
		EXPECT_EQ(m.first_day, c.first_day) << c.calendar << " " << c.year;
		EXPECT_EQ(m.era, c.era) << c.calendar << " " << c.year;
		EXPECT_EQ(m.year, c.era_year) << c.calendar << " " << c.year;
		EXPECT_EQ(m.month, c.month) << c.calendar << " " << c.year;
		EXPECT_EQ(m.leap, c.leap) << c.calendar << " " << c.year;
		EXPECT_EQ(m.next_era_day, c.next_era_day) << c.calendar << " " << c.year;
		EXPECT_EQ(m.start_year, c.year) << c.calendar << " " << c.year;
	}
}

TEST(Calendars, EdgesOfTheRange)
{
	struct {
		calendar_type type;
		int year;
		bool in_range;
	} years[] = {
		{calendar_type::gregory, 1700, false},
		{calendar_type::gregory, 1701, true},
		{calendar_type::gregory, 2500, true},
		{calendar_type::gregory, 2501, false},
		{calendar_type::hebrew, 5461, false},
		{calendar_type::hebrew, 5462, true},
		{calendar_type::roc, 1911, false},
		{calendar_type::chinese, 2500, true},
		{calendar_type::buddhist, 2147483647, false},
	};
	for (const auto &y : years)
		EXPECT_EQ(start_year_in_range(y.type, y.year), y.in_range)
			<< calendar_name(y.type) << " " << y.year;
	calendar_month m{};
	EXPECT_FALSE(month_of_year(calendar_type::hebrew, 5788, 12, m)); // a common year
	EXPECT_FALSE(month_of_day(calendar_type::gregory, first_calendar_day - 1, m));
	for (int i = 0; i < calendar_count; ++i) {
		ASSERT_TRUE(month_of_day(calendar_at(i), last_calendar_day, m));
		calendar_month last = m;
		EXPECT_FALSE(next_month(calendar_at(i), m));
		EXPECT_EQ(m.first_day, last.first_day);
	}
}

TEST(Calendars, WeeksAsLocalesCountThem)
{
	struct {
		long long day;
		int first_weekday, minimal_days, week, year;
	} cases[] = {
		{days_from_civil(2027, 0, 1), 0, 1, 1, 2027},   // en-US: the week of 1 January
		{days_from_civil(2027, 0, 1), 1, 4, 53, 2026},  // ISO 8601
		{days_from_civil(2026, 11, 31), 1, 1, 1, 2027}, // Monday and 1
		{days_from_civil(2027, 11, 31), 0, 1, 1, 2028}, // a year that begins on Saturday
		{days_from_civil(2027, 0, 8), 6, 7, 1, 2027},   // a first week wholly in the year
	};
	for (const auto &c : cases) {
		EXPECT_EQ(week_of_year(c.day, c.first_weekday, c.minimal_days), c.week) << c.day;
		EXPECT_EQ(week_year(c.day, c.first_weekday, c.minimal_days), c.year) << c.day;
	}
	for (long long day = days_from_civil(1701, 0, 1); day <= days_from_civil(2510, 11, 31);
	     ++day) {
		civil_date d = civil_from_days(day);
		ASSERT_EQ(week_of_year(day, 1, 4), iso_week(int(d.year), d.month, d.day)) << day;
	}
}

} // namespace
