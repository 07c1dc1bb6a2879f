#ifndef PENDRIK_CALENDAR_TIME_H
#define PENDRIK_CALENDAR_TIME_H

#include "libical.h"

// The times of calendar files as the page places them: instants, local days, and rules of
// several instances a day made rules of one.

// The local days and start of one occurrence, as days_from_civil counts days.
struct local_span {
	long long first, last;
	int minute; // the local time it starts on its first day, -1 for all day
};

// Whether t is a date or time of the calendar (no 31 April, no hour 24).
bool is_real(const icaltimetype &t);

// The seconds from 1970 of a time's date and time of day as written, whatever its zone.
long long written_seconds(const icaltimetype &t);

// The instant of t, seconds from 1970: a time with a zone as RFC 5545 places it (one that the
// clocks skip with the offset before the change, one they pass twice at its first), others as
// written. libical would place both an hour later.
long long seconds_of(const icaltimetype &t);

// Where an occurrence from start for seconds falls in the page's time zone: all-day dates and
// floating times as written, times with a zone or in UTC at their local time; false when the
// C library cannot place it.
bool local_span_of(const icaltimetype &start, long long seconds, local_span &span);

// The seconds of a DURATION, 0 for a negative one: libical's own sum is an int, too small for
// long spans.
long long seconds_in(const icaldurationtype &d);

// The day counted as days_from_civil counts it, at the time of day of model, as a time like it.
icaltimetype on_day(long long day, const icaltimetype &model);

// Whether a rule part has values.
bool has(const short *part);

// Makes rule, for the days it marks, a rule of one instance a day at most: the first of each
// day's instances, with latest the time of the day's last (seconds into the day). It can where
// every day's instances stand at the same times: rules of several times a day, and of seconds,
// minutes or hours whose step divides the minute, the hour or the day, without a COUNT (which
// counts each instance), BYSETPOS, or year days and week numbers (which a daily rule has not).
bool to_one_a_day(icalrecurrencetype &rule, const icaltimetype &start, int &latest);

// Whether libical may take up a rule of hours, minutes or seconds at another time without
// losing its step: it counts the step within the hour's or the minute's own field.
bool keeps_step(const icalrecurrencetype &rule);

// Whether libical would walk rule one second or minute at a time through what it leaves out.
bool is_slow(const icalrecurrencetype &rule);

#endif
