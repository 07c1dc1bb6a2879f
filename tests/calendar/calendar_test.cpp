#include <chrono>
#include <cstdlib>
#include <ctime>

#include <gtest/gtest.h>

#include "calendar/calendar.h"
#include "test_output.h"

namespace {

TEST(Calendar, WeekdayOfFirstFrom1701To2510)
{
	using namespace std::chrono;
	// ym = ym + months: libc++ 14's += wraps the month without moving the year on.
	for (year_month ym = 1701y / January; ym <= 2510y / December; ym = ym + months{1})
		ASSERT_EQ(weekday_of_first(int(ym.year()), int(unsigned(ym.month())) - 1),
		          int(weekday{sys_days{ym / 1}}.c_encoding()))
			<< int(ym.year()) << "-" << unsigned(ym.month());
}

// Every day of 1701 to 2510 against the C library's ISO 8601 week number, strftime's %V.
TEST(Calendar, IsoWeekAndDayCountFrom1701To2510)
{
	using namespace std::chrono;
	for (sys_days d = sys_days{1701y / January / 1}; d <= sys_days{2510y / December / 31};
	     d += std::chrono::days{1}) {
		year_month_day ymd{d};
		int year = int(ymd.year()), month = int(unsigned(ymd.month())) - 1;
		int day = int(unsigned(ymd.day()));
		std::tm date = make_date(year, unsigned(month + 1), unsigned(day));
		date.tm_yday = int((d - sys_days{ymd.year() / January / 1}).count());
		char week[4] = {};
		ASSERT_EQ(std::strftime(week, sizeof week, "%V", &date), 2u);
		ASSERT_EQ(iso_week(year, month, day), std::atoi(week))
			<< year << "-" << month + 1 << "-" << day;
		// The day count of calendar files' spans, both ways.
		ASSERT_EQ(days_from_civil(year, month, day), d.time_since_epoch().count());
		civil_date back = civil_from_days(d.time_since_epoch().count());
		ASSERT_TRUE(back.year == year && back.month == month && back.day == day);
	}
}

} // namespace
