#include <chrono>
#include <cstdlib>
#include <new>

#include <gtest/gtest.h>

#include "classic/calendar_page.h"
#include "test_output.h"

// Counts every allocation of the test program, so that the page can be shown to make none.
// GCC takes a replaced delete that calls free for a mismatch with new, which it is not here.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

namespace {
std::size_t allocations;
} // namespace

void *operator new(std::size_t size)
{
	++allocations;
	if (void *p = std::malloc(size != 0 ? size : 1))
		return p;
	throw std::bad_alloc{};
}
void operator delete(void *p) noexcept
{
	std::free(p);
}
void operator delete(void *p, std::size_t) noexcept
{
	std::free(p);
}

namespace {

std::string page_of(const std::tm &today, int month_count)
{
	return capture([&](out_stream &out) { write_calendar_page(out, month_count, today); });
}

class PageLayout : public testing::TestWithParam<int> {};

TEST_P(PageLayout, FourMonthsToARow)
{
	int month_count = GetParam();
	auto page = page_of(make_date(2010, 3, 10), month_count);
	std::string count = std::to_string(month_count);
	std::size_t rows = std::size_t(month_count + 3) / 4;
	EXPECT_EQ(count_of(page, "<table><tr>\r\n"), std::size_t(month_count));
	EXPECT_EQ(count_of(page, "</td></tr><tr><td valign=\"top\">\r\n"), rows - 1);
	EXPECT_EQ(count_of(page, "</td><td> &nbsp; </td><td valign=\"top\">\r\n"),
	          month_count - rows);
	EXPECT_TRUE(
		page.starts_with("<HTML><HEAD><TITLE>" + count + " Month Calendar</TITLE>\r\n"));
	EXPECT_EQ(count_of(page, "Generate your own " + count + " month calendar "), 1u);
	EXPECT_EQ(count_of(page, "FF0000"), 1u);
	EXPECT_TRUE(page.ends_with("#ostavel\">ostavel.exe</a><br></BODY></HTML>\r\n"));
}

INSTANTIATE_TEST_SUITE_P(Counts, PageLayout, testing::Values(12, 13, 36));

// The page's own chain of weekdays, from month to month across 8,399 years, against
// std::chrono: every table has the right title, length and layout, and only today is red.
TEST(CalendarPage, EveryMonthFrom1601To9999)
{
	using namespace std::chrono;
	const char *const names[] = {"January",   "February", "March",    "April",
	                             "May",       "June",     "July",     "August",
	                             "September", "October",  "November", "December"};
	const int month_count = (9999 - 1601 + 1) * 12;
	auto page = page_of(make_date(1601, 11, 10), month_count);
	std::size_t at = 0;
	for (int k = 0; k < month_count; ++k) {
		year_month ym = 1601y / November + months{k};
		auto table = parse_table(page, at = page.find("<table><tr>\r\n", at));
		ASSERT_EQ(table.title, std::string(names[unsigned(ym.month()) - 1]) + " " +
		                               std::to_string(int(ym.year())));
		ASSERT_TRUE(has_layout(table, int(weekday{sys_days{ym / 1}}.c_encoding()),
		                       int(unsigned((ym / last).day()))));
		if (k == 0) {
			EXPECT_EQ(table.rows[2][6], "<font color=FF0000>10</font>"); // a Saturday
		}
	}
	EXPECT_EQ(page.find("<table><tr>\r\n", at), std::string::npos);
	EXPECT_EQ(count_of(page, "FF0000"), 1u);
}

bool discard(void *, const char *, std::size_t)
{
	return true;
}

TEST(CalendarPage, AllocatesNothing)
{
	for (int month_count : {12, 1200}) {
		out_stream out{discard, nullptr};
		std::tm today = make_date(2010, 3, 10);
		std::size_t before = allocations;
		write_calendar_page(out, month_count, today);
		EXPECT_EQ(allocations, before) << month_count << " months";
	}
}

} // namespace
