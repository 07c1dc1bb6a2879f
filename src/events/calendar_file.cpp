#include <algorithm>
#include <climits>
#include <ctime>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <libical/ical.h>

#include "calendar/calendar.h"
#include "calendar_file.h"
#include "output/diagnostics.h"
#include "output/output.h"
#include "platform/platform.h"

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

long long floor_div(long long value, long long divisor)
{
	return value / divisor - (value % divisor < 0 ? 1 : 0);
}

// The seconds from 1970 of a time's date and time of day as written, whatever its zone.
long long written_seconds(const icaltimetype &t)
{
	return days_from_civil(t.year, t.month - 1, t.day) * 86400 + t.hour * 3600LL +
	       t.minute * 60LL + t.second;
}

// The offset from UTC of zone at utc, seconds from 1970.
int offset_at(icaltimezone *zone, long long utc)
{
	civil_date date = civil_from_days(floor_div(utc, 86400));
	long long second = utc - floor_div(utc, 86400) * 86400;
	icaltimetype t = icaltime_null_time();
	t.year = static_cast<int>(date.year);
	t.month = date.month + 1;
	t.day = date.day;
	t.hour = static_cast<int>(second / 3600);
	t.minute = static_cast<int>(second / 60 % 60);
	t.second = static_cast<int>(second % 60);
	t.zone = icaltimezone_get_utc_timezone();
	return icaltimezone_get_utc_offset_of_utc_time(zone, &t, nullptr);
}

// The instant of t, seconds from 1970: a time with a zone as RFC 5545 places it (one that the
// clocks skip with the offset before the change, one they pass twice at its first), others as
// written. libical would place both an hour later.
long long seconds_of(const icaltimetype &t)
{
	long long written = written_seconds(t);
	if (t.zone == nullptr || t.is_date != 0)
		return written;
	auto *zone = const_cast<icaltimezone *>(t.zone);
	int before = offset_at(zone, written - 86400); // no zone changes twice within two days
	int after = offset_at(zone, written + 86400);
	auto holds = [&](int offset) { return offset_at(zone, written - offset) == offset; };
	return written - (holds(before) || !holds(after) ? before : after);
}

// Where an occurrence from start for seconds falls in the page's time zone: all-day dates and
// floating times as written, times with a zone or in UTC at their local time.
bool local_span_of(const icaltimetype &start, long long seconds, local_span &span)
{
	long long from = seconds_of(start);
	if (start.is_date != 0 || start.zone == nullptr) {
		span.first = floor_div(from, 86400);
		span.last = floor_div(from + std::max(seconds, 1LL) - 1, 86400);
		span.minute = start.is_date != 0 ? -1 : start.hour * 60 + start.minute;
		return true;
	}
	std::tm local_from{};
	std::tm local_to{};
	if (!to_local(from, local_from) || !to_local(from + std::max(0LL, seconds - 1), local_to))
		return false;
	span = {local_day(local_from), std::max(local_day(local_from), local_day(local_to)),
	        local_from.tm_hour * 60 + local_from.tm_min};
	return true;
}

// One VEVENT as it is read: the parts of its occurrences share its order and text.
struct vevent_reader {
	icalcomponent *vevent;
	std::uint32_t order;
	long long duration;                 // seconds, 0 or more
	std::vector<icaltimetype> left_out; // the starts of instances not to take
	std::set<long long> first_days;     // of the occurrences taken: a day is marked once
};

// Lays an occurrence on the page, where it touches it.
void add_occurrence(calendar_reader &r, const local_span &span, std::uint32_t order)
{
	if (span.last >= r.page_first && span.first <= r.page_last)
		r.events.occurrences.push_back({span.first, span.last, span.minute, order});
}

// Whether two starts are one: by the date as written where either is a date.
bool same_start(const icaltimetype &a, const icaltimetype &b)
{
	if (a.is_date != 0 || b.is_date != 0)
		return a.year == b.year && a.month == b.month && a.day == b.day;
	return icaltime_compare(a, b) == 0;
}

