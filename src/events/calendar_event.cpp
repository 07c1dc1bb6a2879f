#include <algorithm>
#include <string>
#include <vector>

#include "calendar/calendar.h"
#include "calendar_reader.h"
#include "calendar_time.h"
#include "output/output.h"

// One VEVENT, read by libical from the lines kept of it: what the library does (escapes,
// values, recurrence rules, time zones' offsets) stays the library's; this file checks what it
// gives and lays each occurrence on the page's days.

namespace {

// The properties of a VEVENT that the page uses, and the errors libical found in them.
struct vevent_parts {
	icalproperty *dtstart = nullptr, *dtend = nullptr, *duration = nullptr;
	icalproperty *recurrence_id = nullptr, *status = nullptr, *summary = nullptr;
	icalproperty *location = nullptr, *url = nullptr;
	std::string uid;
	std::vector<icalproperty *> rrules, rdates, exdates;
	std::vector<const char *> errors;
};

// The slot of a property that the page takes the first of; null for others.
icalproperty **first_slot(vevent_parts &v, icalproperty_kind kind)
{
	switch (kind) {
	case ICAL_DTSTART_PROPERTY:
		return &v.dtstart;
	case ICAL_DTEND_PROPERTY:
		return &v.dtend;
	case ICAL_DURATION_PROPERTY:
		return &v.duration;
	case ICAL_RECURRENCEID_PROPERTY:
		return &v.recurrence_id;
	case ICAL_STATUS_PROPERTY:
		return &v.status;
	case ICAL_SUMMARY_PROPERTY:
		return &v.summary;
	case ICAL_LOCATION_PROPERTY:
		return &v.location;
	case ICAL_URL_PROPERTY:
		return &v.url;
	default:
		return nullptr;
	}
}

// The list of a property that the page takes every one of; null for others.
std::vector<icalproperty *> *list_of(vevent_parts &v, icalproperty_kind kind)
{
	switch (kind) {
	case ICAL_RRULE_PROPERTY:
		return &v.rrules;
	case ICAL_RDATE_PROPERTY:
		return &v.rdates;
	case ICAL_EXDATE_PROPERTY:
		return &v.exdates;
	default:
		return nullptr;
	}
}

vevent_parts parts_of(icalcomponent *vevent)
{
	vevent_parts v;
	for (icalproperty *p = ical().icalcomponent_get_first_property(vevent, ICAL_ANY_PROPERTY);
	     p != nullptr; p = ical().icalcomponent_get_next_property(vevent, ICAL_ANY_PROPERTY)) {
		icalproperty_kind kind = ical().icalproperty_isa(p);
		const char *uid =
			kind == ICAL_UID_PROPERTY ? ical().icalproperty_get_uid(p) : nullptr;
		if (icalproperty **slot = first_slot(v, kind); slot != nullptr && *slot == nullptr)
			*slot = p;
		else if (std::vector<icalproperty *> *list = list_of(v, kind); list != nullptr)
			list->push_back(p);
		else if (kind == ICAL_XLICERROR_PROPERTY)
			v.errors.push_back(ical().icalproperty_get_xlicerror(p));
		else if (uid != nullptr && v.uid.empty())
			v.uid = uid;
	}
	return v;
}

// One VEVENT as it is read: the parts of its occurrences share its order and text.
struct vevent_reader {
	file_reader &r;
	const raw_component &raw;
	vevent_parts parts;
	std::uint32_t order = 0;
	long long duration = 0;               // seconds, 0 or more
	bool replaceable = false;             // its instances are noted for overrides
	std::vector<icaltimetype> left_out{}; // the starts of instances not to take
	std::set<long long> first_days{};     // of the occurrences taken: a day is marked once
};

void warn_event(vevent_reader &v, unsigned long long line, std::string_view what)
{
	warn_of(v.r, line, v.parts.uid, what);
}

// The line where the event's first property of name begins (the event's own for none), and
// its value.
unsigned long long line_of(const raw_component &raw, std::string_view name,
                           std::string_view *value = nullptr)
{
	unsigned long long found = 0;
	for_each_line(raw, [&](std::string_view line, unsigned long long number) {
		content_line p;
		if (found == 0 && split_line(line, p) && is_name(p.name, name)) {
			found = number;
			if (value != nullptr)
				*value = p.value;
		}
	});
	return found != 0 ? found : raw.line;
}

// Says what libical could not read of the properties the page uses: the line of the error's
// value, found among the event's lines. True when it was the event's DTSTART or RECURRENCE-ID.
bool warn_of_errors(vevent_reader &v)
{
	bool fatal = false;
	for (std::string_view error : v.parts.errors)
		for_each_line(v.raw, [&](std::string_view line, unsigned long long number) {
			content_line p;
			if (!split_line(line, p) || p.value.empty() ||
			    !error.ends_with(": " + std::string(p.value)))
				return;
			bool whole = is_name(p.name, "DTSTART") || is_name(p.name, "RECURRENCE-ID");
			fatal = fatal || whole;
			std::string what =
				whole ? "left out: " : std::string(p.name) + " left out: ";
			warn_event(v, number,
			           what.append(p.name).append(" cannot be read: ").append(p.value));
			error = {}; // said once
		});
	return fatal;
}

// The time that property holds, its TZID resolved (a zone the file and the system do not
// know places it in the page's zone); false for a time that does not exist.
bool property_time(vevent_reader &v, icalproperty *p, icaltimetype &t)
{
	icalvalue *value = ical().icalproperty_get_value(p);
	icalvalue_kind kind = value != nullptr ? ical().icalvalue_isa(value) : ICAL_NO_VALUE;
	if (kind != ICAL_DATE_VALUE && kind != ICAL_DATETIME_VALUE)
		return false;
	t = ical().icalvalue_get_datetime(value);
	if (!is_real(t))
		return false;
	icalparameter *tzid = ical().icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER);
	const char *name = tzid != nullptr ? ical().icalparameter_get_tzid(tzid) : nullptr;
	if (name == nullptr || t.is_date != 0 || t.zone != nullptr)
		return true;
	t.zone = find_zone(v.r.zones, name);
	if (t.zone == nullptr && v.r.unknown_zones.emplace(name).second)
		warn_event(v, v.raw.line,
		           std::string("time zone ") + name +
		                   " unknown: its times placed in the page's time zone");
	return true;
}

