#ifndef PENDRIK_MODERN_PAGE_H
#define PENDRIK_MODERN_PAGE_H

#include <ctime>

#include "modern_table.h"
#include "output/output.h"

// Writes the modern page: month_count month tables from the month of first (its 1st, with its
// weekday; a year of 1000 to 9999) in a grid that flows with the window, today marked where
// its month falls, and a script that moves the mark to the reader's today.
void write_modern_page(out_stream &out, const std::tm &first, int month_count, const std::tm &today,
                       const modern_layout &layout);

#endif
