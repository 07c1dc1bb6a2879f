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

// The layout table: month_count tables, four to a row, from the month of first on.
void write_months(out_stream &out, const std::tm &first, int month_count, const std::tm &today)
{
	put(out, "<center><table><tr><td valign=\"top\">\n"_crlf);

	// From the second month on, the 1st of each month: tm_wday is always that 1st's weekday.
	// Once output has been lost the walk stops: the run has failed, and the count may be huge.
	std::tm month = first;
	int next_weekday = 0;
	for (int k = 0; k < month_count && !out.failed; ++k) {
		if (k > 0) {
			if (k % 4 != 0)
				put(out, "</td><td> &nbsp; </td><td valign=\"top\">\n"_crlf);
			else
				put(out, "</td></tr><tr><td valign=\"top\">\n"_crlf);
			if (++month.tm_mon > 11) {
				month.tm_mon = 0;
				++month.tm_year;
			}
			month.tm_mday = 1;
			month.tm_wday = next_weekday;
		}
		bool is_current = month.tm_mon == today.tm_mon && month.tm_year == today.tm_year;
		next_weekday = write_month_table(month, out, is_current ? today.tm_mday : 0, 0);
	}

	put(out, "</td></tr></table></center><p><hr><p>"_crlf);
}

// The footer from the words both pages end with.
void write_footer_links(out_stream &out)
{
	put(out, "starting with the current month using "
	         "<a href=\"" LINK_PAGE "#pendrik\">pendrik.exe</a><br>"
	         "Generate an HTML calendar starting with any year (1701 to 2500), "
	         "with any number of months (1 to 120), using "
	         "<a href=\"" LINK_PAGE "#ostavel\">ostavel.exe</a><br>"
	         "</BODY></HTML>\n"_crlf);
}

} // namespace

bool read_today(std::tm &today)
{
	std::time_t now = std::time(nullptr);
	if (now == static_cast<std::time_t>(-1))
		return false;
	const std::tm *local = std::localtime(&now);
	if (local == nullptr)
		return false;
	today = *local;
	return true;
}

bool write_calendar_page(out_stream &out, int month_count)
{
	std::tm today{};
	if (!read_today(today))
		return false;
	write_calendar_page(out, month_count, today);
	return true;
}

void write_calendar_page(out_stream &out, int month_count, const std::tm &today)
{
	write_head(out, month_count);
	write_months(out, today, month_count, today);
	put(out, "Generate your own "_crlf);
	put_int(out, month_count);
	put(out, " month calendar "_crlf);
	write_footer_links(out);
}

void write_year_calendar_page(out_stream &out, const std::tm &first, int month_count,
                              const std::tm &today)
{
	write_head(out, month_count);
	write_months(out, first, month_count, today);
	put(out, "Generate your own calendar "_crlf);
	write_footer_links(out);
}
