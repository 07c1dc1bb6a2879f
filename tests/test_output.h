#ifndef PENDRIK_TEST_OUTPUT_H
#define PENDRIK_TEST_OUTPUT_H

#include <chrono>
#include <ctime>
#include <string>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

#include "output/output.h"

inline bool append_to_string(void *target, const char *bytes, std::size_t count)
{
	static_cast<std::string *>(target)->append(bytes, count);
	return true;
}

// What write puts into a stream, through the real output layer.
template <class Write>
std::string capture(Write write)
{
	std::string text;
	out_stream out{append_to_string, &text};
	write(out);
	flush_output(out);
	return text;
}

// The text with every LF as CR LF, as the output file has it.
inline std::string crlf(std::string_view text)
{
	std::string result;
	for (char c : text) {
		if (c == '\n')
			result += '\r';
		result += c;
	}
	return result;
}

inline std::size_t count_of(std::string_view text, std::string_view what)
{
	std::size_t n = 0;
	for (auto at = text.find(what); at != std::string_view::npos; at = text.find(what, at + 1))
		++n;
	return n;
}

// A date record for a calendar date, its weekday taken from std::chrono.
inline std::tm make_date(int year, unsigned month, unsigned day)
{
	using namespace std::chrono;
	std::tm date{};
	date.tm_year = year - 1900;
	date.tm_mon = static_cast<int>(month) - 1;
	date.tm_mday = static_cast<int>(day);
	date.tm_wday = static_cast<int>(weekday{
		sys_days{std::chrono::year{year} / std::chrono::month{month} /
	                 day}}.c_encoding());
	return date;
}

// One month table read back: its title and its rows of cell texts, rows[0] the weekday initials.
struct parsed_table {
	std::string title;
	std::vector<std::vector<std::string>> rows;
};

// Reads the month table that starts at text[at], line by line; at moves past its end.
inline parsed_table parse_table(std::string_view text, std::size_t &at)
{
	auto end = text.find("</table>\r\n", at);
	auto body = text.substr(at, end - at);
	at = end == std::string_view::npos ? end : end + 10;

	parsed_table table;
	for (std::size_t pos = 0, eol; (eol = body.find("\r\n", pos)) != std::string_view::npos;
	     pos = eol + 2) {
		auto line = body.substr(pos, eol - pos);
		if (line == "<tr class=\"r\">") {
			table.rows.emplace_back();
		} else if (line.starts_with("<td class=\"c\"")) {
			auto title = line.find("<b>") + 3;
			table.title = line.substr(title, line.find("</b>") - title);
		} else if (line.starts_with("<td>") && line.ends_with("</td>") &&
		           !table.rows.empty()) {
			table.rows.back().emplace_back(line.substr(4, line.size() - 9));
		}
	}
	return table;
}

// The day a cell shows, its markup left out; 0 for a blank cell.
inline int day_of(const std::string &cell)
{
	int day = 0;
	bool in_tag = false;
	for (char c : cell) {
		if (c == '<' || c == '>')
			in_tag = c == '<';
		else if (!in_tag && c >= '0' && c <= '9')
			day = day * 10 + (c - '0');
	}
	return day;
}

// Whether the week rows hold the days 1 ... day_count from column first_weekday on, seven
// cells a row padded with blanks, and one empty row after a month that ends on a Saturday.
inline testing::AssertionResult has_layout(const parsed_table &table, int first_weekday,
                                           int day_count)
{
	std::vector<std::size_t> sizes, expected_sizes;
	std::vector<int> shown, expected;
	for (std::size_t r = 1; r < table.rows.size(); ++r) {
		sizes.push_back(table.rows[r].size());
		for (const auto &cell : table.rows[r])
			shown.push_back(day_of(cell));
	}
	int cells = (first_weekday + day_count + 6) / 7 * 7;
	for (int cell = 0; cell < cells; ++cell) {
		int day = cell - first_weekday + 1;
		expected.push_back(day >= 1 && day <= day_count ? day : 0);
	}
	expected_sizes.assign(std::size_t(cells / 7), 7);
	if ((first_weekday + day_count) % 7 == 0)
		expected_sizes.push_back(0);
	if (sizes == expected_sizes && shown == expected)
		return testing::AssertionSuccess();
	return testing::AssertionFailure() << table.title << " does not start on weekday "
	                                   << first_weekday << " with " << day_count << " days";
}

#endif
