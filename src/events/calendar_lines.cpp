#include "calendar_lines.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <vector>

#include "calendar/calendar.h"

namespace {

bool fill(line_reader &r)
{
	if (r.at < r.got)
		return true;
	r.at = 0;
	r.got = std::fread(r.chunk.data(), 1, r.chunk.size(), r.file);
	const void *nul = std::memchr(r.chunk.data(), '\0', r.got);
	r.nul = nul != nullptr
	                ? static_cast<std::size_t>(static_cast<const char *>(nul) - r.chunk.data())
	                : r.got;
	return r.got > 0;
}

// Appends the rest of the line at the reader's place to line, past its line feed and without
// the CR before it, keeping at most max_kept_line bytes.
line_status append_rest(line_reader &r, std::string &line, bool &cut)
{
	std::size_t before = line.size();
	bool whole = true; // nothing of it was left out
	while (fill(r)) {
		const char *from = r.chunk.data() + r.at;
		std::size_t left = r.got - r.at;
		const auto *lf = static_cast<const char *>(std::memchr(from, '\n', left));
		std::size_t size = lf != nullptr ? static_cast<std::size_t>(lf - from) : left;
		if (r.nul < r.at + size)
			return line_status::nul_byte;
		std::size_t room = max_kept_line - std::min(max_kept_line, line.size());
		line.append(from, std::min(size, room));
		whole = whole && size <= room;
		r.at += size + (lf != nullptr ? 1 : 0);
		if (lf != nullptr)
			break;
	}
	cut = cut || !whole;
	if (whole && line.size() > before && line.back() == '\r')
		line.pop_back();
	return line_status::line;
}

} // namespace

line_status next_line(line_reader &r, std::string &line, unsigned long long &first, bool &cut)
{
	line.clear();
	cut = false;
	if (!fill(r))
		return line_status::end;
	first = ++r.number;
	line_status status = append_rest(r, line, cut);
	if (first == 1 && line.starts_with("\xEF\xBB\xBF"))
		line.erase(0, 3);
	// A line that begins with a space or a tab goes on the one before (RFC 5545, 3.1).
	while (status == line_status::line && fill(r) &&
	       (r.chunk[r.at] == ' ' || r.chunk[r.at] == '\t')) {
		++r.at;
		++r.number;
		status = append_rest(r, line, cut);
	}
	return status;
}

bool is_name(std::string_view text, std::string_view name)
{
	return text.size() == name.size() &&
	       std::equal(name.begin(), name.end(), text.begin(), [](char a, char b) {
		       auto upper = [](char c) {
			       return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
		       };
		       return upper(a) == upper(b);
	       });
}

bool split_line(std::string_view line, content_line &parts)
{
	std::size_t name_end = 0;
	while (name_end < line.size() && line[name_end] != ';' && line[name_end] != ':')
		++name_end;
	bool quoted = false;
	std::size_t colon = name_end;
	for (; colon < line.size() && (quoted || line[colon] != ':'); ++colon)
		quoted = quoted != (line[colon] == '"');
	if (colon == line.size())
		return false;
	parts = {line.substr(0, name_end), line.substr(name_end, colon - name_end),
	         line.substr(colon + 1)};
	return true;
}

std::string_view parameter(std::string_view parameters, std::string_view name)
{
	while (!parameters.empty()) {
		parameters.remove_prefix(1); // the ';'
		std::size_t equals = std::min(parameters.find('='), parameters.size());
		bool quoted = false;
		std::size_t end = equals;
		for (; end < parameters.size() && (quoted || parameters[end] != ';'); ++end)
			quoted = quoted != (parameters[end] == '"');
		std::string_view value = parameters.substr(std::min(equals + 1, end));
		value = value.substr(0, end - std::min(equals + 1, end));
		if (is_name(parameters.substr(0, equals), name)) {
			if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
				value = value.substr(1, value.size() - 2);
			return value;
		}
		parameters.remove_prefix(end);
	}
	return {};
}

void add_line(raw_component &component, std::string_view line, unsigned long long number)
{
	component.text.append(line);
	component.text.push_back('\0');
	component.lines.push_back({number, line.size()});
}

bool written_day(std::string_view value, long long &day)
{
	if (value.size() < 8 || !std::all_of(value.begin(), value.begin() + 8,
	                                     [](char c) { return c >= '0' && c <= '9'; }))
		return false;
	auto number = [&](std::size_t at, std::size_t count) {
		int n = 0;
		for (std::size_t i = at; i < at + count; ++i)
			n = n * 10 + (value[i] - '0');
		return n;
	};
	int month = number(4, 2);
	int date = number(6, 2);
	if (month < 1 || month > 12 || date < 1 || date > 31)
		return false;
	day = days_from_civil(number(0, 4), month - 1, date);
	return true;
}

