#ifndef PENDRIK_HOLIDAYS_H
#define PENDRIK_HOLIDAYS_H

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "holiday_data.h"

// The public holidays of a country or subdivision, from the generated table.

// The region of code, "DE", "de-by", in any case; null for none.
const holiday_region *find_holiday_region(std::string_view code);

// Writes "CODE Name" a line for each region, by code; false when the writing failed.
bool list_holiday_regions(std::FILE *to);

// The region's code and name, HTML text.
std::string_view holiday_text_at(std::uint32_t offset);

// One day or more of a public holiday.
struct holiday {
	long long first_day, last_day; // days from 1970-01-01, as days_from_civil counts them
	std::string name;              // HTML text
};

// Appends the public holidays of region from first_day to last_day, in day order, named in
// language (a BCP 47 tag: its language where the data has a name in it, else the region's
// own), for the years of the data alone (holiday_first_year ... holiday_last_year).
void add_holidays(const holiday_region &region, long long first_day, long long last_day,
                  std::string_view language, std::vector<holiday> &holidays);

#endif
