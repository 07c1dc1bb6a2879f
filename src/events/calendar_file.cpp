#include "calendar_file.h"

#include <algorithm>
#include <string>
#include <vector>

#include "calendar_lines.h"
#include "calendar_reader.h"
#include "libical.h"
#include "output/output.h"
#include "platform/platform.h"

// An iCalendar file, read one component at a time: its lines are unfolded and numbered here,
// the VEVENTs that cannot touch the page passed over by their lines alone, and each other one
// handed to libical by itself (calendar_event.cpp), so that memory grows with the page, not
// the file. The VTIMEZONEs are kept; an event that names a zone whose VTIMEZONE may come later
// waits for the end of its calendar, and overrides replace their instances at the end of the
// file, wherever they stand.

namespace {

// The most of one component's lines kept: far past any event's or time zone's.
constexpr std::size_t max_component_size = 64 << 20;

// What the reader of the file's lines is in.
struct calendar_state {
	std::vector<std::string> open; // the components begun and not ended, outermost first
	raw_component kept;            // the VEVENT or VTIMEZONE open in a calendar
	enum { nothing, vevent, vtimezone } keeping = nothing;
	std::vector<raw_component> waiting; // events naming a zone not yet defined
	bool begun = false;                 // a line other than a blank one was read
	bool named = false;                 // the source has the calendar's name
};

// Whether the event's lines name a zone that no VTIMEZONE has defined yet.
bool waits_for_zone(const file_reader &r, const raw_component &vevent)
{
	bool waits = false;
	for_each_line(vevent, [&](std::string_view line, unsigned long long) {
		content_line p;
		std::string_view tzid = split_line(line, p) ? parameter(p.parameters, "TZID") : "";
		waits = waits || (!tzid.empty() && !r.zones.defined.contains(tzid));
	});
	return waits;
}

// The UID of an event by its lines, for what is said of it before libical reads it.
std::string raw_uid(const raw_component &vevent)
{
	std::string uid;
	for_each_line(vevent, [&](std::string_view line, unsigned long long) {
		content_line p;
		if (uid.empty() && split_line(line, p) && is_name(p.name, "UID"))
			uid = p.value;
	});
	return uid;
}

void end_vevent(file_reader &r, calendar_state &s)
{
	if (!may_touch(s.kept, r.page))
		return;
	if (waits_for_zone(r, s.kept))
		s.waiting.push_back(std::move(s.kept));
	else
		read_vevent(r, s.kept);
}

void end_vtimezone(file_reader &r, calendar_state &s)
{
	static char begin_line[] = "BEGIN:VTIMEZONE";
	static char end_line[] = "END:VTIMEZONE";
	std::string tzid;
	(void)ical().icalparser_add_line(r.parser, begin_line);
	for_each_line(s.kept, [&](std::string_view line, unsigned long long) {
		content_line p;
		if (tzid.empty() && split_line(line, p) && is_name(p.name, "TZID"))
			tzid = p.value;
		(void)ical().icalparser_add_line(r.parser, const_cast<char *>(line.data()));
	});
	icalcomponent *vtimezone = ical().icalparser_add_line(r.parser, end_line);
	if (vtimezone == nullptr || !define_zone(r.zones, vtimezone, tzid))
		warn(r.messages, r.path, s.kept.line,
		     "time zone " + tzid + " left out: libical cannot read it");
}

// Ends a calendar: the events that waited for its zones are read, and its zones go.
void end_vcalendar(file_reader &r, calendar_state &s)
{
	for (const raw_component &vevent : s.waiting)
		if (!r.refused)
			read_vevent(r, vevent);
	s.waiting.clear();
	free_zones(r.zones);
}

void begin(file_reader &r, calendar_state &s, std::string_view line, std::string_view name,
           unsigned long long number)
{
	std::size_t depth = s.open.size();
	s.open.emplace_back(name);
	if (depth == 1 && is_name(s.open[0], "VCALENDAR")) {
		s.keeping = is_name(name, "VEVENT")      ? calendar_state::vevent
		            : is_name(name, "VTIMEZONE") ? calendar_state::vtimezone
		                                         : calendar_state::nothing;
		s.kept = {number, {}, {}};
	} else if (depth > 1 && s.keeping == calendar_state::vtimezone) {
		add_line(s.kept, line, number);
	}
	(void)r;
}

void end(file_reader &r, calendar_state &s, std::string_view line, std::string_view name,
         unsigned long long number)
{
	auto at = std::find_if(s.open.rbegin(), s.open.rend(),
	                       [&](const std::string &open) { return is_name(open, name); });
	if (at == s.open.rend())
		return; // an END of nothing begun
	std::size_t depth = s.open.rend() - at - 1;
	bool calendar = is_name(s.open[0], "VCALENDAR");
	if (calendar && depth == 1 && s.keeping == calendar_state::vevent)
		end_vevent(r, s);
	else if (calendar && depth == 1 && s.keeping == calendar_state::vtimezone)
		end_vtimezone(r, s);
	else if (depth == 0 && s.keeping == calendar_state::vevent && s.open.size() > 1)
		warn_of(r, s.kept.line, raw_uid(s.kept), "left out: no END:VEVENT");
	else if (depth > 1 && s.keeping == calendar_state::vtimezone)
		add_line(s.kept, line, number);
	if (depth <= 1)
		s.keeping = calendar_state::nothing;
	s.open.resize(depth);
	if (calendar && depth == 0)
		end_vcalendar(r, s);
}

// The names of a VEVENT's properties that the page uses.
bool is_used(std::string_view name)
{
	using namespace std::literals;
	static constexpr std::string_view used[] = {
		"DTSTART"sv,       "DTEND"sv,   "DURATION"sv, "RRULE"sv, "RDATE"sv, "EXDATE"sv,
		"RECURRENCE-ID"sv, "SUMMARY"sv, "LOCATION"sv, "URL"sv,   "UID"sv,   "STATUS"sv};
	return std::any_of(std::begin(used), std::end(used),
	                   [&](std::string_view u) { return is_name(name, u); });
}

// Keeps a property of a VEVENT: an RDATE or EXDATE one line a value, so that libical drops a
// wrong value alone, and reads them all (it reads 500 of a line).
void keep_property(calendar_state &s, std::string_view line, const content_line &p,
                   unsigned long long number)
{
	if (!is_name(p.name, "RDATE") && !is_name(p.name, "EXDATE")) {
		add_line(s.kept, line, number);
		return;
	}
	std::string one(line.substr(0, line.size() - p.value.size()));
	std::size_t head = one.size();
	for (std::string_view values = p.value; !values.empty();) {
		std::size_t comma = std::min(values.find(','), values.size());
		one.resize(head);
		one.append(values.substr(0, comma));
		add_line(s.kept, one, number);
		values.remove_prefix(std::min(comma + 1, values.size()));
	}
}

// Names the file's source by the calendar's X-WR-CALNAME, a TEXT value.
void take_name(file_reader &r, calendar_state &s, std::string_view value)
{
	icalvalue *text =
		ical().icalvalue_new_from_string(ICAL_TEXT_VALUE, std::string(value).c_str());
	const char *name = text != nullptr ? ical().icalvalue_get_text(text) : nullptr;
	if (name != nullptr && *name != '\0') {
		r.events.sources.pop_back();
		add_source(r.events, name);
		s.named = true;
	}
	if (text != nullptr)
		ical().icalvalue_free(text);
}

// A property line: kept where it is one of an event that the page uses or of a time zone.
bool take_property(file_reader &r, calendar_state &s, std::string_view line, const content_line &p,
                   unsigned long long number, bool cut)
{
	std::size_t depth = s.open.size();
	bool keeps = depth > 1 && ((s.keeping == calendar_state::vevent && depth == 2 &&
	                            is_used(p.name) && !p.value.empty()) ||
	                           s.keeping == calendar_state::vtimezone);
	if (depth == 1 && !s.named && is_name(p.name, "X-WR-CALNAME") && !cut)
		take_name(r, s, p.value);
	if (!keeps)
		return true;
	if (cut || s.kept.text.size() > max_component_size)
		return refuse_file(r.messages, r.path, number,
		                   cut ? "line too long: more than 4 MiB"
		                       : "a component of more than 64 MiB");
	keep_property(s, line, p, number);
	return true;
}

// Whether line, where it is not UTF-8 text, was made so in text, with a warning: bytes of no
// character become U+FFFD.
bool as_text(file_reader &r, std::string_view line, std::string &text, unsigned long long number)
{
	if (std::all_of(line.begin(), line.end(),
	                [](char c) { return (c >= 0x20 && c < 0x7f) || c == '\t'; }))
		return false;
	text.clear();
	append_as_text(text, line);
	if (text == line)
		return false;
	warn(r.messages, r.path, number, "not UTF-8 text: shown with U+FFFD");
	return true;
}

bool take_line(file_reader &r, calendar_state &s, std::string_view line, unsigned long long number,
               bool cut, std::string &text)
{
	content_line p;
	bool is_content = split_line(line, p);
	if (!s.begun && !line.empty() &&
	    !(is_content && is_name(p.name, "BEGIN") && is_name(p.value, "VCALENDAR")))
		return refuse_file(r.messages, r.path, number,
		                   "not an iCalendar file: no BEGIN:VCALENDAR");
	if (!is_content)
		return true; // a blank line, or no content line at all
	s.begun = true;
	if (is_name(p.name, "BEGIN"))
		begin(r, s, line, p.value, number);
	else if (is_name(p.name, "END"))
		end(r, s, line, p.value, number);
	else if (s.open.size() > 1 || is_name(p.name, "X-WR-CALNAME"))
		return (!as_text(r, line, text, number) || split_line(line = text, p)) &&
		       take_property(r, s, line, p, number, cut);
	return true;
}

// Removes the instances of recurring events that overrides of the file replace.
void replace_instances(file_reader &r, std::size_t first_occurrence)
{
	if (r.replaced.empty())
		return;
	std::vector<bool> removed(r.events.occurrences.size() - first_occurrence);
	for (const taken_instance &t : r.taken) {
		const std::string &uid = r.uids[t.uid];
		bool replaced = t.is_date ? r.replaced.contains({uid, 0, t.day}) ||
		                                    r.replaced.contains({uid, 2, t.day})
		                          : r.replaced.contains({uid, 1, t.instant}) ||
		                                    r.replaced.contains({uid, 0, t.day});
		if (replaced)
			removed[t.occurrence - first_occurrence] = true;
	}
	std::size_t at = first_occurrence;
	auto &all = r.events.occurrences;
	all.erase(std::remove_if(all.begin() + static_cast<std::ptrdiff_t>(first_occurrence),
	                         all.end(),
	                         [&](const event &) { return removed[at++ - first_occurrence]; }),
	          all.end());
}

bool read_lines(file_reader &r, line_reader &lines)
{
	calendar_state s;
	std::string line;
	std::string text;
	unsigned long long number = 0;
	bool cut = false;
	line_status status;
	while (!r.refused && (status = next_line(lines, line, number, cut)) == line_status::line)
		r.refused = !take_line(r, s, line, number, cut, text);
	if (r.refused)
		return false;
	if (status == line_status::nul_byte)
		return refuse_file(r.messages, r.path, lines.number, "a NUL byte: not a text file");
	if (std::ferror(lines.file) != 0)
		return refuse_for(r.messages, "Cannot read file ", r.path, errno);
	if (!s.begun)
		return refuse_file(r.messages, r.path, 0,
		                   "not an iCalendar file: no BEGIN:VCALENDAR");
	if (!s.open.empty())
		return refuse_file(r.messages, r.path, 0, "cut short: no END:VCALENDAR");
	return true;
}

} // namespace