// Whether two starts are one: by the date as written where either is a date.
bool same_start(const icaltimetype &a, const icaltimetype &b)
{
	if (a.is_date != 0 || b.is_date != 0)
		return a.year == b.year && a.month == b.month && a.day == b.day;
	return seconds_of(a) == seconds_of(b);
}

// Takes the instance of v from start, lasting seconds, unless it is left out or its day is
// taken; false when the reading must stop (the page would list too many).
bool take_instance(vevent_reader &v, const icaltimetype &start, long long seconds)
{
	if (std::any_of(v.left_out.begin(), v.left_out.end(),
	                [&](const icaltimetype &x) { return same_start(x, start); }))
		return true;
	local_span span{};
	if (!local_span_of(start, seconds, span)) {
		warn_event(v, v.raw.line,
		           "an instance left out: a time the C library cannot place");
		return true;
	}
	if (span.last < v.r.page.first || span.first > v.r.page.last ||
	    !v.first_days.insert(span.first).second) // one of many in a day marks it once
		return true;
	std::vector<event> &all = v.r.events.occurrences;
	if (v.replaceable)
		v.r.taken.push_back({v.r.uids.size() - 1,
		                     days_from_civil(start.year, start.month - 1, start.day),
		                     seconds_of(start), start.is_date != 0, all.size()});
	all.push_back({span.first, span.last, span.minute, v.order});
	if (all.size() <= max_page_occurrences)
		return true;
	v.r.refused = true;
	return refuse_file(v.r.messages, v.r.path, 0, "too many events");
}

