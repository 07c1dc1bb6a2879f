#include <algorithm>
#include <climits>
#include <ctime>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <libical/ical.h>

#include "calendar.h"
#include "events.h"
#include "output.h"
#include "page_file.h"

// iCalendar files, read by libical: what the library does (unfolding, escapes, time zones,
// recurrence rules) stays the library's; this file checks what it gives and lays each event's
// occurrences on the page's days.

namespace {

// Rule instances looked at in one file at most, before or on the page: a rule with a count
// must be followed from its start. Far more than any calendar people keep.
constexpr long long instance_budget = 500000;

// The local days and start of one occurrence, as days_from_civil counts days.
struct local_span {
	long long first, last;
	int minute; // the local time it starts on its first day, -1 for all day
};

// One VEVENT's overrides: the starts of the instances that another VEVENT replaces.
using override_map = std::multimap<std::string, icaltimetype>;

struct calendar_reader {
	const char *path;
	long long page_first, page_last; // the page's days
	event_list &events;
	std::string fault; // what is wrong with the file, said once libical is done
	override_map overrides;
	long long budget = instance_budget;
};

// Notes "PATH: event UID: FAULT" (or "PATH: FAULT" for none); the reader's result for it.
bool refuse(calendar_reader &r, icalcomponent *vevent, std::string_view fault)
{
	const char *uid = vevent != nullptr ? icalcomponent_get_uid(vevent) : nullptr;
	r.fault = r.path;
	r.fault += uid != nullptr ? std::string(": event ") + uid + ": " : std::string(": ");
	r.fault += fault;
	return false;
}

bool is_real(const icaltimetype &t)
{
	return t.year >= 1 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
	       t.day <= month_length(t.year, t.month - 1) &&
	       (t.is_date != 0 || (t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 &&
	                           t.second >= 0 && t.second <= 60));
}

// The text of component's first X-LIC-ERROR property, where libical says what it could not
// read; null for none.
const char *error_of(icalcomponent *component)
{
	icalproperty *p = icalcomponent_get_first_property(component, ICAL_XLICERROR_PROPERTY);
	return p != nullptr ? icalproperty_get_xlicerror(p) : nullptr;
}

// The first error libical left in the calendar, in it or in its components and theirs (the
// alarms of events, the rules of time zones), with the component of the calendar it stands
// in; false when there is none.
bool find_error(icalcomponent *calendar, icalcomponent *&where, const char *&error)
{
	where = calendar;
	if ((error = error_of(calendar)) != nullptr)
		return true;
	for (where = icalcomponent_get_first_component(calendar, ICAL_ANY_COMPONENT);
	     where != nullptr;
	     where = icalcomponent_get_next_component(calendar, ICAL_ANY_COMPONENT)) {
		if ((error = error_of(where)) != nullptr)
			return true;
		for (icalcomponent *c =
		             icalcomponent_get_first_component(where, ICAL_ANY_COMPONENT);
		     c != nullptr; c = icalcomponent_get_next_component(where, ICAL_ANY_COMPONENT))
			if ((error = error_of(c)) != nullptr)
				return true;
	}
	// Deeper still, where no file of people's calendars goes.
	error = "an error libical found";
	return icalcomponent_count_errors(calendar) > 0;
}

long long local_day(const std::tm &t)
{
	return days_from_civil(t.tm_year + 1900LL, t.tm_mon, t.tm_mday);
}

bool to_local(std::time_t t, std::tm &local)
{
#ifdef _WIN32
	return localtime_s(&local, &t) == 0;
#else
	return localtime_r(&t, &local) != nullptr;
#endif
}

// Where an occurrence from start for duration falls in the page's time zone: all-day dates and
// floating times as written, times with a zone or in UTC at their local time.
bool local_span_of(icaltimetype start, icaldurationtype duration, local_span &span)
{
	long long seconds = icaldurationtype_as_int(duration);
	if (start.is_date != 0) {
		span.first = days_from_civil(start.year, start.month - 1, start.day);
		span.last = span.first + std::max(1LL, (seconds + 86399) / 86400) - 1;
		span.minute = -1;
		return true;
	}
	if (start.zone == nullptr) { // floating
		icaltimetype end = icaltime_add(start, duration);
		if (seconds > 0)
			icaltime_adjust(&end, 0, 0, 0, -1);
		span.first = days_from_civil(start.year, start.month - 1, start.day);
		span.last = std::max(span.first, days_from_civil(end.year, end.month - 1, end.day));
		span.minute = start.hour * 60 + start.minute;
		return true;
	}
	std::time_t t = icaltime_as_timet_with_zone(start, start.zone);
	std::tm from{};
	std::tm to{};
	if (!to_local(t, from) || !to_local(t + std::max(0LL, seconds - 1), to))
		return false;
	span = {local_day(from), std::max(local_day(from), local_day(to)),
	        from.tm_hour * 60 + from.tm_min};
	return true;
}

// One VEVENT as it is read: the parts of its occurrences share its order and text.
struct vevent_reader {
	icalcomponent *vevent;
	event model;
	icaldurationtype duration;
	std::vector<icaltimetype> left_out; // the starts of instances not to take
	std::set<long long> first_days;     // of the occurrences taken: a day is marked once
};

// Lays an occurrence on the page's days: a part for each month it touches, the first with its
// start time.
void add_occurrence(calendar_reader &r, const local_span &span, const event &model)
{
	for (long long day = std::max(span.first, r.page_first);
	     day <= std::min(span.last, r.page_last);) {
		civil_date date = civil_from_days(day);
		int month_end = month_length(date.year, date.month);
		event part = model;
		part.year = static_cast<int>(date.year);
		part.month = date.month;
		part.day = date.day;
		part.last_day = static_cast<int>(std::min<long long>(
			month_end, date.day + std::min(span.last, r.page_last) - day));
		part.minute = day == span.first ? span.minute : -1;
		r.events.dated.push_back(part);
		day += part.last_day - part.day + 1;
	}
}

// Whether two starts are one: by the date as written where either is a date.
bool same_start(const icaltimetype &a, const icaltimetype &b)
{
	if (a.is_date != 0 || b.is_date != 0)
		return a.year == b.year && a.month == b.month && a.day == b.day;
	return icaltime_compare(a, b) == 0;
}

// Takes the instance of v from start, unless it is left out or its day is taken; false when
// it cannot be placed in the local time zone.
bool take_instance(calendar_reader &r, vevent_reader &v, const icaltimetype &start)
{
	if (std::any_of(v.left_out.begin(), v.left_out.end(),
	                [&](const icaltimetype &x) { return same_start(x, start); }))
		return true;
	local_span span{};
	if (!local_span_of(start, v.duration, span))
		return refuse(r, v.vevent,
		              "a time the C library cannot place in the local time zone");
	if (v.first_days.insert(span.first).second) // one of many in a day marks it once
		add_occurrence(r, span, v.model);
	return true;
}

// The starts of the instances of vevent that are left out: its EXDATEs, and those that other
// VEVENTs of its UID replace.
std::vector<icaltimetype> left_out(calendar_reader &r, icalcomponent *vevent)
{
	std::vector<icaltimetype> starts;
	for (icalproperty *p = icalcomponent_get_first_property(vevent, ICAL_EXDATE_PROPERTY);
	     p != nullptr; p = icalcomponent_get_next_property(vevent, ICAL_EXDATE_PROPERTY))
		starts.push_back(icalproperty_get_datetime_with_component(p, vevent));
	const char *uid = icalcomponent_get_uid(vevent);
	auto [from, to] = r.overrides.equal_range(uid != nullptr ? uid : "");
	for (; from != to; ++from)
		starts.push_back(from->second);
	return starts;
}

// The day counted as days_from_civil counts it, at midnight, as a time like model.
icaltimetype time_of_day(long long day, const icaltimetype &model)
{
	civil_date date = civil_from_days(day);
	icaltimetype t = model;
	t.year = static_cast<int>(date.year);
	t.month = date.month + 1;
	t.day = date.day;
	t.hour = t.minute = t.second = 0;
	return t;
}

// Whether a rule of hours, minutes or seconds comes back to the same times every day, so that
// libical may take it up on another day without losing its step.
bool divides_day(const icalrecurrencetype &rule)
{
	int per_day = rule.freq == ICAL_HOURLY_RECURRENCE     ? 24
	              : rule.freq == ICAL_MINUTELY_RECURRENCE ? 24 * 60
	                                                      : 24 * 60 * 60;
	return rule.interval > 0 && per_day % rule.interval == 0;
}

// Follows the RRULE of v from start, on the days that may touch the page, taking each instance.
// Without a count the rule is taken up near the page; a rule of more than one instance a day
// is taken up again on the next day, as it marks a day once.
bool follow_rule(calendar_reader &r, vevent_reader &v, icalrecurrencetype rule, icaltimetype start)
{
	icalcomponent *vevent = v.vevent;
	long long lead_days = icaldurationtype_as_int(v.duration) / 86400 + 1;
	icaltimetype from = time_of_day(r.page_first - lead_days - 2, start);
	icaltimetype until = time_of_day(r.page_last + 2, start);
	// Hours, minutes and seconds of a day without a time: RFC 5545 has none, and libical
	// without ICU can loop for ever on some.
	bool often = rule.freq == ICAL_SECONDLY_RECURRENCE ||
	             rule.freq == ICAL_MINUTELY_RECURRENCE || rule.freq == ICAL_HOURLY_RECURRENCE;
	if (start.is_date != 0 && (often || rule.by_hour[0] != ICAL_RECURRENCE_ARRAY_MAX ||
	                           rule.by_minute[0] != ICAL_RECURRENCE_ARRAY_MAX ||
	                           rule.by_second[0] != ICAL_RECURRENCE_ARRAY_MAX))
		return refuse(r, vevent,
		              "a rule of hours, minutes or seconds on a day without a time");
	icalrecur_iterator *it = icalrecur_iterator_new(rule, start);
	if (it == nullptr)
		return refuse(r, vevent, "a rule libical cannot follow");
	bool skips = rule.count == 0 && (!often || divides_day(rule)) &&
	             icaltime_compare(start, from) < 0 &&
	             (icaltime_is_null_time(rule.until) || icaltime_compare(rule.until, from) >= 0);
	if (skips)
		(void)icalrecur_iterator_set_start(it, from);
	bool ok = true;
	for (icaltimetype t = icalrecur_iterator_next(it); !icaltime_is_null_time(t);
	     t = icalrecur_iterator_next(it)) {
		if (icaltime_compare(t, until) > 0)
			break;
		if (--r.budget < 0) {
			ok = refuse(r, vevent, "too many occurrences to follow");
			break;
		}
		if (icaltime_compare(t, from) >= 0 && !(ok = take_instance(r, v, t)))
			break;
		if (often && skips) {
			icaltimetype next =
				time_of_day(days_from_civil(t.year, t.month - 1, t.day) + 1, t);
			(void)icalrecur_iterator_set_start(it, next);
		}
	}
	icalrecur_iterator_free(it);
	return ok;
}

// The time that property holds, its TZID resolved; refuses a time that does not exist or a
// zone that cannot be found.
bool property_time(calendar_reader &r, icalcomponent *vevent, icalproperty *p, icaltimetype &t)
{
	t = icalproperty_get_datetime_with_component(p, vevent);
	if (icaltime_is_null_time(t) || !is_real(t))
		return refuse(r, vevent,
		              std::string("no such date or time: ") +
		                      icalproperty_get_value_as_string(p));
	icalparameter *tzid = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER);
	if (tzid != nullptr && t.zone == nullptr && t.is_date == 0)
		return refuse(r, vevent,
		              std::string("unknown time zone: ") + icalparameter_get_tzid(tzid));
	return true;
}

