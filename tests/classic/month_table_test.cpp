#include <chrono>
#include <climits>
#include <cstdlib>
#include <ctime>
#include <utility>

#include <gtest/gtest.h>

#include "classic/month_table.h"
#include "test_output.h"

namespace {

std::string table_of(const std::tm &date, int highlight_day, int link_day = 0,
                     int *next_weekday = nullptr)
{
	return capture([&](out_stream &out) {
		int next = write_month_table(date, out, highlight_day, link_day, "x.htm");
		if (next_weekday != nullptr)
			*next_weekday = next;
	});
}

// The expected text of a whole table, its title and week rows given.
std::string table_text(const std::string &title, const std::string &weeks)
{
	return crlf("<table><tr>\n<td class=\"c\" colspan=\"7\"><nobr><b>" + title +
	            "</b></nobr></a></td>\n</tr>\n<tr class=\"r\">\n"
	            "<td>S</td>\n<td>M</td>\n<td>T</td>\n<td>W</td>\n<td>T</td>\n<td>F</td>\n"
	            "<td>S</td>\n</tr>\n<tr class=\"r\">\n" +
	            weeks + "</tr>\n</table>\n");
}

std::string days(int first, int last)
{
	std::string text;
	for (int day = first; day <= last; ++day)
		text += "<td>" + std::to_string(day) + "</td>\n";
	return text;
}

const std::string week_break = "</tr>\n<tr class=\"r\">\n";
const std::string blank = "<td>&nbsp;</td>\n";

TEST(MonthTable, March2010FromTheTenth)
{
	int next_weekday = -1;
	EXPECT_EQ(table_of(make_date(2010, 3, 10), 10, 0, &next_weekday),
	          table_text("March 2010", blank + days(1, 6) + week_break + days(7, 9) +
	                                           "<td><font color=FF0000>10</font></td>\n" +
	                                           days(11, 13) + week_break + days(14, 20) +
	                                           week_break + days(21, 27) + week_break +
	                                           days(28, 31) + blank + blank + blank));
	EXPECT_EQ(next_weekday, 4);
}

TEST(MonthTable, February2015EndsWithAnEmptyRow)
{
	int next_weekday = -1;
	EXPECT_EQ(
		table_of(make_date(2015, 2, 7), 0, 0, &next_weekday), // the 7th, a Saturday: lead 7
		table_text("February 2015", days(1, 7) + week_break + days(8, 14) + week_break +
	                                            days(15, 21) + week_break + days(22, 28) +
	                                            week_break));
	EXPECT_EQ(next_weekday, 0);
}

// Every day of one whole 400-year cycle, given as the month's record: the table is laid out
// from the weekday of the 1st with the month's length, and returns the next month's weekday.
TEST(MonthTable, EveryDayOfA400YearCycle)
{
	using namespace std::chrono;
	for (sys_days d = sys_days{2000y / January / 1}; d < sys_days{2400y / January / 1};
	     d += std::chrono::days{1}) {
		year_month_day ymd{d};
		auto ym = ymd.year() / ymd.month();
		int next_weekday = -1;
		std::size_t at = 0;
		auto table = parse_table(table_of(make_date(int(ymd.year()), unsigned(ymd.month()),
		                                            unsigned(ymd.day())),
		                                  0, 0, &next_weekday),
		                         at);
		ASSERT_TRUE(has_layout(table, int(weekday{sys_days{ym / 1}}.c_encoding()),
		                       int(unsigned((ym / last).day()))))
			<< "from day " << unsigned(ymd.day());
		ASSERT_EQ(next_weekday, int(weekday{sys_days{(ym + months{1}) / 1}}.c_encoding()));
	}
}

struct marking_case {
	int highlight_day, link_day;
	std::vector<std::pair<int, std::string>> marked; // day, cell text
};

std::ostream &operator<<(std::ostream &os, const marking_case &c)
{
	return os << c.highlight_day << ", " << c.link_day;
}

class DayMarking : public testing::TestWithParam<marking_case> {};

TEST_P(DayMarking, MarksExactlyTheGivenDays)
{
	const auto &c = GetParam();
	std::size_t at = 0;
	auto table = parse_table(table_of(make_date(2010, 3, 1), c.highlight_day, c.link_day), at);
	std::vector<std::pair<int, std::string>> marked;
	for (std::size_t r = 1; r < table.rows.size(); ++r)
		for (const auto &text : table.rows[r])
			if (text != "&nbsp;" && text != std::to_string(day_of(text)))
				marked.emplace_back(day_of(text), text);
	EXPECT_EQ(marked, c.marked);
}

INSTANTIATE_TEST_SUITE_P(
	Rules, DayMarking,
	testing::Values(
		marking_case{0, 0, {}}, marking_case{5, 0, {{5, "<font color=FF0000>5</font>"}}},
		marking_case{-5, 0, {{5, "<font color=FF0000><blink>5</blink></font>"}}},
		marking_case{0, 12, {{12, "<a href=\"x.htm\"><font color=FF0000>12</font></a>"}}},
		marking_case{7, 7, {{7, "<font color=FF0000>7</font>"}}},
		marking_case{-9, 9, {{9, "<font color=FF0000><blink>9</blink></font>"}}},
		marking_case{3,
                             4,
                             {{3, "<font color=FF0000>3</font>"},
                              {4, "<a href=\"x.htm\"><font color=FF0000>4</font></a>"}}},
		marking_case{32, 0, {}}, marking_case{-32, 0, {}},
		marking_case{INT_MIN, INT_MIN, {}}),
	[](const auto &info) { return "case_" + std::to_string(info.index); });

} // namespace
