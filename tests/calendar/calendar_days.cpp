// Writes the fields of every day of first_calendar_day ... last_calendar_day in every calendar,
// and the week numbers, as tools/calendar_data/generate.cpp's "days" writes ICU's: its runs
// and week lines. Each month is reached by next_month from the first, and must be the same as
// month_of_day of each of its days and month_of_year of its year and index; where one is not,
// says so on standard error and exits with 1.
#include <algorithm>
#include <cstdio>

#include "calendar/calendars.h"

namespace {

bool same(const calendar_month &a, const calendar_month &b)
{
	return a.first_day == b.first_day && a.length == b.length && a.era == b.era &&
	       a.year == b.year && a.related_year == b.related_year &&
	       a.start_year == b.start_year && a.month == b.month && a.leap == b.leap &&
	       a.leap_year == b.leap_year && a.index == b.index &&
	       a.months_in_year == b.months_in_year && a.next_era_day == b.next_era_day;
}

void put_date(long long day)
{
	civil_date date = civil_from_days(day);
	std::printf("%04lld-%02d-%02d", date.year, date.month + 1, date.day);
}

// The month's runs of days, clipped to the days of the calendars: two where an era begins
// within it.
void put_runs(calendar_type type, const calendar_month &m)
{
	int split = m.next_era_day != 0 ? m.next_era_day : m.length + 1;
	struct {
		int era, year, first, last;
	} runs[2] = {{m.era, m.year, 1, split - 1}, {m.era + 1, 1, split, m.length}};
	for (auto run : runs) {
		long long first = std::max(m.first_day + run.first - 1, first_calendar_day);
		long long last = std::min(m.first_day + run.last - 1, last_calendar_day);
		if (first > last)
			continue;
		std::printf("%s ", calendar_name(type).data());
		put_date(first);
		std::printf(" %d %d %d%s %lld +%lld\n", run.era, run.year, m.month,
		            m.leap ? "L" : "", first - m.first_day + 1, last - first + 1);
	}
}

// Whether every day of the month and its year and index give it back.
bool agrees(calendar_type type, const calendar_month &m)
{
	calendar_month found{};
	for (int day = 0; day < m.length; ++day) {
		long long d = m.first_day + day;
		if (d >= first_calendar_day && d <= last_calendar_day &&
		    (!month_of_day(type, d, found) || !same(found, m)))
			return false;
	}
	return !start_year_in_range(type, m.start_year) ||
	       (month_of_year(type, m.start_year, m.index, found) && same(found, m));
}

bool put_calendar(calendar_type type)
{
	calendar_month m{};
	if (!month_of_day(type, first_calendar_day, m))
		return false;
	do {
		if (!agrees(type, m)) {
			(void)std::fprintf(stderr,
			                   "calendar_days: %s: the month from day %lld is not the "
			                   "same by its days, year and index\n",
			                   calendar_name(type).data(), m.first_day);
			return false;
		}
		put_runs(type, m);
	} while (next_month(type, m));
	return m.first_day + m.length > last_calendar_day;
}

void put_weeks(int first_weekday, int minimal_days, int year)
{
	auto week_one = [&](int of) {
		long long day = days_from_civil(of - 1, 11, 25);
		while (week_of_year(day, first_weekday, minimal_days) != 1 ||
		       week_year(day, first_weekday, minimal_days) != of)
			++day;
		return day;
	};
	long long start = week_one(year);
	long long next = week_one(year + 1);
	std::printf("week %d %d %d ", first_weekday, minimal_days, year);
	put_date(start);
	std::printf(" %lld\n", (next - start) / 7);
}

} // namespace

int main()
{
	for (int i = 0; i < calendar_count; ++i)
		if (!put_calendar(calendar_at(i)))
			return 1;
	for (int first = 0; first < 7; ++first)
		for (int minimal = 1; minimal <= 7; ++minimal)
			for (int year = 1700; year <= 2511; ++year)
				put_weeks(first, minimal, year);
	return std::fflush(stdout) == 0 ? 0 : 1;
}
