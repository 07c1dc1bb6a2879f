#include "modern_page.h"

#include "calendar_page.h"
#include "modern_page_text.h"

namespace {

// The months the page spans: "January 2027 - December 2027", or "March 2027" for one.
void put_range(out_stream &out, const calendar_names &names, const std::tm &first, int month_count)
{
	put_month_and_year(out, names, first.tm_mon, first.tm_year + 1900);
	if (month_count > 1) {
		int last = first.tm_mon + month_count - 1;
		put(out, " \xE2\x80\x93 "_crlf); // an en dash
		put_month_and_year(out, names, last % 12, first.tm_year + 1900 + last / 12);
	}
}

} // namespace

void write_modern_page(out_stream &out, const std::tm &first, int month_count, const std::tm &today,
                       const modern_layout &layout)
{
	const calendar_names &names = *layout.names;
	put(out, "<!DOCTYPE html>\n<html lang=\""_crlf);
	put_name(out, names.language);
	put(out, "\">\n<head>\n<meta charset=\"utf-8\">\n"
	         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
	         "<meta name=\"color-scheme\" content=\"light dark\">\n<title>"_crlf);
	put_range(out, names, first, month_count);
	put(out, "</title>\n"_crlf);
	// Light and dark colours with text at 4.5:1 or more on every ground it stands on; today and
	// the days of events marked by more than colour; a grid of months as wide as the window
	// allows, four at most; on paper twelve months to a sheet, none cut.
	put(out, modern_style_sheet);
	put(out, "</head>\n<body>\n<main>\n<h1>"_crlf);
	put_range(out, names, first, month_count);
	put(out, "</h1>\n"_crlf);
	if (layout.monday)
		put(out, "<div class=\"months monday\">\n"_crlf);
	else
		put(out, "<div class=\"months sunday\">\n"_crlf);

	const modern_head head = make_modern_head(layout);
	std::size_t next_dated = 0;
	walk_months(out, first, month_count, today, [&](int, const std::tm &month, int today_day) {
		month_events events;
		if (layout.events != nullptr)
			events = take_month_events(*layout.events, next_dated, month.tm_year + 1900,
			                           month.tm_mon);
		return write_modern_table(out, month, today_day, layout, head, events);
	});

	put(out, "</div>\n</main>\n"_crlf);
	if (is_english(names))
		put(out, "<footer>\n<p>"_crlf);
	else
		put(out, "<footer lang=\"en\">\n<p>"_crlf);
	put(out, "Generate your own calendar "_crlf);
	put(out, offer_of_pendrik);
	put(out, "</p>\n<p>"_crlf);
	put(out, offer_of_ostavel);
	put(out, "</p>\n</footer>\n"_crlf);
	put(out, modern_script);
	put(out, "</body>\n</html>\n"_crlf);
}
