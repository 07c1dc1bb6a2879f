// Prints every public holiday of every region of the table from FIRST to LAST, a day a line,
// "CODE YYYY-MM-DD NAME", each region in its own language: what tools/holiday_data/check.mjs
// prints from date-holidays itself. Usage: holiday_days FIRST LAST
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "calendar/calendar.h"
#include "holidays/holidays.h"

int main(int argc, char **argv)
{
	if (argc != 3)
		return 2;
	long long first = days_from_civil(std::atoi(argv[1]), 0, 1);
	long long last = days_from_civil(std::atoi(argv[2]), 11, 31);
	std::vector<holiday> holidays;
	for (std::size_t r = 0; r < holiday_region_count; ++r) {
		const holiday_region &region = holiday_regions[r];
		holidays.clear();
		add_holidays(region, first, last, "", holidays);
		for (const holiday &h : holidays)
			for (long long day = std::max(h.first_day, first);
			     day <= std::min(h.last_day, last); ++day) {
				civil_date date = civil_from_days(day);
				std::printf("%s %04lld-%02d-%02d %s\n", holiday_text + region.code,
				            date.year, date.month + 1, date.day, h.name.c_str());
			}
	}
	return std::fflush(stdout) == 0 ? 0 : 1;
}
