#ifndef PENDRIK_MODERN_PAGE_H
#define PENDRIK_MODERN_PAGE_H

#include "modern_table.h"
#include "output/output.h"

// The months a modern page shows: count of them from first, in the layout's calendar.
struct page_months {
	calendar_month first;
	int count;
};

// The last of the months, or of those that calendars know.
calendar_month last_month(calendar_type calendar, const page_months &months);

// Writes the modern page of months in a grid that flows with the window, today (a day counted
// as days_from_civil counts it) marked where its month falls, and a script that moves the mark
// to the reader's today.
void write_modern_page(out_stream &out, const page_months &months, long long today,
                       const modern_layout &layout);

#endif
