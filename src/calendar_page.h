#ifndef PENDRIK_CALENDAR_PAGE_H
#define PENDRIK_CALENDAR_PAGE_H

#include <ctime>
#include <string_view>

#include "output.h"

// The footer's offer of both programs, in the words and with the links of both page styles.
// "Generate your own calendar " leads into the first; neither ends in a line feed.
extern const std::string_view offer_of_pendrik;
extern const std::string_view offer_of_ostavel;

// Today's local date; false when the clock gives none, or a year from which a page of any
// length would run past the years an int holds.
bool read_today(std::tm &today);

// Calls write_month(k, month, today_day) for the months k = 0 ... month_count - 1 from the
// month of first on, while out has not failed (the count may be huge): month is first itself
// for k = 0, then the 1st of each month with its weekday; today_day is today's tm_mday in
// today's month and 0 in any other. write_month returns the weekday of the next month's 1st.
template <class WriteMonth>
void walk_months(const out_stream &out, const std::tm &first, int month_count, const std::tm &today,
                 WriteMonth write_month)
{
	std::tm month = first;
	int next_weekday = 0;
	for (int k = 0; k < month_count && !out.failed; ++k) {
		if (k > 0) {
			if (++month.tm_mon > 11) {
				month.tm_mon = 0;
				++month.tm_year;
			}
			month.tm_mday = 1;
			month.tm_wday = next_weekday;
		}
		bool is_current = month.tm_mon == today.tm_mon && month.tm_year == today.tm_year;
		next_weekday = write_month(k, month, is_current ? today.tm_mday : 0);
	}
}

// Writes the whole page: month_count months from the current local month on, today in red.
// Returns false, having written nothing, when the clock gives no local date.
bool write_calendar_page(out_stream &out, int month_count);

// The same page for a given today.
void write_calendar_page(out_stream &out, int month_count, const std::tm &today);

// The page of month_count months from the month of first (any day of it with its weekday),
// today's day in red wherever its month falls; its footer offers the page from today on.
void write_year_calendar_page(out_stream &out, const std::tm &first, int month_count,
                              const std::tm &today);

#endif
