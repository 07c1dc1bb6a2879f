#ifndef PENDRIK_TABLE_TEXT_H
#define PENDRIK_TABLE_TEXT_H

#include "events/event_list.h"
#include "output/output.h"

// Numbers first ... end - 1 of numbered (a numbered_text), as one copy.
template <class Numbered>
void put_numbered(out_stream &out, const Numbered &numbered, int first, int end)
{
	put_bytes(out, numbered.bytes + numbered.start[first],
	          numbered.start[end] - numbered.start[first]);
}

// A month or day in two ASCII digits, "01" ... "31", as a date in an attribute is written.
inline void put_two_digits(out_stream &out, int number)
{
	if (number < 10)
		put(out, "0"_crlf);
	put_int(out, number);
}

// A day as a date in an attribute: "2027-03-12"; month 0 ... 11.
inline void put_date(out_stream &out, long long year, int month, int day)
{
	put_int(out, year);
	put(out, "-"_crlf);
	put_two_digits(out, month + 1);
	put(out, "-"_crlf);
	put_two_digits(out, day);
}

// The class of a source of events: "s0" ... "s5" for files, their colours and markers in the
// style sheet (more files take them again), "h" for public holidays.
inline void put_source_class(out_stream &out, const event_list &events, std::uint32_t source)
{
	if (events.sources[source].days_off) {
		put(out, "h"_crlf);
		return;
	}
	put(out, "s"_crlf);
	put_int(out, source % 6);
}

#endif
