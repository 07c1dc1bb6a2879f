#include "calendars.h"

#include <algorithm>
#include <bit>

#include "calendar_data.h"

// Each calendar's years are numbered by a key: ICU's extended year (the year counted without
// eras: Gregorian for buddhist, japanese and roc, Amete Mihret for ethioaa), for chinese and
// dangi the Gregorian year in which the year begins. The arithmetic is ICU's, in Hinnant's
// and Reingold's manner; days are counted from 1970-01-01, Julian day 2440588.

namespace {

using type = calendar_type;

constexpr std::string_view names[calendar_count] = {
	"buddhist",         "chinese",  "coptic",  "dangi",   "ethioaa",       "ethiopic",
	"gregory",          "hebrew",   "indian",  "islamic", "islamic-civil", "islamic-tbla",
	"islamic-umalqura", "japanese", "persian", "roc",
};

constexpr long long julian_day_1970 = 2440588;
// Years far outside every table, for the searches at their ends.
constexpr long long before_all = -(1LL << 40), after_all = 1LL << 40;

bool is_lunisolar(type t)
{
	return t == type::chinese || t == type::dangi;
}

bool is_coptic(type t)
{
	return t == type::coptic || t == type::ethiopic || t == type::ethioaa;
}

// Hebrew: ICU's new year, days from its epoch, by the molad of Tishri and the postponements.
bool hebrew_leap(long long year)
{
	return (7 * year + 1) % 19 < 7;
}

long long hebrew_new_year(long long year)
{
	// In parts of an hour, 1080 of them: a day, a mean month, the molad of year 1 from noon.
	constexpr long long day_parts = 25920;
	constexpr long long month_parts = 29 * day_parts + 13753;
	long long months = floor_div(235 * year - 234, 19);
	long long parts = months * month_parts + 12084;
	long long day = parts / day_parts;
	parts %= day_parts;
	long long weekday = day % 7; // 0 = Monday
	if (weekday == 2 || weekday == 4 || weekday == 6)
		weekday = ++day % 7;
	if (weekday == 1 && parts > 15 * 1080LL + 204 && !hebrew_leap(year))
		day += 2;
	else if (weekday == 0 && parts > 21 * 1080LL + 589 && hebrew_leap(year - 1))
		day += 1;
	return day;
}

// The tables' years, with what lies past their ends.
std::uint32_t lunisolar_bits(type t, long long year)
{
	return (t == type::chinese ? chinese_years : dangi_years)[year - first_lunisolar_year];
}

std::uint16_t islamic_bits(type t, long long year)
{
	return (t == type::islamic ? islamic_years : umalqura_years)[year - first_islamic_year];
}

long long civil_islamic_start(long long year, long long epoch)
{
	return epoch - julian_day_1970 + (year - 1) * 354 + floor_div(3 + 11 * year, 30);
}

long long table_start(type t, long long year)
{
	if (is_lunisolar(t))
		return days_from_civil(year, 0, 1) + 20 + (lunisolar_bits(t, year) >> 17);
	return civil_islamic_start(year, 1948440) + (islamic_bits(t, year) >> 12) - 8;
}

int table_year_length(type t, long long year)
{
	if (is_lunisolar(t)) {
		std::uint32_t bits = lunisolar_bits(t, year);
		return ((bits >> 13 & 0xf) != 0 ? 13 * 29 : 12 * 29) + std::popcount(bits & 0x1fff);
	}
	return 12 * 29 + std::popcount(static_cast<unsigned>(islamic_bits(t, year) & 0xfff));
}

// A tabulated year's first day; before the table, before every day, after it, the end of its
// last year and then after every day.
long long tabulated_year_start(type t, long long year)
{
	long long first = is_lunisolar(t) ? first_lunisolar_year : first_islamic_year;
	auto count =
		static_cast<long long>(is_lunisolar(t) ? lunisolar_year_count : islamic_year_count);
	if (year < first)
		return before_all;
	if (year < first + count)
		return table_start(t, year);
	if (year == first + count)
		return table_start(t, year - 1) + table_year_length(t, year - 1);
	return after_all;
}

long long year_start(type t, long long year)
{
	switch (t) {
	case type::coptic:
		return 1824665 - julian_day_1970 + 365 * year + floor_div(year, 4);
	case type::ethiopic:
	case type::ethioaa:
		return 1723856 - julian_day_1970 + 365 * year + floor_div(year, 4);
	case type::hebrew:
		return 347998 - julian_day_1970 + hebrew_new_year(year);
	case type::indian:
		return days_from_civil(year + 78, 2, is_leap_year(year + 78) ? 21 : 22);
	case type::persian:
		return 1948320 - julian_day_1970 + 365 * (year - 1) + floor_div(8 * year + 21, 33);
	case type::islamic_civil:
		return civil_islamic_start(year, 1948440);
	case type::islamic_tbla:
		return civil_islamic_start(year, 1948439);
	case type::chinese:
	case type::dangi:
	case type::islamic:
	case type::islamic_umalqura:
		return tabulated_year_start(t, year);
	default:
		return days_from_civil(year, 0, 1);
	}
}

// A year within one of day's: the search in year_of starts there.
long long year_estimate(type t, long long day)
{
	switch (t) {
	case type::coptic:
		return floor_div(4 * (day + julian_day_1970 - 1824665) + 1463, 1461) - 1;
	case type::ethiopic:
	case type::ethioaa:
		return floor_div(4 * (day + julian_day_1970 - 1723856) + 1463, 1461) - 1;
	case type::hebrew:
		return floor_div((day + julian_day_1970 - 347998) * 98496, 35975351) + 1;
	case type::indian:
		return civil_from_days(day).year - 78;
	case type::persian:
		return 1 + floor_div(33 * (day + julian_day_1970 - 1948320) + 3, 12053);
	case type::islamic:
	case type::islamic_civil:
	case type::islamic_tbla:
	case type::islamic_umalqura:
		return floor_div(30 * (day + julian_day_1970 - 1948440) + 10646, 10631);
	default:
		return civil_from_days(day).year;
	}
}

long long year_of(type t, long long day)
{
	long long year = year_estimate(t, day);
	while (day < year_start(t, year))
		--year;
	while (day >= year_start(t, year + 1))
		++year;
	return year;
}

// What a month's fields need of its year.
struct year_facts {
	long long key, start;
	int length;     // days
	int months;     // 12 or 13
	int leap_month; // chinese, dangi: the leap month's index, 0 for none
};

year_facts facts_of(type t, long long key)
{
	year_facts y{key, year_start(t, key), 0, 12, 0};
	y.length = static_cast<int>(year_start(t, key + 1) - y.start);
	if (is_lunisolar(t))
		y.leap_month = static_cast<int>(lunisolar_bits(t, key) >> 13 & 0xf);
	if (is_coptic(t) || (t == type::hebrew && y.length > 380) || y.leap_month != 0)
		y.months = 13;
	return y;
}

// Days in the month at index of year: the Hebrew Heshvan and Kislev by the year's length,
// the last month of most by what is left of it.
int month_length_of(type t, const year_facts &y, int index)
{
	constexpr int hebrew[13] = {30, 29, 30, 29, 30, 30, 29, 30, 29, 30, 29, 30, 29};
	switch (t) {
	case type::hebrew: {
		int kind = y.length % 10 - 3; // 0 short, 1 regular, 2 full
		if (index == 1 || index == 2)
			return index == 1 ? 29 + (kind == 2 ? 1 : 0) : 29 + (kind != 0 ? 1 : 0);
		return hebrew[index + (y.months == 12 && index >= 5 ? 1 : 0)];
	}
	case type::coptic:
	case type::ethiopic:
	case type::ethioaa:
		return index < 12 ? 30 : y.length - 360;
	case type::indian:
		return index == 0 ? y.length - 335 : index < 6 ? 31 : 30;
	case type::persian:
		return index < 6 ? 31 : index < 11 ? 30 : y.length - 336;
	case type::islamic_civil:
	case type::islamic_tbla:
		return index < 11 ? 30 - index % 2 : y.length - 325;
	case type::islamic:
	case type::islamic_umalqura:
		return 29 + (islamic_bits(t, y.key) >> index & 1);
	case type::chinese:
	case type::dangi:
		return 29 + static_cast<int>(lunisolar_bits(t, y.key) >> index & 1);
	default:
		return month_length(y.key, index);
	}
}

// The Japanese era of day: the last that begins by then.
const japanese_era &era_of(long long day)
{
	const japanese_era *end = japanese_eras + japanese_era_count;
	const japanese_era *after =
		std::upper_bound(japanese_eras, end, day, [](long long d, const japanese_era &era) {
			return d < era.first_day;
		});
	return after == japanese_eras ? *after : after[-1];
}

void set_era_and_year(type t, long long key, calendar_month &m)
{
	int year = static_cast<int>(key);
	m.era = 0;
	m.year = year;
	switch (t) {
	case type::gregory:
	case type::coptic:
		m.era = year > 0 ? 1 : 0;
		m.year = year > 0 ? year : 1 - year;
		return;
	case type::ethiopic:
		m.era = year > 0 ? 1 : 0;
		m.year = year > 0 ? year : year + 5500;
		return;
	case type::ethioaa:
		m.year = year + 5500;
		return;
	case type::buddhist:
		m.year = year + 543;
		return;
	case type::roc:
		m.era = year > 1911 ? 1 : 0;
		m.year = year > 1911 ? year - 1911 : 1912 - year;
		return;
	case type::chinese:
	case type::dangi:
		m.era = (year + 2636) / 60 + 1;
		m.year = (year + 2636) % 60 + 1;
		return;
	case type::japanese: {
		const japanese_era &era = era_of(m.first_day);
		m.era = era.era;
		m.year = year - era.first_year + 1;
		const japanese_era *next = &era + 1;
		if (next != japanese_eras + japanese_era_count &&
		    next->first_day < m.first_day + m.length)
			m.next_era_day = static_cast<int>(next->first_day - m.first_day + 1);
		return;
	}
	default:
		return;
	}
}

// What a page's start adds to a year's key.
int start_year_offset(type t)
{
	return t == type::buddhist ? 543 : t == type::roc ? -1911 : t == type::ethioaa ? 5500 : 0;
}

calendar_month make_month(type t, const year_facts &y, int index, long long first_day)
{
	calendar_month m{};
	m.first_day = first_day;
	m.length = month_length_of(t, y, index);
	m.related_year = static_cast<int>(civil_from_days(y.start).year);
	m.index = index;
	m.months_in_year = y.months;
	m.month = index;
	if (t == type::hebrew && y.months == 12 && index >= 5)
		m.month = index + 1; // no Adar I
	if (y.leap_month != 0) {
		m.leap = index == y.leap_month;
		m.month = index - (index >= y.leap_month ? 1 : 0);
	}
	bool islamic = t == type::islamic || t == type::islamic_civil || t == type::islamic_tbla ||
	               t == type::islamic_umalqura;
	m.leap_year = is_coptic(t) ? y.length == 366
	                           : y.months == 13 || y.length == (islamic ? 355 : 366);
	m.start_year = static_cast<int>(y.key + start_year_offset(t));
	set_era_and_year(t, y.key, m);
	return m;
}

// The key of the year a page's start names, within 1701 ... 2500; false for none.
bool key_of_start_year(type t, int year, long long &key)
{
	if (year < -10000 || year > 10000)
		return false;
	key = year - start_year_offset(t);
	long long first = year_start(t, key);
	return first >= days_from_civil(1701, 0, 1) && first <= days_from_civil(2500, 11, 31);
}

// Day 1 of the week 1 of Gregorian year.
long long first_week_start(long long year, int first_weekday, int minimal_days)
{
	long long new_year = days_from_civil(year, 0, 1);
	int before = (weekday_of_day(new_year) - first_weekday + 7) % 7; // its week's days before
	long long start = new_year - before;
	return 7 - before >= minimal_days ? start : start + 7;
}

// The Gregorian year whose weeks day is in, and the first day of its week 1.
long long week_year_of(long long day, int first_weekday, int minimal_days, long long &start)
{
	long long year = civil_from_days(day).year;
	start = first_week_start(year, first_weekday, minimal_days);
	if (day < start) {
		start = first_week_start(--year, first_weekday, minimal_days);
		return year;
	}
	long long next = first_week_start(year + 1, first_weekday, minimal_days);
	if (day >= next) {
		start = next;
		return year + 1;
	}
	return year;
}

} // namespace

