#ifndef PENDRIK_CALENDARS_H
#define PENDRIK_CALENDARS_H

#include <string_view>

#include "calendar.h"

// The calendars of ICU and the Unicode CLDR, by their BCP 47 names (-u-ca-), in the order of
// those names. Each is known for every day of the Gregorian years 1700 ... 2511, with the
// fields ICU gives its dates, so that the CLDR's names can be keyed on them. The Chinese and
// Korean calendars are the astronomical ones their observatories publish, where ICU puts some
// new moons near midnight a day late (tools/calendar_data).
enum class calendar_type : unsigned char {
	buddhist,
	chinese,
	coptic,
	dangi,
	ethioaa,
	ethiopic,
	gregory,
	hebrew,
	indian,
	islamic,
	islamic_civil,
	islamic_tbla,
	islamic_umalqura,
	japanese,
	persian,
	roc,
};

inline constexpr int calendar_count = 16;

// The days every calendar knows, as days_from_civil counts them: 1700-01-01 ... 2511-12-31.
inline constexpr long long first_calendar_day = days_from_civil(1700, 0, 1);
inline constexpr long long last_calendar_day = days_from_civil(2511, 11, 31);

// The calendar of a BCP 47 name in any case ("Hebrew", "islamic-umalqura"), or of ICU's own
// names for three of them: "gregorian", "ethiopic-amete-alem", "islamicc". False for none.
bool find_calendar(std::string_view name, calendar_type &type);

// The BCP 47 name: "islamic-civil".
std::string_view calendar_name(calendar_type type);

// The calendar at position 0 ... calendar_count - 1 of the list, in the order of the names.
constexpr calendar_type calendar_at(int position)
{
	return static_cast<calendar_type>(position);
}

// A month of a calendar, with the fields ICU gives its days (UCAL_ERA, UCAL_YEAR, UCAL_MONTH,
// UCAL_IS_LEAP_MONTH).
struct calendar_month {
	long long first_day; // days from 1970-01-01, as days_from_civil counts them
	int length;          // days: 5 ... 31
	int era;             // japanese: ICU's era index (236 = Reiwa); chinese, dangi: the cycle
	int year;            // in its era; chinese and dangi: 1 ... 60 of the cycle
	int related_year;    // the Gregorian year in which its year begins
	int start_year;      // its year as month_of_year and a page's start name it
	int month;           // 0-based: hebrew 0 ... 12 (5 = Adar I, in leap years only); coptic,
	                     // ethiopic, ethioaa 0 ... 12; chinese, dangi: a leap month has the
	                     // number of the month before it
	bool leap;           // chinese, dangi: a leap month ("闰六月")
	bool leap_year;      // its year has a leap day or a leap month
	int index;           // position within its year, 0-based, leap months included
	int months_in_year;  // 12 or 13
	// japanese: an era begins within the month, on this day (2 ... length), its year 1;
	// 0 when none does. The era and year above are those of the month's 1st.
	int next_era_day;
};

// The month that holds day; false when day is outside first_calendar_day ... last_calendar_day.
bool month_of_day(calendar_type type, long long day, calendar_month &month);

// Moves month on to the next one; false, month unchanged, when that would begin after
// last_calendar_day.
bool next_month(calendar_type type, calendar_month &month);

// The year as a page's start names it: the year in the calendar's current era (buddhist 2570
// for 2027, roc 116, hebrew 5788, persian 1406, islamic 1448, coptic 1743, ethiopic 2019,
// ethioaa 7519, indian 1948); for chinese, dangi and japanese the Gregorian year in which the
// calendar's year begins (a Japanese year is a Gregorian one).
// The month at index 0 ... months_in_year - 1 of year, leap months counted in the year's
// order; false when there is none, or year is not one start_year_in_range accepts.
bool month_of_year(calendar_type type, int year, int index, calendar_month &month);

// Whether year, as month_of_year names it, begins within 1701-01-01 ... 2500-12-31.
bool start_year_in_range(calendar_type type, int year);

// The week of the Gregorian year that day falls in, 1 ... 53, as a locale counts weeks: each
// begins on first_weekday (0 = Sunday ... 6), and the first of a year is the first with at
// least minimal_days (1 ... 7) days in it. Days before it are in the last week of the year
// before. With Monday and 4 this is ISO 8601's week, as iso_week counts it.
int week_of_year(long long day, int first_weekday, int minimal_days);

// The Gregorian year that the week of week_of_year belongs to: day's year, or one either side.
int week_year(long long day, int first_weekday, int minimal_days);

#endif
