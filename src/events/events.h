#ifndef PENDRIK_EVENTS_H
#define PENDRIK_EVENTS_H

#include <cstddef>

#include "event_list.h"
#include "output/diagnostics.h"

inline constexpr std::size_t max_line_size = 1000; // bytes, the line end not counted

// Reads the events of the file at path ("-" for standard input) into events: an iCalendar
// file (one that begins with BEGIN:VCALENDAR), its events and their recurrences within the page,
// or else a line each ("YYYY-MM-DD TEXT" or "MM-DD TEXT"; "#" lines and blank ones ignored).
// When the file cannot be read or is wrong, says so in one line on messages and returns false.
bool read_events(const char *path, const day_range &page, event_list &events,
                 diagnostics &messages);

#endif
