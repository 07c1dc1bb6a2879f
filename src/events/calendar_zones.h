#ifndef PENDRIK_CALENDAR_ZONES_H
#define PENDRIK_CALENDAR_ZONES_H

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "libical.h"

// The time zones a calendar file names, by every name apps write for them.

// Whether name may name a file of the system's zone data: Area/Place of letters, digits and
// "_+-", nothing that leaves the folder.
bool is_zone_name(std::string_view name);

// The IANA zone that a Windows name stands for ("W. Europe Standard Time": "Europe/Berlin");
// empty for none.
std::string_view zone_of_windows_name(std::string_view name);

// The IANA names a TZID may stand for, the likeliest first: itself, with the prefix of an
// app's zone collection taken off ("/mozilla.org/20070129_1/America/New_York"), and the zone
// of a Windows name.
std::vector<std::string> zone_names(std::string_view tzid);

// The zones of one calendar: those its VTIMEZONEs define, then those found for other names.
struct zone_book {
	std::map<std::string, icaltimezone *, std::less<>> defined; // by TZID
	std::map<std::string, icaltimezone *, std::less<>> found;   // null for none
};

// Takes a VTIMEZONE that libical read (and frees it); false when it defines no zone.
bool define_zone(zone_book &zones, icalcomponent *vtimezone, std::string_view tzid);

// The zone that tzid names: the calendar's own, else one of the system's zone data by
// zone_names; null for none.
icaltimezone *find_zone(zone_book &zones, std::string_view tzid);

void free_zones(zone_book &zones);

#endif
