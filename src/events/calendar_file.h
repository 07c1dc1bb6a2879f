#ifndef PENDRIK_CALENDAR_FILE_H
#define PENDRIK_CALENDAR_FILE_H

#include <string>

#include "event_list.h"
#include "output/diagnostics.h"

// Reads an iCalendar file's text, checked to be UTF-8, into events, as read_events does.
bool read_calendar_file(const std::string &text, const char *path, const day_range &page,
                        event_list &events, diagnostics &messages);

#endif