void warn_of(file_reader &r, unsigned long long line, std::string_view uid, std::string_view what)
{
	std::string said = "event";
	if (!uid.empty())
		said.append(" ").append(uid);
	warn(r.messages, r.path, line, said.append(": ").append(what));
}

bool is_calendar_file(std::string_view start, std::string_view path)
{
	if (start.starts_with("\xEF\xBB\xBF"))
		start.remove_prefix(3);
	start = start.substr(0, start.find('\n'));
	if (start.ends_with('\r'))
		start.remove_suffix(1);
	return is_name(start, "BEGIN:VCALENDAR") ||
	       (path.size() > 4 && is_name(path.substr(path.size() - 4), ".ics"));
}

bool read_calendar_file(std::FILE *file, std::string_view start, const char *path,
                        const day_range &page, event_list &events, diagnostics &messages)
{
	if (load_libical() == nullptr)
		return refuse(messages, "Cannot read file ", path,
		              ": libical.so.3 cannot be loaded");
	line_reader lines{file};
	lines.chunk.assign(start.begin(), start.end());
	lines.chunk.resize(std::max(lines.chunk.size(), std::size_t{1} << 16));
	lines.got = start.size();
	lines.nul = std::min(start.find('\0'), start.size());
	file_reader r{path, page, events, messages};
	std::size_t first_occurrence = events.occurrences.size();
	ical().icalerror_set_errors_are_fatal(0);
	r.parser = ical().icalparser_new();
	// libical says some of what it finds wrong on standard error itself.
	std::FILE *said_to = messages.to;
	bool to_stderr = said_to == stderr;
	stderr_state saved = quiet_stderr();
	if (to_stderr)
		messages.to = saved.file;
	bool ok = read_lines(r, lines);
	end_warnings(messages);
	messages.to = said_to;
	restore_stderr(saved);
	free_zones(r.zones);
	ical().icalparser_free(r.parser);
	if (ok)
		replace_instances(r, first_occurrence);
	return ok;
}
