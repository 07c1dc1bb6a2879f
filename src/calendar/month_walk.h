#ifndef PENDRIK_MONTH_WALK_H
#define PENDRIK_MONTH_WALK_H

#include <ctime>

// Calls write_month(k, month, today_day) for the months k = 0 ... month_count - 1 from the
// month of first on, while stopped is false (the count may be huge): month is first itself
// for k = 0, then the 1st of each month with its weekday; today_day is today's tm_mday in
// today's month and 0 in any other. write_month returns the weekday of the next month's 1st.
template <class WriteMonth>
void walk_months(const std::tm &first, int month_count, const std::tm &today, const bool &stopped,
                 WriteMonth write_month)
{
	std::tm month = first;
	int next_weekday = 0;
	for (int k = 0; k < month_count && !stopped; ++k) {
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

#endif
