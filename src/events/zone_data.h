#ifndef PENDRIK_ZONE_DATA_H
#define PENDRIK_ZONE_DATA_H

#include <cstddef>

// A time zone as Windows names it ("W. Europe Standard Time") and the IANA zone it stands for.
struct windows_zone {
	const char *windows, *iana;
};

// By Windows name, in byte order (zone_data.cpp, generated from ICU).
extern const windows_zone windows_zones[];
extern const std::size_t windows_zone_count;

#endif
