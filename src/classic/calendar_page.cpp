#include "calendar_page.h"

#include "calendar/clock.h"
#include "calendar/month_walk.h"
#include "month_table.h"

#define LINK_PAGE "http://" PENDRIK_LINK_HOST "/sharware.htm"

const std::string_view offer_of_pendrik =
	"starting with the current month using <a href=\"" LINK_PAGE "#pendrik\">pendrik.exe</a>";
const std::string_view offer_of_ostavel =
	"Generate an HTML calendar starting with any year (1701 to 2500), with any number of "
	"months (1 to 120), using <a href=\"" LINK_PAGE "#ostavel\">ostavel.exe</a>";

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
	walk_months(first, month_count, today, out.failed,
	            [&](int k, const std::tm &month, int today_day) {
			    if (k > 0 && k % 4 != 0)
				    put(out, "</td><td> &nbsp; </td><td valign=\"top\">\n"_crlf);
			    else if (k > 0)
				    put(out, "</td></tr><tr><td valign=\"top\">\n"_crlf);
			    return write_month_table(month, out, today_day, 0);
		    });
	put(out, "</td></tr></table></center><p><hr><p>"_crlf);
}

// The footer from the words both pages end with.
void write_footer_links(out_stream &out)
{
	put(out, offer_of_pendrik);
	put(out, "<br>"_crlf);
	put(out, offer_of_ostavel);
	put(out, "<br></BODY></HTML>\n"_crlf);
}

} // namespace

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
