#ifndef PENDRIK_LOCALE_NAMES_H
#define PENDRIK_LOCALE_NAMES_H

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string_view>

#include "calendar/calendars.h"
#include "locale_data.h"
#include "output/output.h"

// A page's language: its tag as the page's lang says it and the conventions of the locale
// the table has for it.
struct page_locale {
	char tag[64] = "en"; // BCP 47 in canonical case, "de-CH-1996"
	const locale_record *record = nullptr;

	[[nodiscard]] std::string_view lang() const { return tag; }
};

// The locale of name: a BCP 47 tag in any case ("de-DE", "sr-Latn-RS"), or as the LANG variable
// writes one ("de_DE.UTF-8", "de_DE@euro"; "C" and "POSIX" are English). A tag the table does not
// have falls back to its shorter forms ("de-CH-1996", "de-CH", "de"). False when none is known.
bool find_locale(const char *name, page_locale &locale);

// English, the page's language when none is asked for.
page_locale english_locale();

// Writes each tag the table knows, one a line, in order; false when the writing failed.
bool list_locales(std::FILE *to);

// The table's text at offset: HTML text, or a pattern.
std::string_view locale_string(std::uint32_t offset);

// What a pattern's fields are filled with: months 0 = January ... 11.
struct pattern_values {
	int year = 0, month = 0;           // 0x01 ... 0x04, 0x09
	int last_year = 0, last_month = 0; // 0x11 ... 0x14, 0x19
	int hour = 0, minute = 0;          // 0x05 ... 0x0e
};

// Writes the number in the locale's digits, without grouping.
void put_number(out_stream &out, const locale_record &record, long long number);

// Writes the pattern at offset with its fields filled in from values.
void put_pattern(out_stream &out, const locale_record &record, std::uint32_t pattern,
                 const pattern_values &values);

// A month of a calendar other than the Gregorian, as the locale names it: its caption, "فروردین
// ۱۴۰۶", "令和9年1月"; its word alone, "فروردین".
void put_calendar_month(out_stream &out, const locale_record &record, calendar_type type,
                        const calendar_month &month);
void put_calendar_month_word(out_stream &out, const locale_record &record, calendar_type type,
                             const calendar_month &month);

// Day 1 ... 30 of a month of a calendar other than the Gregorian, in the numerals its readers
// use: 初一 ... 三十 for the Chinese calendar in Chinese, else the locale's digits.
void put_calendar_day(out_stream &out, const locale_record &record, calendar_type type, int day);

#endif
