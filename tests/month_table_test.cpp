#include <chrono>
#include <climits>
#include <utility>

#include <gtest/gtest.h>

#include "month_table.h"
#include "test_output.h"

namespace {

std::string table_of(const std::tm &date, int highlight_day = 0, int link_day = 0,
                     std::string_view link_target = {}, int *next_weekday = nullptr)
{
	return capture([&](out_stream &out) {
		int next = write_month_table(date, out, highlight_day, link_day, link_target);
		if (next_weekday)
			*next_weekday = next;
	});
}

parsed_table parsed(const std::string &text)
{
	std::size_t at = 0;
	return parse_table(text, at);
}

const char *const header =
	"<table><tr>\n"
	"<td class=\"c\" colspan=\"7\"><nobr><b>%s</b></nobr></a></td>\n"
	"</tr>\n<tr class=\"r\">\n"
	"<td>S</td>\n<td>M</td>\n<td>T</td>\n<td>W</td>\n<td>T</td>\n<td>F</td>\n<td>S</td>\n"
	"</tr>\n<tr class=\"r\">\n";

std::string header_for(std::string title)
{
	std::string text = header;
	return text.replace(text.find("%s"), 2, title);
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
	std::string expected = header_for("March 2010") + blank + days(1, 6) + week_break +
	                       days(7, 9) + "<td><font color=FF0000>10</font></td>\n" +
	                       days(11, 13) + week_break + days(14, 20) + week_break +
	                       days(21, 27) + week_break + days(28, 31) + blank + blank + blank +
	                       "</tr>\n</table>\n";
	int next_weekday = -1;
	EXPECT_EQ(table_of(make_date(2010, 3, 10), 10, 0, {}, &next_weekday), crlf(expected));
	EXPECT_EQ(next_weekday, 4);
}

TEST(MonthTable, February2015EndsWithAnEmptyRow)
{
	std::string expected = header_for("February 2015") + days(1, 7) + week_break + days(8, 14) +
	                       week_break + days(15, 21) + week_break + days(22, 28) + week_break +
	                       "</tr>\n</table>\n";
	int next_weekday = -1;
	EXPECT_EQ(table_of(make_date(2015, 2, 1), 0, 0, {}, &next_weekday), crlf(expected));
	EXPECT_EQ(next_weekday, 0);
}

// Every row holds seven cells, the days 1 ... day_count stand in order from column
// first_weekday on, and all other cells are blank.
void expect_layout(const parsed_table &table, int first_weekday, int day_count)
{
	ASSERT_FALSE(table.rows.empty());
	EXPECT_EQ(table.rows[0], (std::vector<std::string>{"S", "M", "T", "W", "T", "F", "S"}));
	int cell = 0;
	for (std::size_t r = 1; r < table.rows.size(); ++r) {
		bool last = r + 1 == table.rows.size();
		if (last && table.rows[r].empty() && cell % 7 == 0)
			break; // the empty row after a month that ends on a Saturday
		ASSERT_EQ(table.rows[r].size(), 7u) << table.title << ", row " << r;
		for (const auto &text : table.rows[r]) {
			int day = cell - first_weekday + 1;
			int expected = day >= 1 && day <= day_count ? day : 0;
			ASSERT_EQ(day_of(text), expected) << table.title << ", cell " << cell;
			++cell;
		}
	}
	EXPECT_EQ(cell, (first_weekday + day_count + 6) / 7 * 7) << table.title;
	bool ends_on_saturday = (first_weekday + day_count) % 7 == 0;
	EXPECT_EQ(table.rows.back().empty(), ends_on_saturday) << table.title;
}

struct layout_case {
	int year;
	unsigned month, day;
	const char *title;
	int first_weekday, day_count;
};

std::ostream &operator<<(std::ostream &os, const layout_case &c)
{
	return os << c.year << "-" << c.month << "-" << c.day;
}

class MonthLayout : public testing::TestWithParam<layout_case> {};

TEST_P(MonthLayout, DaysStandUnderTheirWeekdays)
{
	const auto &c = GetParam();
	int next_weekday = -1;
	auto table = parsed(table_of(make_date(c.year, c.month, c.day), 0, 0, {}, &next_weekday));
	EXPECT_EQ(table.title, c.title);
	expect_layout(table, c.first_weekday, c.day_count);
	EXPECT_EQ(next_weekday, (c.first_weekday + c.day_count) % 7);
}

INSTANTIATE_TEST_SUITE_P(Months, MonthLayout,
                         testing::Values(layout_case{2010, 3, 10, "March 2010", 1, 31},
                                         layout_case{2010, 3, 31, "March 2010", 1, 31},
                                         layout_case{2010, 5, 1, "May 2010", 6, 31},
                                         layout_case{2015, 2, 7, "February 2015", 0,
                                                     28}, // tm_mday 7 on a Saturday: lead 7
                                         layout_case{2015, 2, 28, "February 2015", 0, 28},
                                         layout_case{2016, 5, 14, "May 2016", 0, 31},
                                         layout_case{2000, 2, 1, "February 2000", 2, 29},
                                         layout_case{2004, 2, 29, "February 2004", 0, 29},
                                         layout_case{2400, 2, 15, "February 2400", 2, 29},
                                         layout_case{1900, 2, 1, "February 1900", 4, 28},
                                         layout_case{2100, 2, 1, "February 2100", 1, 28},
                                         layout_case{2010, 2, 1, "February 2010", 1, 28},
                                         layout_case{2010, 12, 25, "December 2010", 3, 31},
                                         layout_case{2011, 4, 30, "April 2011", 5, 30}),
                         [](const auto &info) {
				 auto name = std::string(info.param.title) + "_" +
	                                     std::to_string(info.param.day);
				 name.replace(name.find(' '), 1, "_");
				 return name;
			 });

TEST(MonthTable, LeapYearRule)
{
	const std::pair<int, bool> years[] = {{2000, true},  {2004, true},  {2400, true},
	                                      {1600, true},  {1900, false}, {2100, false},
	                                      {2010, false}, {2001, false}};
	for (auto [year, leap] : years)
		EXPECT_EQ(is_leap_year(year), leap) << year;
}

// Every day of one whole 400-year cycle, given as the month's record: the table starts on
// the weekday of the 1st and returns that of the next month's 1st.
TEST(MonthTable, AnyDayOfTheMonthGivesTheSameLayout)
{
	using namespace std::chrono;
	std::string sink;
	for (sys_days d = sys_days{2000y / January / 1}; d < sys_days{2400y / January / 1};
	     d += std::chrono::days{1}) {
		year_month_day ymd{d};
		std::tm date =
			make_date(int(ymd.year()), unsigned(ymd.month()), unsigned(ymd.day()));
		sink.clear();
		out_stream out{append_to_string, &sink};
		int next_weekday = write_month_table(date, out, 0, 0);
		year_month_day next{ymd.year() / ymd.month() / 1 + months{1}};
		ASSERT_EQ(next_weekday, int(weekday{sys_days{next}}.c_encoding()))
			<< date.tm_year << "/" << date.tm_mon << "/" << date.tm_mday;
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
	auto table = parsed(table_of(make_date(2010, 3, 1), c.highlight_day, c.link_day, "x.htm"));
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
