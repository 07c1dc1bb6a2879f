#ifndef PENDRIK_CLOCK_H
#define PENDRIK_CLOCK_H

#include <ctime>

// Today's local date, read once from the clock by the C library's localtime; false when the
// clock gives none, or a year from which a page of any length would run past the years an int
// holds.
bool read_today(std::tm &today);

#endif
