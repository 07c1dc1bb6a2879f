#ifndef PENDRIK_LIBICAL_H
#define PENDRIK_LIBICAL_H

#include <libical/ical.h>

// The functions of libical that the calendar-file reader calls, one table filled at the first
// calendar file: from Debian's shared library, loaded then (libical_loaded.cpp), so that a page
// without calendar files does not load it and ICU; or from the one linked in, where it is built
// from source (libical_linked.cpp).
#define PENDRIK_LIBICAL_FUNCTIONS(F)                                                               \
	F(icalcomponent_free)                                                                      \
	F(icalcomponent_get_first_property)                                                        \
	F(icalcomponent_get_next_property)                                                         \
	F(icalerror_set_errors_are_fatal)                                                          \
	F(icalparameter_get_tzid)                                                                  \
	F(icalparser_add_line)                                                                     \
	F(icalparser_free)                                                                         \
	F(icalparser_new)                                                                          \
	F(icalproperty_get_duration)                                                               \
	F(icalproperty_get_first_parameter)                                                        \
	F(icalproperty_get_location)                                                               \
	F(icalproperty_get_rrule)                                                                  \
	F(icalproperty_get_status)                                                                 \
	F(icalproperty_get_summary)                                                                \
	F(icalproperty_get_uid)                                                                    \
	F(icalproperty_get_url)                                                                    \
	F(icalproperty_get_value)                                                                  \
	F(icalproperty_get_xlicerror)                                                              \
	F(icalproperty_isa)                                                                        \
	F(icalrecur_iterator_free)                                                                 \
	F(icalrecur_iterator_new)                                                                  \
	F(icalrecur_iterator_next)                                                                 \
	F(icalrecur_iterator_set_start)                                                            \
	F(icaltime_compare)                                                                        \
	F(icaltime_is_null_time)                                                                   \
	F(icaltime_null_time)                                                                      \
	F(icaltimezone_free)                                                                       \
	F(icaltimezone_get_utc_offset_of_utc_time)                                                 \
	F(icaltimezone_get_utc_timezone)                                                           \
	F(icaltimezone_new)                                                                        \
	F(icaltimezone_set_component)                                                              \
	F(icaltzutil_fetch_timezone)                                                               \
	F(icalvalue_free)                                                                          \
	F(icalvalue_get_datetime)                                                                  \
	F(icalvalue_get_period)                                                                    \
	F(icalvalue_get_text)                                                                      \
	F(icalvalue_isa)                                                                           \
	F(icalvalue_new_from_string)

// NOLINTNEXTLINE(bugprone-macro-parentheses): a declaration, a type and a name
#define PENDRIK_LIBICAL_FIELD(name) decltype(&::name) name;
struct libical {
	PENDRIK_LIBICAL_FUNCTIONS(PENDRIK_LIBICAL_FIELD)
};
#undef PENDRIK_LIBICAL_FIELD

// The table, filled at the first call; null when libical cannot be loaded.
const libical *load_libical();

// The table once load_libical has filled it.
const libical &ical();

#endif