// Follows an RRULE of v from start up to the days that may touch the page, taking each
// instance. Without a count the rule is taken up near the page; one of several instances a day
// is followed as one of the first a day, each lasting to the day's last.
bool follow_rule(vevent_reader &v, icalrecurrencetype rule, icaltimetype start,
                 unsigned long long line)
{
	icaltimetype from = on_day(v.r.page.first - v.duration / 86400 - 3, start);
	icaltimetype until = on_day(v.r.page.last + 2, start);
	// Hours, minutes and seconds of a day without a time: RFC 5545 has none, and libical
	// without ICU can loop for ever on some.
	if (start.is_date != 0 && (rule.freq < ICAL_DAILY_RECURRENCE || has(rule.by_hour) ||
	                           has(rule.by_minute) || has(rule.by_second))) {
		warn_event(v, line,
		           "rule left out: hours, minutes or seconds on a day without a time");
		return true;
	}
	int latest = 0;
	bool one_a_day =
		start.is_date == 0 && v.left_out.empty() && to_one_a_day(rule, start, latest);
	if (!one_a_day && is_slow(rule)) {
		warn_event(v, line, "rule left out: seconds or minutes too slow to follow");
		return true;
	}
	if (ical().icaltime_is_null_time(rule.until) != 0 ||
	    ical().icaltime_compare(rule.until, until) > 0)
		rule.until = until; // what lies past the page is not looked for
	long long end = seconds_of(rule.until);
	icalrecur_iterator *it = ical().icalrecur_iterator_new(rule, start);
	if (it == nullptr) // no day the rule could fall on: only DTSTART
		return true;
	if (rule.count == 0 && (rule.freq >= ICAL_DAILY_RECURRENCE || keeps_step(rule)) &&
	    ical().icaltime_compare(start, from) < 0)
		(void)ical().icalrecur_iterator_set_start(it, from);
	bool ok = true;
	for (icaltimetype t = ical().icalrecur_iterator_next(it);
	     ok && ical().icaltime_is_null_time(t) == 0; t = ical().icalrecur_iterator_next(it)) {
		if (ical().icaltime_compare(t, from) < 0 && --v.r.budget >= 0)
			continue;
		if (v.r.budget < 0) {
			warn_event(
				v, line,
				"occurrences before the page past the file's 500,000th left out");
			break;
		}
		long long rest =
			one_a_day ? latest - (t.hour * 3600 + t.minute * 60 + t.second) : 0;
		ok = take_instance(
			v, t,
			v.duration + std::clamp(end - seconds_of(t), 0LL, std::max(rest, 0LL)));
	}
	ical().icalrecur_iterator_free(it);
	return ok;
}

// A text of the event with line breaks and tabs as spaces, trimmed.
std::string plain_text(const char *text)
{
	std::string plain = text != nullptr ? text : "";
	std::replace_if(
		plain.begin(), plain.end(),
		[](char c) { return static_cast<unsigned char>(c) < 0x20; }, ' ');
	plain.erase(0, plain.find_first_not_of(' '));
	plain.erase(plain.find_last_not_of(' ') + 1);
	return plain;
}

// Starts the event's details: its SUMMARY, LOCATION, and URL where it is of the web.
void add_details(vevent_reader &v)
{
	event_list &events = v.r.events;
	const vevent_parts &p = v.parts;
	v.order = add_event(events, plain_text(p.summary != nullptr
	                                               ? ical().icalproperty_get_summary(p.summary)
	                                               : nullptr));
	event_details &d = events.details.back();
	std::string place = plain_text(
		p.location != nullptr ? ical().icalproperty_get_location(p.location) : nullptr);
	if (!place.empty())
		d.place_at = add_text(events, place, d.place_size);
	std::string link =
		plain_text(p.url != nullptr ? ical().icalproperty_get_url(p.url) : nullptr);
	std::string_view scheme =
		std::string_view(link).substr(0, std::min(link.find(':'), link.size()));
	if ((is_name(scheme, "HTTP") || is_name(scheme, "HTTPS")) &&
	    link.find(' ') == std::string::npos)
		d.link_at = add_text(events, link, d.link_size);
}

// The DTSTART of the event and how long each occurrence lasts; false, said, when the event
// cannot be placed.
bool start_and_duration(vevent_reader &v, icaltimetype &start)
{
	const vevent_parts &p = v.parts;
	if (p.dtstart == nullptr) {
		warn_event(v, v.raw.line, "left out: no DTSTART");
		return false;
	}
	if (!property_time(v, p.dtstart, start)) {
		std::string_view value;
		unsigned long long line = line_of(v.raw, "DTSTART", &value);
		warn_event(v, line, std::string("left out: no such date or time: ").append(value));
		return false;
	}
	icaltimetype end{};
	if (p.dtend != nullptr && !property_time(v, p.dtend, end)) {
		warn_event(v, line_of(v.raw, "DTEND"), "DTEND left out: no such date or time");
	} else if (p.dtend != nullptr) {
		v.duration = seconds_of(end) - seconds_of(start);
	} else if (p.duration != nullptr) {
		icaldurationtype d = ical().icalproperty_get_duration(p.duration);
		v.duration = d.is_neg != 0 ? -1 : seconds_in(d);
	}
	if (v.duration >= 0)
		return true;
	warn_event(v, v.raw.line, "left out: it ends before it starts");
	return false;
}