// Takes the instance of v from start, lasting seconds, unless it is left out or its day is
// taken; false when it cannot be placed in the local time zone.
bool take_instance(calendar_reader &r, vevent_reader &v, const icaltimetype &start,
                   long long seconds)
{
	if (std::any_of(v.left_out.begin(), v.left_out.end(),
	                [&](const icaltimetype &x) { return same_start(x, start); }))
		return true;
	local_span span{};
	if (!local_span_of(start, seconds, span))
		return refuse(r, v.vevent,
		              "a time the C library cannot place in the local time zone");
	if (v.first_days.insert(span.first).second) // one of many in a day marks it once
		add_occurrence(r, span, v.order);
	return r.events.occurrences.size() <= max_page_occurrences ||
	       refuse(r, nullptr, "too many events");
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

// The day counted as days_from_civil counts it, at the time of day of model, as a time like it.
icaltimetype on_day(long long day, const icaltimetype &model)
{
	civil_date date = civil_from_days(day);
	icaltimetype t = model;
	t.year = static_cast<int>(date.year);
	t.month = date.month + 1;
	t.day = date.day;
	return t;
}

bool has(const short *part)
{
	return part[0] != ICAL_RECURRENCE_ARRAY_MAX;
}

// The least and the most of a rule part's values; where it has none, of those from first on in
// steps of step below end. False when the steps would not come back to first at end.
bool bounds(const short *part, int first, int step, int end, int &least, int &most)
{
	if (has(part)) {
		least = most = part[0];
		for (int i = 1; part[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i) {
			least = std::min<int>(least, part[i]);
			most = std::max<int>(most, part[i]);
		}
		return true;
	}
	if (step <= 0 || end % step != 0)
		return false;
	least = first % step;
	most = least + (end - 1 - least) / step * step;
	return true;
}

// Makes rule, for the days it marks, a rule of one instance a day at most: the first of each
// day's instances, with latest the time of the day's last (seconds into the day). It can where
// every day's instances stand at the same times: rules of several times a day, and of seconds,
// minutes or hours whose step divides the minute, the hour or the day, without a COUNT (which
// counts each instance), BYSETPOS, or year days and week numbers (which a daily rule has not).
bool to_one_a_day(icalrecurrencetype &rule, const icaltimetype &start, int &latest)
{
	bool less_than_daily = rule.freq < ICAL_DAILY_RECURRENCE;
	if (rule.count != 0 || has(rule.by_set_pos) ||
	    (less_than_daily && (has(rule.by_year_day) || has(rule.by_week_no))))
		return false;
	// A unit finer than the rule's takes every value, a coarser one DTSTART's.
	auto step = [&](icalrecurrencetype_frequency unit, int whole) {
		return rule.freq == unit ? rule.interval : rule.freq < unit ? 1 : whole;
	};
	int second[2];
	int minute[2];
	int hour[2];
	if (!bounds(rule.by_second, start.second, step(ICAL_SECONDLY_RECURRENCE, 60), 60, second[0],
	            second[1]) ||
	    !bounds(rule.by_minute, start.minute, step(ICAL_MINUTELY_RECURRENCE, 60), 60, minute[0],
	            minute[1]) ||
	    !bounds(rule.by_hour, start.hour, step(ICAL_HOURLY_RECURRENCE, 24), 24, hour[0],
	            hour[1]))
		return false;
	if (less_than_daily) {
		rule.freq = ICAL_DAILY_RECURRENCE;
		rule.interval = 1;
	}
	for (auto [part, first] :
	     {std::pair{rule.by_second, second[0]}, std::pair{rule.by_minute, minute[0]},
	      std::pair{rule.by_hour, hour[0]}}) {
		part[0] = static_cast<short>(first);
		part[1] = ICAL_RECURRENCE_ARRAY_MAX;
	}
	latest = hour[1] * 3600 + minute[1] * 60 + second[1];
	return true;
}

// Whether libical may take up a rule of hours, minutes or seconds at another time without
// losing its step: it counts the step within the hour's or the minute's own field.
bool keeps_step(const icalrecurrencetype &rule)
{
	int whole = rule.freq == ICAL_HOURLY_RECURRENCE ? 24 : 60;
	return rule.interval > 0 && whole % rule.interval == 0;
}

// Whether libical would walk rule one second or minute at a time through what it leaves out.
bool is_slow(const icalrecurrencetype &rule)
{
	bool limited = has(rule.by_hour) || has(rule.by_day) || has(rule.by_month_day) ||
	               has(rule.by_year_day) || has(rule.by_week_no) || has(rule.by_month);
	return (rule.freq == ICAL_SECONDLY_RECURRENCE && (limited || has(rule.by_minute))) ||
	       (rule.freq == ICAL_MINUTELY_RECURRENCE && limited);
}

// Follows the RRULE of v from start up to the days that may touch the page, taking each
// instance. Without a count the rule is taken up near the page; one of several instances a day
// is followed as one of the first a day, each lasting to the day's last.
bool follow_rule(calendar_reader &r, vevent_reader &v, icalrecurrencetype rule, icaltimetype start)
{
	icalcomponent *vevent = v.vevent;
	icaltimetype from = on_day(r.page_first - v.duration / 86400 - 3, start);
	icaltimetype until = on_day(r.page_last + 2, start);
	// Hours, minutes and seconds of a day without a time: RFC 5545 has none, and libical
	// without ICU can loop for ever on some.
	if (start.is_date != 0 && (rule.freq < ICAL_DAILY_RECURRENCE || has(rule.by_hour) ||
	                           has(rule.by_minute) || has(rule.by_second)))
		return refuse(r, vevent,
		              "a rule of hours, minutes or seconds on a day without a time");
	int latest = 0;
	bool one_a_day =
		start.is_date == 0 && v.left_out.empty() && to_one_a_day(rule, start, latest);
	if (!one_a_day && is_slow(rule))
		return refuse(r, vevent, "a rule of seconds or minutes too slow to follow");
	if (icaltime_is_null_time(rule.until) || icaltime_compare(rule.until, until) > 0)
		rule.until = until; // what lies past the page is not looked for
	long long end = seconds_of(rule.until);
	icalrecur_iterator *it = icalrecur_iterator_new(rule, start);
	if (it == nullptr) // no day the rule could fall on: only DTSTART
		return true;
	if (rule.count == 0 && (rule.freq >= ICAL_DAILY_RECURRENCE || keeps_step(rule)) &&
	    icaltime_compare(start, from) < 0)
		(void)icalrecur_iterator_set_start(it, from);
	bool ok = true;
	for (icaltimetype t = icalrecur_iterator_next(it); ok && !icaltime_is_null_time(t);
	     t = icalrecur_iterator_next(it)) {
		if (--r.budget < 0) {
			ok = refuse(r, vevent, "too many occurrences to follow");
		} else if (icaltime_compare(t, from) >= 0) {
			long long rest =
				one_a_day ? latest - (t.hour * 3600 + t.minute * 60 + t.second) : 0;
			ok = take_instance(r, v, t,
			                   v.duration + std::clamp(end - seconds_of(t), 0LL,
			                                           std::max(rest, 0LL)));
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
bool add_text(calendar_reader &r, icalcomponent *vevent, std::uint32_t &order)
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
	order = add_event(r.events, text);
	return true;
}

// The seconds of a DURATION, 0 for a negative one: libical's own sum is an int, too small for
// long spans.
long long seconds_in(const icaldurationtype &d)
{
	return d.is_neg != 0 ? 0
	                     : ((d.weeks * 7LL + d.days) * 24 + d.hours) * 3600 + d.minutes * 60LL +
	                               d.seconds;
}

// The DTSTART of vevent and how long each of its occurrences lasts, in seconds.
bool start_and_duration(calendar_reader &r, icalcomponent *vevent, icaltimetype &start,
                        long long &duration)
{
	icalproperty *p = icalcomponent_get_first_property(vevent, ICAL_DTSTART_PROPERTY);
	if (p == nullptr)
		return refuse(r, vevent, "no DTSTART");
	if (!property_time(r, vevent, p, start))
		return false;
	duration = 0;
	if (icalproperty *end = icalcomponent_get_first_property(vevent, ICAL_DTEND_PROPERTY)) {
		icaltimetype t;
		if (!property_time(r, vevent, end, t))
			return false;
		duration = std::max(0LL, seconds_of(t) - seconds_of(start));
	} else if (icalproperty *d =
	                   icalcomponent_get_first_property(vevent, ICAL_DURATION_PROPERTY)) {
		duration = seconds_in(icalproperty_get_duration(d));
	}
	return true;
}

// The start of an RDATE and how long its instance lasts, in seconds: a date or a time as long
// as the event, a PERIOD from its start to its end or for its duration.
bool rdate_time(calendar_reader &r, vevent_reader &v, icalproperty *p, icaltimetype &t,
                long long &seconds)
{
	seconds = v.duration;
	if (icalvalue_isa(icalproperty_get_value(p)) != ICAL_PERIOD_VALUE)
		return property_time(r, v.vevent, p, t);
	icalperiodtype period = icalproperty_get_rdate(p).period;
	// A time of the period as the property would hold it as a DATE-TIME, TZID and all.
	auto read_time = [&](const icaltimetype &time, icaltimetype &read) {
		icalproperty *copy = icalproperty_new_clone(p);
		icalproperty_set_value(copy, icalvalue_new_datetime(time));
		bool ok = property_time(r, v.vevent, copy, read);
		icalproperty_free(copy);
		return ok;
	};
	icaltimetype end;
	if (!read_time(period.start, t))
		return false;
	if (icaltime_is_null_time(period.end)) {
		seconds = seconds_in(period.duration);
		return true;
	}
	if (!read_time(period.end, end))
		return false;
	seconds = std::max(0LL, seconds_of(end) - seconds_of(t));
	return true;
}

// Reads one VEVENT: each of its occurrences that touches the page.
bool read_vevent(calendar_reader &r, icalcomponent *vevent)
{
	if (icalcomponent_get_status(vevent) == ICAL_STATUS_CANCELLED)
		return true;
	vevent_reader v{vevent, 0, {}, {}, {}};
	icaltimetype start;
	if (!start_and_duration(r, vevent, start, v.duration) || !add_text(r, vevent, v.order))
		return false;
	// An override is one instance; the others may recur. Their properties are looked at one
	// kind at a time: libical keeps one place in them for each VEVENT.
	if (icalcomponent_get_first_property(vevent, ICAL_RECURRENCEID_PROPERTY) != nullptr)
		return take_instance(r, v, start, v.duration);
	v.left_out = left_out(r, vevent);
	icalproperty *rule = icalcomponent_get_first_property(vevent, ICAL_RRULE_PROPERTY);
	// DTSTART is the first instance, whether the rule gives it or not (RFC 5545, 3.8.5.3).
	bool ok = (rule == nullptr || follow_rule(r, v, icalproperty_get_rrule(rule), start)) &&
	          take_instance(r, v, start, v.duration);
	for (icalproperty *p = icalcomponent_get_first_property(vevent, ICAL_RDATE_PROPERTY);
	     ok && p != nullptr; p = icalcomponent_get_next_property(vevent, ICAL_RDATE_PROPERTY)) {
		icaltimetype t;
		long long seconds = 0;
		ok = rdate_time(r, v, p, t, seconds) && take_instance(r, v, t, seconds);
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

bool read_calendar_file(const std::string &text, const char *path, const day_range &page,
                        event_list &events, diagnostics &messages)
{
	calendar_reader r{path, page.first, page.last, events, {}, {}, instance_budget};
	// libical says some of what it finds wrong on standard error itself.
	stderr_state saved = quiet_stderr();
	bool ok = read_calendars(r, text);
	restore_stderr(saved);
	if (!ok)
		refuse(messages, "", r.fault);
	return ok;
}
