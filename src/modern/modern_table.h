#ifndef PENDRIK_MODERN_TABLE_H
#define PENDRIK_MODERN_TABLE_H

#include <cstddef>
#include <span>

#include "calendar/calendars.h"
#include "events/event_list.h"
#include "locale/locale_names.h"
#include "output/output.h"

// How the modern page shows its months: small ones in a grid (a year on a sheet), one month on
// each landscape sheet in big cells with the events written in them, or a year on one
// landscape sheet.
enum class page_kind { year, month, poster };

// How the modern page lays out its months, in which language, with which events.
struct modern_layout {
	page_kind kind = page_kind::year;
	int first_weekday = 0;     // of each week row: 0 = Sunday ... 6 = Saturday
	bool week_numbers = false; // a week number heads each week row
	int week_start = 1;        // the weeks numbered begin on this day, their first of a year
	int week_minimal_days =
		4; // with this many days of it at least: ISO 8601's, or the locale's
	page_locale locale = english_locale();
	const event_list *events = nullptr; // sorted; none when null
	const char *title = nullptr;        // the page's own title, as text; null for the months'
	calendar_type calendar = calendar_type::gregory; // of the page's months
	bool second_calendar = false;                    // a second calendar's day in each cell
	calendar_type second = calendar_type::gregory;
};

// Numbers 1 ... count between open and close, end to end: number n's text runs from start[n]
// to start[n + 1] (start[0] unused).
template <std::size_t count, std::size_t open_and_close_size>
struct numbered_text {
	// Two digits of at most four bytes each: the widest digits a locale has.
	char bytes[count * (open_and_close_size + 8)] = {};
	std::size_t start[count + 2] = {};
};

// What every month table of a page writes alike, made once for the page in its language: the
// column heads with the opening of the body, and the cells of the days and the week numbers.
struct modern_text {
	char head[4096] = {};
	std::size_t head_size = 0;
	numbered_text<31, sizeof "<td></td>"> days;
	numbered_text<31, 1> day_numbers; // the numbers alone, for marked days and lists
	numbered_text<53, sizeof "<th scope=\"row\"></th>"> weeks;
};

// Makes the page's text; false when the names do not fit, which no locale of the table does.
bool make_modern_text(const modern_layout &layout, modern_text &text);

// Writes the caption of month, a month of the page's calendar: "März 2027".
void put_caption(out_stream &out, const modern_layout &layout, const calendar_month &month);

// Writes the months from first to last as the page's title names them: "Januar – Dezember
// 2027"; one month as its caption.
void put_month_range(out_stream &out, const modern_layout &layout, const calendar_month &first,
                     const calendar_month &last);

// Writes month, of the page's calendar, as a modern month table, its week rows in full, the day
// today_day (0 for none) marked as today, the days of marks marked with their events (mark_days of
// events, the month's from take_month) and the events listed under it.
void write_modern_table(out_stream &out, const calendar_month &month, int today_day,
                        const modern_layout &layout, const modern_text &text,
                        std::span<const month_event> events, std::span<const day_mark> marks);

// Writes the month's events as a list, each event once with all its days in the month: "4,
// 11, 18, 25 09:30 Team meeting". Ready for the page's list under a table.
void write_event_list(out_stream &out, const calendar_month &month, const modern_layout &layout,
                      const modern_text &text, std::span<const month_event> events);

#endif