// The start of an RDATE and how long its instance lasts: a date or a time as long as the
// event, a PERIOD from its start to its end or for its duration; false for none.
bool rdate_time(vevent_reader &v, icalproperty *p, icaltimetype &t, long long &seconds)
{
	seconds = v.duration;
	icalvalue *value = ical().icalproperty_get_value(p);
	if (value == nullptr || ical().icalvalue_isa(value) != ICAL_PERIOD_VALUE)
		return property_time(v, p, t);
	icalperiodtype period = ical().icalvalue_get_period(value);
	icalparameter *tzid = ical().icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER);
	auto placed = [&](icaltimetype time) {
		if (tzid != nullptr && time.zone == nullptr)
			time.zone = find_zone(v.r.zones, ical().icalparameter_get_tzid(tzid));
		return time;
	};
	t = placed(period.start);
	if (!is_real(t))
		return false;
	if (ical().icaltime_is_null_time(period.end) != 0) {
		seconds = seconds_in(period.duration);
		return true;
	}
	icaltimetype end = placed(period.end);
	seconds = std::max(0LL, seconds_of(end) - seconds_of(t));
	return is_real(end);
}

// Notes the instance that an override replaces, by its UID and RECURRENCE-ID.
void note_replaced(file_reader &r, const std::string &uid, const icaltimetype &id)
{
	long long day = days_from_civil(id.year, id.month - 1, id.day);
	if (id.is_date != 0) {
		r.replaced.insert({uid, 0, day});
	} else {
		r.replaced.insert({uid, 1, seconds_of(id)});
		r.replaced.insert({uid, 2, day});
	}
}

// Takes the occurrences of a VEVENT that is no override: DTSTART, its rules' and RDATEs'.
bool take_recurring(vevent_reader &v, const icaltimetype &start)
{
	v.replaceable = !v.parts.uid.empty();
	if (v.replaceable)
		v.r.uids.push_back(v.parts.uid);
	for (icalproperty *p : v.parts.exdates)
		if (icaltimetype t{}; property_time(v, p, t))
			v.left_out.push_back(t);
		else
			warn_event(v, line_of(v.raw, "EXDATE"),
			           "EXDATE left out: no such date or time");
	// DTSTART is the first instance, whether a rule gives it or not (RFC 5545, 3.8.5.3); the
	// instances of several rules are their union.
	bool ok = true;
	for (icalproperty *p : v.parts.rrules) {
		icalrecurrencetype rule = ical().icalproperty_get_rrule(p);
		if (rule.freq == ICAL_NO_RECURRENCE)
			warn_event(v, line_of(v.raw, "RRULE"), "rule left out: cannot be read");
		else
			ok = ok && follow_rule(v, rule, start, line_of(v.raw, "RRULE"));
	}
	ok = ok && take_instance(v, start, v.duration);
	for (icalproperty *p : v.parts.rdates) {
		icaltimetype t{};
		long long seconds = 0;
		if (!rdate_time(v, p, t, seconds))
			warn_event(v, line_of(v.raw, "RDATE"),
			           "RDATE left out: no such date or time");
		else
			ok = ok && take_instance(v, t, seconds);
	}
	return ok;
}

} // namespace

void read_vevent(file_reader &r, const raw_component &raw)
{
	static char begin[] = "BEGIN:VEVENT";
	static char end[] = "END:VEVENT";
	(void)ical().icalparser_add_line(r.parser, begin);
	for_each_line(raw, [&](std::string_view line, unsigned long long) {
		(void)ical().icalparser_add_line(r.parser, const_cast<char *>(line.data()));
	});
	icalcomponent *vevent = ical().icalparser_add_line(r.parser, end);
	if (vevent == nullptr)
		return;
	vevent_reader v{r, raw, parts_of(vevent)};
	icaltimetype start{};
	icaltimetype id{};
	if (!warn_of_errors(v) && start_and_duration(v, start)) {
		if (v.parts.recurrence_id != nullptr &&
		    !property_time(v, v.parts.recurrence_id, id)) {
			warn_event(v, line_of(raw, "RECURRENCE-ID"),
			           "left out: no such date or time in RECURRENCE-ID");
		} else if (v.parts.recurrence_id != nullptr) {
			note_replaced(r, v.parts.uid, id);
			if (v.parts.status == nullptr ||
			    ical().icalproperty_get_status(v.parts.status) !=
			            ICAL_STATUS_CANCELLED) {
				add_details(v);
				(void)take_instance(v, start, v.duration);
			}
		} else if (v.parts.status == nullptr ||
		           ical().icalproperty_get_status(v.parts.status) !=
		                   ICAL_STATUS_CANCELLED) {
			add_details(v);
			(void)take_recurring(v, start);
		}
	}
	ical().icalcomponent_free(vevent);
}
