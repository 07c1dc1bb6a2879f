#ifndef PENDRIK_CALENDAR_FILE_H
#define PENDRIK_CALENDAR_FILE_H

#include <cstdio>
#include <string_view>

#include "event_list.h"
#include "output/diagnostics.h"

// Whether a file is read as iCalendar: its first line (after a byte-order mark) is
// BEGIN:VCALENDAR, in any case, or its name ends in ".ics".
bool is_calendar_file(std::string_view start, std::string_view path);

// Reads the iCalendar file open as file for path, whose first bytes, start, are read already,
// into events as read_events does: one component at a time, each event left out with a
// warning where it cannot be placed; false, said on messages, when the file cannot be read
// at all (cut short, not iCalendar, a line past max_kept_line, no libical).
bool read_calendar_file(std::FILE *file, std::string_view start, const char *path,
                        const day_range &page, event_list &events, diagnostics &messages);

#endif