// The event's text: its SUMMARY with line breaks and tabs as spaces, as HTML text.
bool add_text(calendar_reader &r, icalcomponent *vevent, event &model)
{
	const char *summary = icalcomponent_get_summary(vevent);
	std::string text = summary != nullptr ? summary : "";
	std::replace_if(
		text.begin(), text.end(),
		[](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
	text.erase(0, text.find_first_not_of(' '));
	text.erase(text.find_last_not_of(' ') + 1);
	if (text.empty())
		return refuse(r, vevent, "no SUMMARY");
	model.text_at = r.events.texts.size();
	r.events.texts.resize(model.text_at + escaped_byte_size * text.size());
	model.text_size = escape_html(text, r.events.texts.data() + model.text_at);
	r.events.texts.resize(model.text_at + model.text_size);
	return true;
}

// The DTSTART of vevent and how long each of its occurrences lasts.
bool start_and_duration(calendar_reader &r, icalcomponent *vevent, icaltimetype &start,
                        icaldurationtype &duration)
{
	icalproperty *p = icalcomponent_get_first_property(vevent, ICAL_DTSTART_PROPERTY);
	if (p == nullptr)
		return refuse(r, vevent, "no DTSTART");
	if (!property_time(r, vevent, p, start))
		return false;
	duration = icaldurationtype_null_duration();
	if (icalproperty *end = icalcomponent_get_first_property(vevent, ICAL_DTEND_PROPERTY)) {
		icaltimetype t;
		if (!property_time(r, vevent, end, t))
			return false;
		long long seconds = icaltime_as_timet_with_zone(t, t.zone) -
		                    icaltime_as_timet_with_zone(start, start.zone);
		duration = icaldurationtype_from_int(
			static_cast<int>(std::clamp<long long>(seconds, 0, INT_MAX)));
	} else if (icalproperty *d =
	                   icalcomponent_get_first_property(vevent, ICAL_DURATION_PROPERTY)) {
		duration = icalproperty_get_duration(d);
	}
	return true;
}

// Reads one VEVENT: each of its occurrences that touches the page.
bool read_vevent(calendar_reader &r, icalcomponent *vevent)
{
	if (icalcomponent_get_status(vevent) == ICAL_STATUS_CANCELLED)
		return true;
	if (r.events.count == max_events)
		return refuse(r, nullptr, "too many events");
	vevent_reader v{vevent, {}, {}, {}, {}};
	v.model.order = r.events.count++;
	icaltimetype start;
	if (!start_and_duration(r, vevent, start, v.duration) || !add_text(r, vevent, v.model))
		return false;
	// An override is one instance; the others may recur. Their properties are looked at one
	// kind at a time: libical keeps one place in them for each VEVENT.
	if (icalcomponent_get_first_property(vevent, ICAL_RECURRENCEID_PROPERTY) != nullptr)
		return take_instance(r, v, start);
	v.left_out = left_out(r, vevent);
	icalproperty *rule = icalcomponent_get_first_property(vevent, ICAL_RRULE_PROPERTY);
	bool ok = rule != nullptr ? follow_rule(r, v, icalproperty_get_rrule(rule), start)
	                          : take_instance(r, v, start);
	for (icalproperty *p = icalcomponent_get_first_property(vevent, ICAL_RDATE_PROPERTY);
	     ok && p != nullptr; p = icalcomponent_get_next_property(vevent, ICAL_RDATE_PROPERTY)) {
		icaltimetype t;
		ok = property_time(r, vevent, p, t) && take_instance(r, v, t);
	}
	return ok;
}

// Reads one VCALENDAR into r, or notes what is wrong with it.
bool read_vcalendar(calendar_reader &r, icalcomponent *calendar)
{
	icalcomponent *where = nullptr;
	const char *error = nullptr;
	bool ok = !find_error(calendar, where, error) ||
	          refuse(r, where == calendar ? nullptr : where, error);
	for (icalcomponent *c = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
	     ok && c != nullptr;
	     c = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
		if (icalproperty *p =
		            icalcomponent_get_first_property(c, ICAL_RECURRENCEID_PROPERTY)) {
			icaltimetype id;
			const char *uid = icalcomponent_get_uid(c);
			if ((ok = property_time(r, c, p, id)))
				r.overrides.emplace(uid != nullptr ? uid : "", id);
		}
	for (icalcomponent *c = icalcomponent_get_first_component(calendar, ICAL_VEVENT_COMPONENT);
	     ok && c != nullptr;
	     c = icalcomponent_get_next_component(calendar, ICAL_VEVENT_COMPONENT))
		ok = read_vevent(r, c);
	r.overrides.clear();
	return ok;
}

// Reads the calendars of text into r, or notes what is wrong with them. Files put together
// end to end are calendars under one root.
bool read_calendars(calendar_reader &r, const std::string &text)
{
	icalerror_set_errors_are_fatal(0);
	icalcomponent *root = icalparser_parse_string(text.c_str());
	icalcomponent_kind kind = root != nullptr ? icalcomponent_isa(root) : ICAL_NO_COMPONENT;
	bool ok = kind == ICAL_VCALENDAR_COMPONENT || kind == ICAL_XROOT_COMPONENT ||
	          refuse(r, nullptr, "not a whole iCalendar file: cut short, or no END:VCALENDAR");
	if (ok && kind == ICAL_VCALENDAR_COMPONENT)
		ok = read_vcalendar(r, root);
	for (icalcomponent *c =
	             ok && kind == ICAL_XROOT_COMPONENT
	                     ? icalcomponent_get_first_component(root, ICAL_VCALENDAR_COMPONENT)
	                     : nullptr;
	     ok && c != nullptr;
	     c = icalcomponent_get_next_component(root, ICAL_VCALENDAR_COMPONENT))
		ok = read_vcalendar(r, c);
	if (root != nullptr)
		icalcomponent_free(root);
	return ok;
}

} // namespace

bool read_calendar_file(const std::string &text, const char *path, const month_range &range,
                        event_list &events, std::FILE *messages)
{
	int last_month = range.month + range.count - 1;
	int last_year = range.year + last_month / 12;
	calendar_reader r{path,
	                  days_from_civil(range.year, range.month, 1),
	                  days_from_civil(last_year, last_month % 12,
	                                  month_length(last_year, last_month % 12)),
	                  events,
	                  {},
	                  {},
	                  instance_budget};
	// libical says some of what it finds wrong on standard error itself.
	stderr_state saved = quiet_stderr();
	bool ok = read_calendars(r, text);
	restore_stderr(saved);
	if (!ok)
		print_message(messages, "", r.fault);
	return ok;
}
