#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "calendar/calendar.h"
#include "holidays/holidays.h"

namespace {

// A region's public holidays in a year, "MM-DD" each, in day order (a holiday of several days
// once a day).
std::string days_of(const char *code, int year, const char *language = "")
{
	const holiday_region *region = find_holiday_region(code);
	if (region == nullptr)
		return "none";
	std::vector<holiday> holidays;
	add_holidays(*region, days_from_civil(year, 0, 1), days_from_civil(year, 11, 31), language,
	             holidays);
	std::string days;
	for (const holiday &h : holidays)
		for (long long day = h.first_day; day <= h.last_day; ++day) {
			civil_date date = civil_from_days(day);
			days += (days.empty() ? "" : " ") + std::to_string(date.month + 1) + "-" +
			        std::to_string(date.day);
		}
	return days;
}

// From the governments' own lists: the Federal Ministry of the Interior's for Germany and the
// Bavarian State Chancellery's (Assumption, 15 August, holds in Bavaria's Catholic
// municipalities only, and date-holidays leaves it out of the state's days), the Office of
// Personnel Management's federal holidays with their observed days (listed beside the days
// themselves), gov.uk's bank holidays of England with their substitute days, the Cabinet
// Office's national holidays of Japan with its substitute holiday, and the State Council's
// Spring Festival (date-holidays keeps its eve and first two days; the State Council's break
// of 2027 runs longer, with working weekends).
TEST(Holidays, AsTheGovernmentsListThem)
{
	const struct {
		const char *code;
		int year;
		const char *days;
	} cases[] = {
		{"DE", 2027, "1-1 3-26 3-29 5-1 5-6 5-17 10-3 12-25 12-26"},
		{"de-by", 2027, "1-1 1-6 3-26 3-29 5-1 5-6 5-17 5-27 10-3 11-1 12-25 12-26"},
		{"US", 2027,
	         "1-1 1-18 2-15 5-31 6-18 6-19 7-4 7-5 9-6 10-11 11-11 11-25 12-24 12-25 12-31"},
		{"GB-ENG", 2027, "1-1 3-26 3-29 5-3 5-31 8-30 12-25 12-26 12-27 12-28"},
		{"GB-ENG", 2026, "1-1 4-3 4-6 5-4 5-25 8-31 12-25 12-26 12-28"},
		{"JP", 2027,
	         "1-1 1-11 2-11 2-23 3-21 3-22 4-29 5-3 5-4 5-5 7-19 8-11 9-20 9-23 10-11 11-3 "
	         "11-23"},
		{"XX", 2027, "none"},
		{"DE-XX", 2027, "none"},
	};
	for (const auto &c : cases)
		EXPECT_EQ(days_of(c.code, c.year), c.days) << c.code << " " << c.year;
	EXPECT_NE(days_of("CN", 2027).find("2-5 2-6 2-7"), std::string::npos)
		<< days_of("CN", 2027);
}

// Names in the page's language where the data has one, else the region's own; a substitute
// day's word in the page's language.
TEST(Holidays, NamesInThePagesLanguage)
{
	const struct {
		const char *code, *language;
		int year, month, day;
		const char *name;
	} cases[] = {
		{"GB-ENG", "", 2027, 11, 27, "Christmas Day (substitute day)"},
		{"GB-ENG", "de-DE", 2027, 11, 27, "Weihnachten (Ersatztag)"},
		{"GB-ENG", "de-CH", 2027, 11, 27, "Weihnachtstag (Ersatztag)"},
		{"DE", "en-US", 2027, 0, 1, "New Year&#39;s Day"},
		{"DE", "xx", 2027, 9, 3, "Tag der Deutschen Einheit"},
		{"JP", "ja", 2027, 2, 22, "春分の日 (振替休日)"},
	};
	for (const auto &c : cases) {
		std::vector<holiday> holidays;
		long long day = days_from_civil(c.year, c.month, c.day);
		add_holidays(*find_holiday_region(c.code), day, day, c.language, holidays);
		ASSERT_EQ(holidays.size(), 1u) << c.code << " " << c.language;
		EXPECT_EQ(holidays[0].name, c.name) << c.code << " " << c.language;
	}
}

TEST(Holidays, NoneOutsideTheYearsOfTheData)
{
	EXPECT_EQ(days_of("DE", holiday_first_year - 1), "");
	EXPECT_EQ(days_of("DE", holiday_last_year + 1), "");
	EXPECT_NE(days_of("DE", holiday_last_year), "");
}

} // namespace
