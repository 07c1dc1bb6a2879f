#ifndef PENDRIK_MODERN_TABLE_H
#define PENDRIK_MODERN_TABLE_H

#include <ctime>
#include <string_view>

#include "events.h"
#include "locale_names.h"
#include "output.h"

// How the modern page lays out its months, in which names, with which events.
struct modern_layout {
	bool monday = false;       // weeks run Monday to Sunday, else Sunday to Saturday
	bool week_numbers = false; // an ISO week number heads each week row; needs monday
	const calendar_names *names = &english_names();
	const event_list *events = nullptr; // sorted; none when null
};

inline void put_name(out_stream &out, const html_name &name)
{
	put_bytes(out, name.bytes, name.size);
}

// "March 2027", as a caption and the page's title name a month.
inline void put_month_and_year(out_stream &out, const calendar_names &names, int month, int year)
{
	put_name(out, names.months[month]);
	put_bytes(out, " ", 1);
	put_int(out, year);
}

// A table's column heads as ready text, made once for a page: the head row and the opening
// of the body.
struct modern_head {
	char bytes[1024 + 16 * name_capacity] = {};
	std::size_t size = 0;
};

modern_head make_modern_head(const modern_layout &layout);

// Writes the month of date (only tm_mon, tm_year, and a tm_mday with its tm_wday are read, for
// a year of 1000 to 9999) as a modern month table, its week rows in full, the day today_day
// (0 for none) marked as today, the days of events marked and the events listed under it.
// Returns the weekday of the following month's 1st.
int write_modern_table(out_stream &out, const std::tm &date, int today_day,
                       const modern_layout &layout, const modern_head &head,
                       const month_events &events);

#endif
