#include "calendar_page.h"

#include "month_table.h"

#define LINK_PAGE "http://" PENDRIK_LINK_HOST "/sharware.htm"

namespace {

void write_head(out_stream &out, int month_count)
{
	put(out, "<HTML><HEAD><TITLE>"_crlf);
	put_int(out, month_count);
	put(out, " Month Calendar</TITLE>\n"
	         "<Style type=\"text/css\"><!--\n"
	         "tr.r { text-align: right; }\n"
	         "td.c { text-align: center; }\n"
	         "--></Style>\n"
	         "</HEAD><BODY>\n"_crlf);
}

void write_footer(out_stream &out, int month_count)
{
	put(out, "Generate your own "_crlf);
	put_int(out, month_count);
	put(out, " month calendar "
	         "starting with the current month using "
	         "<a href=\"" LINK_PAGE "#pendrik\">pendrik.exe</a><br>"
	         "Generate an HTML calendar starting with any year (1701 to 2500), "
	         "with any number of months (1 to 120), using "
	         "<a href=\"" LINK_PAGE "#ostavel\">ostavel.exe</a><br>"
	         "</BODY></HTML>\n"_crlf);
}

} // namespace

bool write_calendar_page(out_stream &out, int month_count)
{
	std::time_t now = std::time(nullptr);
	if (now == static_cast<std::time_t>(-1))
		return false;
	const std::tm *today = std::localtime(&now);
	if (today == nullptr)
		return false;
	write_calendar_page(out, month_count, *today);
	return true;
}

void write_calendar_page(out_stream &out, int month_count, const std::tm &today)
{
	write_head(out, month_count);
	put(out, "<center><table><tr><td valign=\"top\">\n"_crlf);
	int next_weekday = write_month_table(today, out, today.tm_mday, 0);

	// The 1st of each following month; tm_wday is always that 1st's weekday. Once output
	// has been lost the walk stops: the run has failed, and the count may be huge.
	std::tm month = today;
	month.tm_mday = 1;
	for (int k = 1; k < month_count && !out.failed; ++k) {
		if (k % 4 != 0)
			put(out, "</td><td> &nbsp; </td><td valign=\"top\">\n"_crlf);
		else
			put(out, "</td></tr><tr><td valign=\"top\">\n"_crlf);
		if (++month.tm_mon > 11) {
			month.tm_mon = 0;
			++month.tm_year;
		}
		month.tm_wday = next_weekday;
		next_weekday = write_month_table(month, out, 0, 0);
	}

	put(out, "</td></tr></table></center><p><hr><p>"_crlf);
	write_footer(out, month_count);
}
