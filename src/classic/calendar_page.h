#ifndef PENDRIK_CALENDAR_PAGE_H
#define PENDRIK_CALENDAR_PAGE_H

#include <ctime>
#include <string_view>

#include "output/output.h"

// The footer's offer of both programs, in the words and with the links of both page styles.
// "Generate your own calendar " leads into the first; neither ends in a line feed.
extern const std::string_view offer_of_pendrik;
extern const std::string_view offer_of_ostavel;

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
