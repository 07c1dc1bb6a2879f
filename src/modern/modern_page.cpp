#include "modern_page.h"

#include <vector>

#include "calendar/calendar.h"
#include "calendar/month_walk.h"
#include "modern_page_text.h"

namespace {

// The months the page spans as the locale writes a range: "January – December 2027",
// "2027年1月～12月"; one month as its caption.
void put_range(out_stream &out, const locale_record &record, const std::tm &first, int month_count)
{
	int last = first.tm_mon + month_count - 1;
	pattern_values range{first.tm_year + 1900, first.tm_mon, first.tm_year + 1900 + last / 12,
	                     last % 12};
	if (month_count == 1)
		put_pattern(out, record, record.month_and_year, range);
	else if (range.last_year == range.year)
		put_pattern(out, record, record.range_in_year, range);
	else
		put_pattern(out, record, record.range_over_years, range);
}

// Shades the columns of the locale's weekend, wherever they fall in the row; today's mark, of
// more weight, stays on top.
void put_weekend_rule(out_stream &out, const modern_layout &layout)
{
	const char *separator = ":where(.months) :is(thead th, td):where(";
	for (int column = 0; column < 7; ++column) {
		if ((layout.locale.record->weekend >> (layout.first_weekday + column) % 7 & 1) == 0)
			continue;
		put(out, separator);
		put(out, ":nth-child("_crlf);
		put_int(out, column + 1 + (layout.week_numbers ? 1 : 0));
		put(out, ")"_crlf);
		separator = ", ";
	}
	if (*separator == ',')
		put(out, ") {\n\tbackground: var(--weekend);\n}\n"_crlf);
}

bool is_english(const page_locale &locale)
{
	return locale.lang() == "en" || locale.lang().starts_with("en-");
}

} // namespace

void write_modern_page(out_stream &out, const std::tm &first, int month_count, const std::tm &today,
                       const modern_layout &layout)
{
	const locale_record &record = *layout.locale.record;
	put(out, "<!DOCTYPE html>\n<html lang=\""_crlf);
	put(out, layout.locale.lang());
	if (record.right_to_left != 0)
		put(out, "\" dir=\"rtl"_crlf);
	put(out, "\">\n"_crlf);
	put(out, "<head>\n<meta charset=\"utf-8\">\n"
	         "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
	         "<meta name=\"color-scheme\" content=\"light dark\">\n<title>"_crlf);
	put_range(out, record, first, month_count);
	put(out, "</title>\n"_crlf);
	// Light and dark colours with text at 4.5:1 or more on every ground it stands on; today and
	// the days of events marked by more than colour; a grid of months as wide as the window
	// allows, four at most; on paper twelve months to a sheet, none cut.
	put(out, modern_style_sheet);
	put_weekend_rule(out, layout);
	put(out, "</style>\n</head>\n<body>\n<main>\n<h1>"_crlf);
	put_range(out, record, first, month_count);
	put(out, "</h1>\n<div class=\"months\">\n"_crlf);

	modern_text text;
	if (!make_modern_text(layout, text))
		out.failed = true; // the page would be wrong: none at all
	month_walker walker{layout.events, 0, {}};
	std::vector<month_event> taken; // of one month at a time
	std::vector<day_mark> marks;
	walk_months(first, month_count, today, out.failed,
	            [&](int, const std::tm &month, int today_day) {
			    int year = month.tm_year + 1900;
			    long long first_day = days_from_civil(year, month.tm_mon, 1);
			    taken.clear();
			    if (layout.events != nullptr)
				    take_month(walker, first_day,
			                       first_day + month_length(year, month.tm_mon) - 1,
			                       taken);
			    mark_days(taken, marks);
			    return write_modern_table(out, month, today_day, layout, text, taken,
		                                      marks);
		    });

	put(out, "</div>\n</main>\n"_crlf);
	if (is_english(layout.locale))
		put(out, "<footer>\n"_crlf);
	else
		put(out, "<footer lang=\"en\" dir=\"ltr\">\n"_crlf);
	put(out, "<p>Made with ostavel " PENDRIK_VERSION "</p>\n</footer>\n"_crlf);
	put(out, modern_script);
	put(out, "</body>\n</html>\n"_crlf);
}
