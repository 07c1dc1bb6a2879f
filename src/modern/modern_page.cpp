#include "modern_page.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "calendar/calendar.h"
#include "modern_page_text.h"
#include "table_text.h"

namespace {

// The page's own title, where it has one, else its months.
void put_title(out_stream &out, const modern_layout &layout, const page_months &months)
{
	if (layout.title == nullptr) {
		put_month_range(out, layout, months.first, last_month(layout.calendar, months));
		return;
	}
	std::string_view title = layout.title;
	char escaped[escaped_byte_size * 64];
	for (; !title.empty(); title.remove_prefix(std::min<std::size_t>(title.size(), 64)))
		put_bytes(out, escaped, escape_html(title.substr(0, 64), escaped));
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

// The legend: each source of events, its marker and name.
void put_legend(out_stream &out, const event_list &events)
{
	put(out, "<ul class=\"legend\">\n"_crlf);
	for (std::uint32_t source = 0; source < events.sources.size(); ++source) {
		put(out, "<li><i class=\""_crlf);
		put_source_class(out, events, source);
		put(out, "\" aria-hidden=\"true\"></i>"_crlf);
		put(out, events.sources[source].name);
		put(out, "</li>\n"_crlf);
	}
	put(out, "</ul>\n"_crlf);
}

void put_head(out_stream &out, const modern_layout &layout, const page_months &months)
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
	put_title(out, layout, months);
	put(out, "</title>\n"_crlf);
	put(out, modern_style_sheet);
	put_weekend_rule(out, layout);
	put(out, "</style>\n</head>\n"_crlf);
	if (layout.kind == page_kind::month)
		put(out, "<body class=\"month\">\n"_crlf);
	else if (layout.kind == page_kind::poster)
		put(out, "<body class=\"poster\">\n"_crlf);
	else
		put(out, "<body>\n"_crlf);
	put(out, "<main>\n<h1>"_crlf);
	put_title(out, layout, months);
	put(out, "</h1>\n"_crlf);
	if (layout.events != nullptr && !layout.events->sources.empty())
		put_legend(out, *layout.events);
}

void put_months(out_stream &out, const modern_layout &layout, const page_months &months,
                long long today)
{
	modern_text text;
	if (!make_modern_text(layout, text))
		out.failed = true; // the page would be wrong: none at all
	event_list none;
	month_walker walker{layout.events != nullptr ? layout.events : &none, 0, {}};
	std::vector<month_event> taken; // of one month at a time
	std::vector<day_mark> marks;
	put(out, "<div class=\"months\">\n"_crlf);
	calendar_month month = months.first;
	for (int k = 0; k < months.count && !out.failed; ++k) {
		if (k > 0 && !next_month(layout.calendar, month))
			break;
		take_month(walker, month.first_day, month.first_day + month.length - 1, taken);
		mark_days(taken, marks);
		long long today_day = today - month.first_day + 1;
		write_modern_table(out, month,
		                   today_day >= 1 && today_day <= month.length
		                           ? static_cast<int>(today_day)
		                           : 0,
		                   layout, text, taken, marks);
	}
	put(out, "</div>\n</main>\n"_crlf);
}

} // namespace

calendar_month last_month(calendar_type calendar, const page_months &months)
{
	calendar_month month = months.first;
	for (int k = 1; k < months.count && next_month(calendar, month); ++k)
		;
	return month;
}

void write_modern_page(out_stream &out, const page_months &months, long long today,
                       const modern_layout &layout)
{
	put_head(out, layout, months);
	put_months(out, layout, months, today);
	if (is_english(layout.locale))
		put(out, "<footer>\n"_crlf);
	else
		put(out, "<footer lang=\"en\" dir=\"ltr\">\n"_crlf);
	put(out, "<p>Made with ostavel " PENDRIK_VERSION "</p>\n</footer>\n"_crlf);
	put(out, modern_script);
	put(out, "</body>\n</html>\n"_crlf);
}
