#ifndef PENDRIK_CALENDAR_READER_H
#define PENDRIK_CALENDAR_READER_H

#include <cstddef>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "calendar_lines.h"
#include "calendar_zones.h"
#include "event_list.h"
#include "libical.h"
#include "output/diagnostics.h"

// What the reader of one calendar file keeps while it reads: the parts of calendar_file.cpp
// (its lines and components) and calendar_event.cpp (each VEVENT) share it.

// Rule instances before the page passed over in one file at most: a rule with a count must be
// followed from its start. Far more than any calendar people keep.
inline constexpr long long instance_budget = 500000;

// An instance of a recurring event on the page, which an override may replace.
struct taken_instance {
	std::size_t uid;        // in file_reader::uids
	long long day, instant; // its date as written; its seconds from 1970
	bool is_date;
	std::size_t occurrence; // its index in event_list::occurrences
};

// The start of an instance that an override (RECURRENCE-ID) replaces, as taken_instance keys
// it: a date by its day, a time by its instant and, for instances of dates, its day.
struct replaced_start {
	std::string uid;
	int kind; // 0 a date's day, 1 a time's instant, 2 a time's day
	long long value;
	bool operator<(const replaced_start &other) const
	{
		return std::tie(uid, kind, value) < std::tie(other.uid, other.kind, other.value);
	}
};

struct file_reader {
	const char *path;
	day_range page;
	event_list &events;
	diagnostics &messages;
	icalparser *parser = nullptr;
	zone_book zones{};
	std::set<std::string, std::less<>> unknown_zones{}; // warned of once
	std::vector<std::string> uids{};                    // of the recurring events taken
	std::vector<taken_instance> taken{};
	std::set<replaced_start> replaced{};
	long long budget = instance_budget;
	bool refused = false;
};

// Warns of line of the file, for an event of uid where it has one: "event UID: WHAT".
void warn_of(file_reader &r, unsigned long long line, std::string_view uid, std::string_view what);

// Reads one VEVENT from its lines: its occurrences on the page, or a warning why not.
void read_vevent(file_reader &r, const raw_component &raw);

#endif