bool find_calendar(std::string_view name, calendar_type &t)
{
	constexpr struct {
		std::string_view alias;
		type is;
	} aliases[] = {
		{"gregorian", type::gregory},
		{"ethiopic-amete-alem", type::ethioaa},
		{"islamicc", type::islamic_civil},
	};
	auto same = [](std::string_view a, std::string_view b) {
		return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
			return (x >= 'A' && x <= 'Z' ? x - 'A' + 'a' : x) == y;
		});
	};
	for (int i = 0; i < calendar_count; ++i) {
		if (same(name, names[i])) {
			t = calendar_at(i);
			return true;
		}
	}
	for (const auto &a : aliases) {
		if (same(name, a.alias)) {
			t = a.is;
			return true;
		}
	}
	return false;
}

std::string_view calendar_name(calendar_type t)
{
	return names[static_cast<int>(t)];
}

bool month_of_day(calendar_type t, long long day, calendar_month &month)
{
	if (day < first_calendar_day || day > last_calendar_day)
		return false;
	year_facts y = facts_of(t, year_of(t, day));
	long long first = y.start;
	int index = 0;
	for (int length; day >= first + (length = month_length_of(t, y, index)); ++index)
		first += length;
	month = make_month(t, y, index, first);
	return true;
}

bool next_month(calendar_type t, calendar_month &month)
{
	long long first = month.first_day + month.length;
	if (first > last_calendar_day)
		return false;
	if (month.index + 1 < month.months_in_year) {
		long long key = month.start_year - start_year_offset(t);
		month = make_month(t, facts_of(t, key), month.index + 1, first);
	} else {
		month = make_month(t, facts_of(t, year_of(t, first)), 0, first);
	}
	return true;
}

bool month_of_year(calendar_type t, int year, int index, calendar_month &month)
{
	long long key = 0;
	if (!key_of_start_year(t, year, key))
		return false;
	year_facts y = facts_of(t, key);
	if (index < 0 || index >= y.months)
		return false;
	long long first = y.start;
	for (int i = 0; i < index; ++i)
		first += month_length_of(t, y, i);
	month = make_month(t, y, index, first);
	return true;
}

bool start_year_in_range(calendar_type t, int year)
{
	long long key = 0;
	return key_of_start_year(t, year, key);
}

int week_of_year(long long day, int first_weekday, int minimal_days)
{
	long long start = 0;
	week_year_of(day, first_weekday, minimal_days, start);
	return static_cast<int>((day - start) / 7 + 1);
}

int week_year(long long day, int first_weekday, int minimal_days)
{
	long long start = 0;
	return static_cast<int>(week_year_of(day, first_weekday, minimal_days, start));
}
