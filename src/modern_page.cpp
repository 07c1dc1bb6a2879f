#include "modern_page.h"

#include "calendar_page.h"

namespace {

// Light and dark colours with text at 4.5:1 or more on every ground it stands on; today and the
// days of events marked by more than colour; a grid of months as wide as the window allows,
// four at most; on paper twelve months to a sheet, none cut, today still marked in greyscale.
constexpr auto style_sheet = R"(<style>
:root {
	color-scheme: light dark;
	--text: #1b1b1b;
	--ground: #fff;
	--muted: #4d4d4d;
	--weekend: #ebebeb;
	--today-text: #fff;
	--today-ground: #a3000b;
	--event: #00695c;
	--link: #0645ad;
}
@media (prefers-color-scheme: dark) {
	:root {
		--text: #ececec;
		--ground: #141414;
		--muted: #b3b3b3;
		--weekend: #2b2b2b;
		--today-text: #000;
		--today-ground: #ffa3a3;
		--event: #80cbc4;
		--link: #9fc1ff;
	}
}
body {
	max-width: 76rem;
	margin: 0 auto;
	padding: 1rem;
	font: 1rem/1.4 system-ui, sans-serif;
	color: var(--text);
	background: var(--ground);
}
h1 {
	margin: 0 0 1rem;
	font-size: 1.5rem;
}
.months {
	display: grid;
	grid-template-columns: repeat(auto-fill, minmax(min(100%, 16.5rem), 1fr));
	gap: 1.5rem 1rem;
	align-items: start;
}
table {
	width: 100%;
	border-collapse: collapse;
	font-variant-numeric: tabular-nums;
}
caption {
	padding-bottom: 0.25rem;
	font-weight: bold;
}
th, td {
	padding: 0.15rem 0.3rem;
	text-align: right;
}
th {
	font-weight: normal;
	color: var(--muted);
}
.sunday :is(th, td):is(:first-child, :last-child),
.monday :is(thead th, td):nth-last-child(-n + 2) {
	background: var(--weekend);
}
.event {
	font-weight: bold;
	color: var(--event);
	text-decoration: underline 2px;
	text-underline-offset: 3px;
}
.hidden {
	position: absolute;
	width: 1px;
	height: 1px;
	overflow: hidden;
	clip-path: inset(50%);
	white-space: nowrap;
}
.events {
	margin: 0.5rem 0 0;
	padding: 0;
	list-style: none;
}
.events li {
	display: flex;
}
.events time {
	flex: none;
	min-width: 1.5rem;
	margin-right: 0.5rem;
	text-align: right;
	font-weight: bold;
	font-variant-numeric: tabular-nums;
}
[aria-current="date"] {
	font-weight: bold;
	color: var(--today-text);
	background: var(--today-ground);
	outline: 2px solid var(--today-ground);
	outline-offset: 2px;
}
footer {
	margin-top: 2rem;
	font-size: 0.875rem;
	color: var(--muted);
}
a {
	color: var(--link);
}
@media print {
	:root {
		color-scheme: light;
		--text: #000;
		--ground: #fff;
		--muted: #333;
		--weekend: #e6e6e6;
		--event: #000;
	}
	body {
		max-width: none;
		padding: 0;
		font-size: 10pt;
	}
	h1 {
		margin-bottom: 8pt;
		font-size: 14pt;
	}
	.months {
		grid-template-columns: repeat(3, 1fr);
		gap: 14pt 20pt;
	}
	.months > div {
		break-inside: avoid;
	}
	.months > div:nth-child(12n + 13) {
		break-before: page;
	}
	th, td {
		padding: 1pt 3pt;
		print-color-adjust: exact;
	}
	[aria-current="date"] {
		color: #000;
		background: none;
		outline: 1.5pt solid #000;
		outline-offset: -1.5pt;
	}
	a {
		color: inherit;
		text-decoration: none;
	}
	footer {
		margin-top: 12pt;
		font-size: 8pt;
	}
}
</style>
)"_crlf;

// Moves today's mark to the reader's today, where the page shows it, and again each midnight.
constexpr auto live_today = R"(<script>
(function () {
	function mark() {
		var now = new Date(), marked = document.querySelector("[aria-current]"), today = null;
		var table = document.getElementById(now.getFullYear() + "-" + String(now.getMonth() + 101).slice(1));
		var cells = table ? table.tBodies[0].getElementsByTagName("td") : [];
		for (var i = 0; i < cells.length; i++)
			if (cells[i].firstChild && cells[i].firstChild.nodeValue == now.getDate())
				today = cells[i];
		if (marked !== today) {
			if (marked)
				marked.removeAttribute("aria-current");
			if (today)
				today.setAttribute("aria-current", "date");
		}
		now.setHours(24, 0, 1, 0);
		setTimeout(mark, now - new Date());
	}
	mark();
})();
</script>
)"_crlf;

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
	put(out, style_sheet);
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
	put(out, live_today);
	put(out, "</body>\n</html>\n"_crlf);
}
