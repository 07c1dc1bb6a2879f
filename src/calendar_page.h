#ifndef PENDRIK_CALENDAR_PAGE_H
#define PENDRIK_CALENDAR_PAGE_H

#include <ctime>

#include "output.h"

// Writes the whole page: month_count months from the current local month on, today in red.
// Returns false, having written nothing, when the clock gives no local date.
bool write_calendar_page(out_stream &out, int month_count);

// The same page for a given today.
void write_calendar_page(out_stream &out, int month_count, const std::tm &today);

#endif
