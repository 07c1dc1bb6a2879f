#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <new>

#include <gtest/gtest.h>

#include "calendar_page.h"
#include "test_output.h"

namespace {

std::size_t allocations;

} // namespace

// Counts every allocation of the test program, so that the page can be shown to make none.
// GCC takes a replaced delete that calls free for a mismatch with new, which it is not here.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
#endif

void *operator new(std::size_t size)
{
	++allocations;
	if (void *p = std::malloc(size ? size : 1))
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

std::vector<parsed_table> tables_of(const std::string &page)
{
	std::vector<parsed_table> tables;
	for (auto at = page.find("<table><tr>\r\n"); at != std::string::npos;
	     at = page.find("<table><tr>\r\n", at))
		tables.push_back(parse_table(page, at));
	return tables;
}

TEST(CalendarPage, MatchesTheGoldenPage)
{
	std::ifstream file(GOLDEN_DIR "/calendar12-2010-03-10.htm", std::ios::binary);
	ASSERT_TRUE(file) << "golden page missing";
	std::string golden{std::istreambuf_iterator<char>(file), {}};
	for (auto at = golden.find("www.example.com"); at != std::string::npos;
	     at = golden.find("www.example.com", at + 1))
		golden.replace(at, 15, PENDRIK_LINK_HOST);
	EXPECT_EQ(page_of(make_date(2010, 3, 10), 12), golden);
}

struct layout_case {
	int month_count;
	std::size_t rows;
};

std::ostream &operator<<(std::ostream &os, const layout_case &c)
{
	return os << c.month_count;
}

class PageLayout : public testing::TestWithParam<layout_case> {};

TEST_P(PageLayout, FourMonthsToARow)
{
	auto [month_count, rows] = GetParam();
	auto page = page_of(make_date(2010, 3, 10), month_count);
	std::string count = std::to_string(month_count);
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

INSTANTIATE_TEST_SUITE_P(Counts, PageLayout,
                         testing::Values(layout_case{12, 3}, layout_case{13, 4}, layout_case{24, 6},
                                         layout_case{36, 9}, layout_case{37, 10}),
                         [](const auto &info) {
				 return std::to_string(info.param.month_count) + "_months";
			 });

TEST(CalendarPage, TitlesFollowTheMonthsAcrossYearEnds)
{
	auto tables = tables_of(page_of(make_date(2010, 11, 30), 14));
	std::vector<std::string> titles;
	for (const auto &t : tables)
		titles.push_back(t.title);
	EXPECT_EQ(titles, (std::vector<std::string>{
				  "November 2010", "December 2010", "January 2011", "February 2011",
				  "March 2011", "April 2011", "May 2011", "June 2011", "July 2011",
				  "August 2011", "September 2011", "October 2011", "November 2011",
				  "December 2011"}));
	EXPECT_EQ(tables[0].rows[5][2], "<font color=FF0000>30</font>");
}

// The page's own chain of weekdays, from month to month across 8,399 years, against
// std::chrono: every table has the right title, the days under the right weekdays, the
// right length, and today in red only in the first.
TEST(CalendarPage, EveryMonthFrom1601To9999)
{
	using namespace std::chrono;
	const int month_count = (9999 - 1601 + 1) * 12;
	auto page = page_of(make_date(1601, 1, 10), month_count);
	auto tables = tables_of(page);
	ASSERT_EQ(tables.size(), std::size_t(month_count));
	const char *const names[] = {"January",   "February", "March",    "April",
	                             "May",       "June",     "July",     "August",
	                             "September", "October",  "November", "December"};
	year_month first = 1601y / January;
	for (int k = 0; k < month_count; ++k) {
		year_month ym = first + months{k};
		const auto &table = tables[std::size_t(k)];
		std::string title = std::string(names[unsigned(ym.month()) - 1]) + " " +
		                    std::to_string(int(ym.year()));
		ASSERT_EQ(table.title, title);
		int first_weekday = int(weekday{sys_days{ym / 1}}.c_encoding());
		int day_count = int(unsigned((ym / last).day()));
		int cell = 0;
		for (std::size_t r = 1; r < table.rows.size(); ++r) {
			for (const auto &text : table.rows[r]) {
				int day = cell - first_weekday + 1;
				ASSERT_EQ(day_of(text), day >= 1 && day <= day_count ? day : 0)
					<< title << ", cell " << cell;
				++cell;
			}
		}
		ASSERT_EQ(cell, (first_weekday + day_count + 6) / 7 * 7) << title;
	}
	EXPECT_EQ(tables[0].rows[2][3],
	          "<font color=FF0000>10</font>"); // 10 January 1601, a Wednesday
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
