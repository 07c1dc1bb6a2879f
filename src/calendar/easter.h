#ifndef PENDRIK_EASTER_H
#define PENDRIK_EASTER_H

#include "calendar.h"

// Easter Sunday of a year as days_from_civil counts days: the Western date by the Gregorian
// computus (the anonymous algorithm of 1876), the Orthodox by the Julian one, given as its
// Gregorian date.
constexpr long long western_easter(long long year)
{
	long long a = year % 19;
	long long b = year / 100;
	long long c = year % 100;
	long long h = (19 * a + b - b / 4 - (b - (b + 8) / 25 + 1) / 3 + 15) % 30;
	long long l = (32 + 2 * (b % 4) + 2 * (c / 4) - h - c % 4) % 7;
	long long m = (a + 11 * h + 22 * l) / 451;
	long long month = (h + l - 7 * m + 114) / 31; // 3 or 4
	long long day = (h + l - 7 * m + 114) % 31 + 1;
	return days_from_civil(year, static_cast<int>(month) - 1, static_cast<int>(day));
}

constexpr long long orthodox_easter(long long year)
{
	long long a = year % 4;
	long long b = year % 7;
	long long c = year % 19;
	long long d = (19 * c + 15) % 30;
	long long e = (2 * a + 4 * b - d + 34) % 7;
	long long month = (d + e + 114) / 31; // of the Julian calendar
	long long day = (d + e + 114) % 31 + 1;
	// In March and April the Julian calendar is this many days behind the Gregorian.
	long long behind = year / 100 - year / 400 - 2;
	return days_from_civil(year, static_cast<int>(month) - 1, static_cast<int>(day)) + behind;
}

static_assert(western_easter(2027) == days_from_civil(2027, 2, 28));
static_assert(orthodox_easter(2027) == days_from_civil(2027, 4, 2));
static_assert(western_easter(2024) == days_from_civil(2024, 2, 31));
static_assert(orthodox_easter(2024) == days_from_civil(2024, 4, 5));

#endif
