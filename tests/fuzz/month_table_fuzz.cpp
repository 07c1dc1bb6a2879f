// Fuzzes write_month_table with any int fields, marks and link: no undefined behaviour (the
// sanitizers watch), a result of 0 ... 6, and a whole table in CR LF with seven cells a week.
#include <algorithm>
#include <cstring>
#include <string>

#include "classic/month_table.h"
#include "fuzz_io.h"

namespace {

bool append(void *target, const char *bytes, std::size_t count)
{
	static_cast<std::string *>(target)->append(bytes, count);
	return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char *data, std::size_t size)
{
	using fuzz::abort_unless;
	int fields[6] = {};
	if (size < sizeof fields)
		return 0;
	std::memcpy(fields, data, sizeof fields);
	std::tm date{};
	date.tm_mday = fields[0];
	date.tm_wday = fields[1];
	date.tm_mon = fields[2];
	date.tm_year = fields[3];
	// Any link but one that would look like the table's own markup.
	std::string link(reinterpret_cast<const char *>(data) + sizeof fields,
	                 size - sizeof fields);
	std::replace_if(
		link.begin(), link.end(), [](char c) { return c == '<' || c == '\r'; }, 'x');

	std::string table;
	out_stream out{append, &table};
	int next_weekday = write_month_table(date, out, fields[4], fields[5], link);
	abort_unless(flush_output(out), "the output taken");
	abort_unless(next_weekday >= 0 && next_weekday <= 6, "a weekday");
	abort_unless(table.starts_with("<table><tr>\r\n") &&
	                     table.ends_with("</tr>\r\n</table>\r\n"),
	             "a whole table");
	std::size_t rows = fuzz::count_of(table, "<tr class=\"r\">") - 1; // the weekday initials
	std::size_t cells = fuzz::count_of(table, "<td") - 1;             // the title
	abort_unless(cells == 7 + (next_weekday == 0 ? rows - 1 : rows) * 7, "seven cells a week");
	abort_unless(fuzz::is_crlf(table), "CR LF");
	return 0;
}
