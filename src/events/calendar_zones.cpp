#include "calendar_zones.h"

#include <algorithm>
#include <cstring>

#include "zone_data.h"

bool is_zone_name(std::string_view name)
{
	auto is_allowed = [](char c) {
		return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
		       c == '_' || c == '+' || c == '-' || c == '/';
	};
	if (name.empty() || name.size() > 64 || !std::all_of(name.begin(), name.end(), is_allowed))
		return false;
	// Each part begins with a letter: no "..", no empty part, no leading "/".
	for (std::size_t at = 0; at < name.size();) {
		char first = name[at];
		if (!((first >= 'A' && first <= 'Z') || (first >= 'a' && first <= 'z')))
			return false;
		at = std::min(name.find('/', at), name.size()) + 1;
	}
	return !name.ends_with('/');
}

std::string_view zone_of_windows_name(std::string_view name)
{
	const windows_zone *end = windows_zones + windows_zone_count;
	const windows_zone *found = std::lower_bound(
		windows_zones, end, name,
		[](const windows_zone &z, std::string_view n) { return z.windows < n; });
	return found != end && found->windows == name ? found->iana : std::string_view();
}

std::vector<std::string> zone_names(std::string_view tzid)
{
	std::vector<std::string> names;
	if (is_zone_name(tzid))
		names.emplace_back(tzid);
	// "/freeassociation.sourceforge.net/Tzfile/Europe/Berlin": each run of the last parts that
	// may name a zone, longest first ("America/Argentina/Buenos_Aires", "Argentina/...").
	for (std::size_t at = tzid.starts_with('/') ? 0 : std::string_view::npos;
	     at != std::string_view::npos; at = tzid.find('/', at + 1)) {
		std::string_view rest = tzid.substr(at + 1);
		if (rest.find('/') != std::string_view::npos && is_zone_name(rest) &&
		    !rest.starts_with("Tzfile/"))
			names.emplace_back(rest);
	}
	if (std::string_view iana = zone_of_windows_name(tzid); !iana.empty())
		names.emplace_back(iana);
	return names;
}

bool define_zone(zone_book &zones, icalcomponent *vtimezone, std::string_view tzid)
{
	icaltimezone *zone = ical().icaltimezone_new();
	if (tzid.empty() || ical().icaltimezone_set_component(zone, vtimezone) == 0) {
		ical().icaltimezone_free(zone, 1);
		ical().icalcomponent_free(vtimezone);
		return false;
	}
	auto [at, added] = zones.defined.emplace(tzid, zone);
	if (!added) // the first of a TZID stands
		ical().icaltimezone_free(zone, 1);
	return true;
}

namespace {

// The zone of the system's zone data named name; null for none.
icaltimezone *system_zone(const std::string &name)
{
	icalcomponent *vtimezone = ical().icaltzutil_fetch_timezone(name.c_str());
	if (vtimezone == nullptr)
		return nullptr;
	icaltimezone *zone = ical().icaltimezone_new();
	if (ical().icaltimezone_set_component(zone, vtimezone) != 0)
		return zone;
	ical().icaltimezone_free(zone, 1);
	ical().icalcomponent_free(vtimezone);
	return nullptr;
}

} // namespace

icaltimezone *find_zone(zone_book &zones, std::string_view tzid)
{
	if (auto defined = zones.defined.find(tzid); defined != zones.defined.end())
		return defined->second;
	if (auto found = zones.found.find(tzid); found != zones.found.end())
		return found->second;
	icaltimezone *zone = nullptr;
	std::vector<std::string> names = zone_names(tzid);
	(void)std::find_if(names.begin(), names.end(), [&](const std::string &name) {
		return (zone = system_zone(name)) != nullptr;
	});
	zones.found.emplace(tzid, zone);
	return zone;
}

void free_zones(zone_book &zones)
{
	for (auto *book : {&zones.defined, &zones.found}) {
		for (auto &[name, zone] : *book)
			if (zone != nullptr)
				ical().icaltimezone_free(zone, 1);
		book->clear();
	}
}
