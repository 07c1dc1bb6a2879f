#include "calendar_time.h"

#include <algorithm>
#include <ctime>
#include <utility>

#include "calendar/calendar.h"
#include "platform/platform.h"

bool is_real(const icaltimetype &t)
{
	return t.year >= 1 && t.year <= 9999 && t.month >= 1 && t.month <= 12 && t.day >= 1 &&
	       t.day <= month_length(t.year, t.month - 1) &&
	       (t.is_date != 0 || (t.hour >= 0 && t.hour < 24 && t.minute >= 0 && t.minute < 60 &&
	                           t.second >= 0 && t.second <= 60));
}

long long written_seconds(const icaltimetype &t)
{
	return days_from_civil(t.year, t.month - 1, t.day) * 86400 + t.hour * 3600LL +
	       t.minute * 60LL + t.second;
}

namespace {

long long local_day(const std::tm &t)
{
	return days_from_civil(t.tm_year + 1900LL, t.tm_mon, t.tm_mday);
}

} // namespace

namespace {

// The offset from UTC of zone at utc, seconds from 1970.
int offset_at(icaltimezone *zone, long long utc)
{
	civil_date date = civil_from_days(floor_div(utc, 86400));
	long long second = utc - floor_div(utc, 86400) * 86400;
	icaltimetype t = ical().icaltime_null_time();
	t.year = static_cast<int>(date.year);
	t.month = date.month + 1;
	t.day = date.day;
	t.hour = static_cast<int>(second / 3600);
	t.minute = static_cast<int>(second / 60 % 60);
	t.second = static_cast<int>(second % 60);
	t.zone = ical().icaltimezone_get_utc_timezone();
	return ical().icaltimezone_get_utc_offset_of_utc_time(zone, &t, nullptr);
}

} // namespace

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

long long seconds_in(const icaldurationtype &d)
{
	return d.is_neg != 0 ? 0
	                     : ((d.weeks * 7LL + d.days) * 24 + d.hours) * 3600 + d.minutes * 60LL +
	                               d.seconds;
}

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

namespace {

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

} // namespace

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

bool keeps_step(const icalrecurrencetype &rule)
{
	int whole = rule.freq == ICAL_HOURLY_RECURRENCE ? 24 : 60;
	return rule.interval > 0 && whole % rule.interval == 0;
}

bool is_slow(const icalrecurrencetype &rule)
{
	bool limited = has(rule.by_hour) || has(rule.by_day) || has(rule.by_month_day) ||
	               has(rule.by_year_day) || has(rule.by_week_no) || has(rule.by_month);
	return (rule.freq == ICAL_SECONDLY_RECURRENCE && (limited || has(rule.by_minute))) ||
	       (rule.freq == ICAL_MINUTELY_RECURRENCE && limited);
}
