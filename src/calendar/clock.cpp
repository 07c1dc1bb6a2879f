#include "clock.h"

#include <climits>

bool read_today(std::tm &today)
{
	std::time_t now = std::time(nullptr);
	if (now == static_cast<std::time_t>(-1))
		return false;
	const std::tm *local = std::localtime(&now);
	// A page of INT_MAX months runs INT_MAX / 12 + 1 years on from today's.
	constexpr int last_tm_year = INT_MAX - 1900 - (INT_MAX / 12 + 1);
	if (local == nullptr || local->tm_year > last_tm_year)
		return false;
	today = *local;
	return true;
}