namespace {

// The days a DURATION value may reach past its start, rounded up; false when it cannot say.
bool duration_days(std::string_view value, long long &days)
{
	if (value.starts_with('+') || value.starts_with('-'))
		value.remove_prefix(1);
	if (!value.starts_with('P') && !value.starts_with('p'))
		return false;
	long long seconds = 0;
	long long n = -1;
	for (char c : value.substr(1)) {
		if (c >= '0' && c <= '9') {
			n = std::max(n, 0LL) * 10 + (c - '0');
			if (n > 100000000)
				return false;
			continue;
		}
		long long unit = c == 'W'   ? 604800
		                 : c == 'D' ? 86400
		                 : c == 'H' ? 3600
		                 : c == 'M' ? 60
		                 : c == 'S' ? 1
		                            : 0;
		if (c == 'T')
			continue;
		if (unit == 0 || n < 0)
			return false;
		seconds += n * unit;
		n = -1;
	}
	days = (seconds + 86399) / 86400;
	return true;
}

} // namespace

namespace {

// The value of part NAME in a rule's value ("FREQ=WEEKLY;COUNT=5"); empty for none.
std::string_view rule_part(std::string_view rule, std::string_view name)
{
	for (std::size_t at = 0; at < rule.size();) {
		std::size_t end = std::min(rule.find(';', at), rule.size());
		std::string_view part = rule.substr(at, end - at);
		std::size_t equals = std::min(part.find('='), part.size());
		if (is_name(part.substr(0, equals), name))
			return part.substr(std::min(equals + 1, part.size()));
		at = end + 1;
	}
	return {};
}

long long rule_number(std::string_view value, long long otherwise)
{
	if (value.empty() || value.size() > 9 ||
	    !std::all_of(value.begin(), value.end(), [](char c) { return c >= '0' && c <= '9'; }))
		return otherwise;
	return std::accumulate(value.begin(), value.end(), 0LL,
	                       [](long long n, char c) { return n * 10 + (c - '0'); });
}

// The days after its start that a rule's last instance may begin on at most, by its UNTIL or
// its COUNT; -1 where its value cannot say. A COUNT says where each period holds an instance:
// no BY parts, or a week's days.
long long rule_reach(std::string_view rule, long long start)
{
	long long until = 0;
	if (written_day(rule_part(rule, "UNTIL"), until))
		return std::max(until - start, 0LL);
	long long count = rule_number(rule_part(rule, "COUNT"), -1);
	long long interval = std::max(rule_number(rule_part(rule, "INTERVAL"), 1), 1LL);
	std::string_view freq = rule_part(rule, "FREQ");
	bool weekly = is_name(freq, "WEEKLY");
	using namespace std::literals;
	static constexpr std::string_view filters[] = {"BYSECOND"sv,   "BYMINUTE"sv,  "BYHOUR"sv,
	                                               "BYMONTHDAY"sv, "BYYEARDAY"sv, "BYWEEKNO"sv,
	                                               "BYMONTH"sv,    "BYSETPOS"sv,  "RSCALE"sv};
	if (std::any_of(std::begin(filters), std::end(filters),
	                [&](std::string_view by) { return !rule_part(rule, by).empty(); }))
		return -1;
	if (count < 0 || (!weekly && !rule_part(rule, "BYDAY").empty()))
		return -1;
	long long seconds = is_name(freq, "SECONDLY")   ? 1
	                    : is_name(freq, "MINUTELY") ? 60
	                    : is_name(freq, "HOURLY")   ? 3600
	                                                : 0;
	long long days = is_name(freq, "DAILY")     ? 1
	                 : weekly                   ? 7
	                 : is_name(freq, "MONTHLY") ? 31
	                 : is_name(freq, "YEARLY")  ? 366
	                                            : 0;
	if (seconds == 0 && days == 0)
		return -1;
	return seconds != 0 ? count * interval * seconds / 86400 + 1 : count * interval * days;
}

// Time zones move a day by one at most.
constexpr long long near = 2;

// Whether an override of the instance at RECURRENCE-ID value may replace one near the page:
// that instance may have begun long before it.
bool replaces_near(std::string_view value, const day_range &page)
{
	long long day = 0;
	return !written_day(value, day) || (day + 400 >= page.first && day - near <= page.last);
}

} // namespace

bool may_touch(const raw_component &vevent, const day_range &page)
{
	bool dated = false;    // an RDATE, or a DURATION not read here: libical judges
	bool known = false;    // DTSTART's day
	bool replaces = false; // an instance near the page
	long long start = 0;
	long long end = -1;
	long long length = 0;
	std::vector<std::string_view> rules;
	for_each_line(vevent, [&](std::string_view line, unsigned long long) {
		content_line p;
		if (!split_line(line, p))
			return;
		if (is_name(p.name, "RRULE"))
			rules.push_back(p.value);
		else if (is_name(p.name, "RDATE") ||
		         (is_name(p.name, "DURATION") && !duration_days(p.value, length)))
			dated = true;
		else if (is_name(p.name, "DTSTART"))
			known = written_day(p.value, start);
		else if (is_name(p.name, "DTEND") && !written_day(p.value, end))
			end = -1;
		else if (is_name(p.name, "RECURRENCE-ID"))
			replaces = replaces_near(p.value, page);
	});
	if (dated || !known || replaces)
		return true;
	long long last = std::max({start, end, start + length});
	// A rule's instances begin on its start or after, and last as long as the first.
	for (std::string_view rule : rules) {
		long long reach = rule_reach(rule, start);
		last = reach < 0 ? page.last : std::max(last, last + reach);
	}
	return last + near >= page.first && start - near <= page.last;
}
