// Writes src/locale/locale_data.cpp, the calendar conventions of every locale ICU has (the table
// src/locale/locale_data.h describes), to standard output. Every pattern is checked against ICU's own
// output for every month, pair of months and hour it may be used for: when a locale's text
// cannot be written by the table, it names the locale and why, and exits with 1.
#include <unicode/calendar.h>
#include <unicode/dtfmtsym.h>
#include <unicode/dtitvfmt.h>
#include <unicode/dtitvinf.h>
#include <unicode/dtptngen.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/numsys.h>
#include <unicode/smpdtfmt.h>
#include <unicode/timezone.h>
#include <unicode/uchar.h>
#include <unicode/ulocdata.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using icu::UnicodeString;

struct failure : std::runtime_error {
	using std::runtime_error::runtime_error;
};

void check(UErrorCode status, const std::string &what)
{
	if (U_FAILURE(status))
		throw failure(what + ": " + u_errorName(status));
}

// As locale_record, with the texts themselves.
struct record {
	std::string months[12], month_words[12], weekdays[7], weekday_heads[7];
	std::string month_and_year, range_in_year, range_over_years, hour_and_minute, day_periods;
	std::string range_words[12]; // "" for a month no range names so
	std::string week, week_short, digits;
	int first_weekday = 0, weekend = 0, right_to_left = 0;
	int minimal_days = 1, calendar = 0; // calendar: its position among calendar_names
	std::vector<std::string> calendars; // each calendar's names, texts_of_calendar's, joined
};

// The texts in the order of locale_record: 12 + 12 + 7 + 7 + 9.
std::vector<std::string> texts_of(const record &r)
{
	std::string range_words;
	for (int month = 0; month < 12; ++month)
		range_words += (month > 0 ? "\x1f" : "") + r.range_words[month];
	if (range_words == std::string(11, '\x1f'))
		range_words.clear();
	std::vector<std::string> texts;
	for (const auto *list : {&r.months, &r.month_words})
		texts.insert(texts.end(), std::begin(*list), std::end(*list));
	for (const auto *list : {&r.weekdays, &r.weekday_heads})
		texts.insert(texts.end(), std::begin(*list), std::end(*list));
	texts.insert(texts.end(),
	             {r.month_and_year, r.range_in_year, r.range_over_years, r.hour_and_minute,
	              r.day_periods, range_words, r.week, r.week_short, r.digits});
	return texts;
}

// ICU's text as UTF-8 HTML text. A control character would end up on the page or be taken
// for a pattern's field.
std::string html(const UnicodeString &text)
{
	static const char special[] = "&<>\"'";
	static const char *const references[] = {"&amp;", "&lt;", "&gt;", "&#34;", "&#39;"};
	std::string utf8, escaped;
	text.toUTF8String(utf8);
	for (int32_t i = 0; i < text.length(); ++i)
		if (u_charType(text[i]) == U_CONTROL_CHAR)
			throw failure("control character in \"" + utf8 + "\"");
	for (char c : utf8) {
		const char *at = c == '\0' ? nullptr : std::strchr(special, c);
		escaped += at != nullptr ? references[at - special] : std::string(1, c);
	}
	return escaped;
}

// n in the locale's digits, at least width of them, without grouping.
std::string number(int n, int width, const std::string &digits)
{
	std::size_t size = digits.size() / 10;
	std::string decimal = std::to_string(n), text;
	if (decimal.size() < static_cast<std::size_t>(width))
		decimal.insert(0, width - decimal.size(), '0');
	for (char c : decimal)
		text += digits.substr((c - '0') * size, size);
	return text;
}

// What a pattern's fields are filled in with; month 0 = January.
struct moment {
	int year, month, day, hour, minute;
};

UDate date(const moment &t)
{
	UErrorCode status = U_ZERO_ERROR;
	icu::GregorianCalendar calendar(*icu::TimeZone::getGMT(), status);
	calendar.clear();
	calendar.set(t.year, t.month, t.day, t.hour, t.minute);
	UDate time = calendar.getTime(status);
	check(status, "date");
	return time;
}

// ICU's output and its date fields; span 1: a field of a range's last date.
struct field {
	int begin, end, id, span;
};
struct formatted {
	UnicodeString text;
	std::vector<field> fields;
};

std::unique_ptr<icu::SimpleDateFormat> date_format(icu::DateTimePatternGenerator &generator,
                                                   const icu::Locale &locale, const char *skeleton)
{
	UErrorCode status = U_ZERO_ERROR;
	UnicodeString pattern = generator.getBestPattern(skeleton, status);
	auto format = std::make_unique<icu::SimpleDateFormat>(pattern, locale, status);
	check(status, skeleton);
	return format;
}

void sort_fields(formatted &f)
{
	std::sort(f.fields.begin(), f.fields.end(),
	          [](const field &a, const field &b) { return a.begin < b.begin; });
}

formatted format_date(const icu::DateFormat &format, UDate time)
{
	UErrorCode status = U_ZERO_ERROR;
	formatted f;
	icu::FieldPositionIterator positions;
	format.format(time, f.text, &positions, status);
	check(status, "format");
	icu::FieldPosition position;
	while (positions.next(position))
		f.fields.push_back(
			{position.getBeginIndex(), position.getEndIndex(), position.getField(), 0});
	sort_fields(f);
	return f;
}

formatted format_range(const icu::DateIntervalFormat &format, const moment &first,
                       const moment &last)
{
	UErrorCode status = U_ZERO_ERROR;
	icu::FormattedDateInterval value =
		format.formatToValue(icu::DateInterval(date(first), date(last)), status);
	formatted f;
	f.text = value.toString(status);
	std::vector<field> spans;
	icu::ConstrainedFieldPosition position;
	while (value.nextPosition(position, status)) {
		field found{position.getStart(), position.getLimit(), position.getField(), 0};
		if (position.getCategory() == UFIELD_CATEGORY_DATE)
			f.fields.push_back(found);
		else if (position.getCategory() == UFIELD_CATEGORY_DATE_INTERVAL_SPAN)
			spans.push_back(found);
	}
	check(status, "format range");
	for (field &in : f.fields)
		for (const field &span : spans)
			if (span.id == 1 && in.begin >= span.begin && in.end <= span.end)
				in.span = 1;
	sort_fields(f);
	return f;
}

std::string day_period(const std::string &periods, int hour)
{
	std::size_t begin = 0;
	for (; hour > 0; --hour)
		begin = periods.find('\x1f', begin) + 1;
	return periods.substr(begin, periods.find('\x1f', begin) - begin);
}

// The text of pattern byte c for t, as a page writes it.
std::string fill(char c, const record &r, const moment &t)
{
	int hour12 = (t.hour + 11) % 12 + 1;
	switch (c & 0x0f) {
	case 0x01:
		return number(t.year, 1, r.digits);
	case 0x02:
		return r.month_words[t.month];
	case 0x03:
	case 0x04:
		return number(t.month + 1, (c & 0x0f) - 2, r.digits);
	case 0x05:
	case 0x06:
		return number(t.hour, (c & 0x0f) - 4, r.digits);
	case 0x07:
	case 0x08:
		return number(hour12, (c & 0x0f) - 6, r.digits);
	case 0x09:
		return r.range_words[t.month];
	case 0x0b:
		return number(t.minute, 2, r.digits);
	case 0x0e:
		return day_period(r.day_periods, t.hour);
	}
	return std::string(1, c);
}

// The pattern bytes ICU's fields may be, tried in order; the last of a month is a word other
// than month_words.
const std::map<int, const char *> field_bytes = {
	{UDAT_YEAR_FIELD, "\x01"},
	{UDAT_MONTH_FIELD, "\x03\x04\x02\x09"},
	{UDAT_STANDALONE_MONTH_FIELD, "\x03\x04\x02\x09"},
	{UDAT_HOUR_OF_DAY0_FIELD, "\x05\x06"},
	{UDAT_HOUR1_FIELD, "\x07\x08"},
	{UDAT_MINUTE_FIELD, "\x0b"},
	{UDAT_AM_PM_FIELD, "\x0e"},
	{UDAT_AM_PM_MIDNIGHT_NOON_FIELD, "\x0e"},
	{UDAT_FLEXIBLE_DAY_PERIOD_FIELD, "\x0e"},
};

// The pattern byte of a field whose text is for t; span 1 adds 0x10. The words of 0x09 and
// the day periods are not known yet: they are taken as they are.
char field_byte(const field &in, const std::string &text, const moment &t, const record &r)
{
	auto bytes = field_bytes.find(in.id);
	for (const char *c = bytes == field_bytes.end() ? "" : bytes->second; *c != '\0'; ++c)
		if (*c == 0x09 || *c == 0x0e || fill(*c, r, t) == text)
			return static_cast<char>(*c | in.span << 4);
	throw failure("field " + std::to_string(in.id) + " \"" + text + "\" has no pattern byte");
}

// ICU's output cut into literal text and field bytes.
std::string cut(const formatted &f, const moment &first, const moment &last, const record &r)
{
	std::string pattern;
	int at = 0;
	for (const field &in : f.fields) {
		if (in.begin < at)
			throw failure("fields overlap in " + html(f.text));
		pattern += html(f.text.tempSubStringBetween(at, in.begin));
		std::string text = html(f.text.tempSubStringBetween(in.begin, in.end));
		pattern += field_byte(in, text, in.span ? last : first, r);
		at = in.end;
	}
	return pattern + html(f.text.tempSubString(at));
}

// The text of the first field among ids, as HTML.
std::string field_text(const formatted &f, std::initializer_list<int> ids)
{
	for (const field &in : f.fields)
		for (int id : ids)
			if (in.id == id)
				return html(f.text.tempSubStringBetween(in.begin, in.end));
	return "";
}

// The pattern filled in as a page does.
std::string expand(const std::string &pattern, const record &r, const moment &first,
                   const moment &last)
{
	std::string text;
	for (char c : pattern)
		text += static_cast<unsigned char>(c) < 0x20 ? fill(c, r, c & 0x10 ? last : first)
		                                             : std::string(1, c);
	return text;
}

void verify(const char *what, const std::string &pattern, const record &r, const moment &first,
            const moment &last, const formatted &f)
{
	std::string ours = expand(pattern, r, first, last), theirs = html(f.text);
	if (ours != theirs)
		throw failure(std::string(what) + ": the table writes \"" + ours + "\", ICU \"" +
		              theirs + "\"");
}

std::string read_digits(const icu::Locale &locale)
{
	UErrorCode status = U_ZERO_ERROR;
	std::unique_ptr<icu::NumberingSystem> system(
		icu::NumberingSystem::createInstance(locale, status));
	check(status, "numbering system");
	if (system->isAlgorithmic() || system->getRadix() != 10)
		return "0123456789";
	UnicodeString description = system->getDescription();
	std::string digits;
	description.toUTF8String(digits);
	bool same_size = description.countChar32() == 10;
	for (int32_t i = 0; same_size && i < description.length();
	     i = description.moveIndex32(i, 1))
		same_size =
			U8_LENGTH(description.char32At(i)) * 10 == static_cast<int>(digits.size());
	if (!same_size)
		throw failure("digits \"" + digits + "\" are not ten of one size");
	return digits;
}

void read_names(record &r, icu::DateTimePatternGenerator &generator, const icu::Locale &locale)
{
	auto months = date_format(generator, locale, "MMMM");
	auto weekdays = date_format(generator, locale, "EEEE");
	auto heads = date_format(generator, locale, "EEEEEE"); // short: "Mo", "ن"
	for (int month = 0; month < 12; ++month)
		r.months[month] = html(format_date(*months, date({2027, month, 15, 12, 0})).text);
	// 2027-01-03 is a Sunday.
	for (int day = 0; day < 7; ++day) {
		UDate time = date({2027, 0, 3 + day, 12, 0});
		r.weekdays[day] = html(format_date(*weekdays, time).text);
		r.weekday_heads[day] = html(format_date(*heads, time).text);
	}
}

void read_month_and_year(record &r, icu::DateTimePatternGenerator &generator,
                         const icu::Locale &locale)
{
	auto format = date_format(generator, locale, "yMMMM");
	formatted months[12];
	for (int month = 0; month < 12; ++month)
		months[month] = format_date(*format, date({2027, month, 15, 12, 0}));
	for (int month = 0; month < 12; ++month)
		r.month_words[month] =
			field_text(months[month], {UDAT_MONTH_FIELD, UDAT_STANDALONE_MONTH_FIELD});
	r.month_and_year = cut(months[0], {2027, 0, 15, 12, 0}, {}, r);
	// Months written as numbers: no pattern has words of month_words.
	if (r.month_and_year.find('\x02') == std::string::npos)
		std::fill(std::begin(r.month_words), std::end(r.month_words), "");
	for (int month = 0; month < 12; ++month)
		verify("month and year", r.month_and_year, r, {2027, month, 15, 12, 0}, {},
		       months[month]);
}

// The format of ranges of months. With months_as_years, months of one year are written as those
// of two years are.
std::unique_ptr<icu::DateIntervalFormat> range_format(const icu::Locale &locale,
                                                      bool months_as_years)
{
	UErrorCode status = U_ZERO_ERROR;
	icu::DateIntervalInfo info(locale, status);
	if (months_as_years) {
		UnicodeString pattern;
		info.getIntervalPattern("yMMMM", UCAL_YEAR, pattern, status);
		info.setIntervalPattern("yMMMM", UCAL_MONTH, pattern, status);
	}
	std::unique_ptr<icu::DateIntervalFormat> format(
		icu::DateIntervalFormat::createInstance("yMMMM", locale, info, status));
	check(status, "range format");
	return format;
}

// The words of ICU's month fields where the pattern has 0x09 or 0x19.
void take_range_words(record &r, const std::string &pattern, const formatted &f,
                      const moment &first, const moment &last)
{
	std::size_t next = 0;
	for (char c : pattern) {
		if (static_cast<unsigned char>(c) >= 0x20 || next == f.fields.size())
			continue;
		const field &in = f.fields[next++];
		if ((c & 0x0f) != 0x09)
			continue;
		std::string &word = r.range_words[(c & 0x10 ? last : first).month];
		std::string text = html(f.text.tempSubStringBetween(in.begin, in.end));
		if (!word.empty() && word != text)
			throw failure("a range names a month both \"" + word + "\" and \"" + text +
			              "\"");
		word = text;
	}
}

// The pattern of ranges from a month of 2027 to a later month of last_year, checked against
// every such pair; "" when ICU's range leaves out its last date.
std::string range_pattern(record &r, const icu::DateIntervalFormat &format, int last_year)
{
	moment january{2027, 0, 15, 12, 0}, february{last_year, 1, 15, 12, 0};
	std::string pattern = cut(format_range(format, january, february), january, february, r);
	auto last_date = [](char c) { return c > 0x10 && c < 0x20; };
	if (std::none_of(pattern.begin(), pattern.end(), last_date))
		return "";
	for (int first = 0; first < 12; ++first) {
		for (int last = 0; last < 12; ++last) {
			moment from{2027, first, 15, 12, 0}, to{last_year, last, 15, 12, 0};
			if (last_year == 2027 && first >= last)
				continue;
			formatted f = format_range(format, from, to);
			take_range_words(r, pattern, f, from, to);
			verify("range", pattern, r, from, to, f);
		}
	}
	return pattern;
}

void read_ranges(record &r, const icu::Locale &locale)
{
	auto format = range_format(locale, false);
	r.range_over_years = range_pattern(r, *format, 2028);
	r.range_in_year = range_pattern(r, *format, 2027);
	// fa's months of one year, "LLLL تا MMMM y", have no pattern letter twice, where ICU 72
	// splits a range into its dates: it writes the first month twice.
	if (r.range_in_year.empty())
		r.range_in_year = range_pattern(r, *range_format(locale, true), 2027);
	if (r.range_over_years.empty() || r.range_in_year.empty())
		throw failure("a range leaves out its last date");
}

void read_time(record &r, icu::DateTimePatternGenerator &generator, const icu::Locale &locale)
{
	auto format = date_format(generator, locale, "jmm");
	moment one{2027, 0, 15, 1, 5};
	r.hour_and_minute = cut(format_date(*format, date(one)), one, {}, r);
	if (r.hour_and_minute.find('\x0e') != std::string::npos) {
		for (int hour = 0; hour < 24; ++hour) {
			formatted f = format_date(*format, date({2027, 0, 15, hour, 0}));
			r.day_periods +=
				(hour > 0 ? "\x1f" : "") +
				field_text(f, {UDAT_AM_PM_FIELD, UDAT_AM_PM_MIDNIGHT_NOON_FIELD,
			                       UDAT_FLEXIBLE_DAY_PERIOD_FIELD});
		}
	}
	for (int hour = 0; hour < 24; ++hour) {
		for (int minute : {0, 5}) {
			moment t{2027, 0, 15, hour, minute};
			verify("time", r.hour_and_minute, r, t, {}, format_date(*format, date(t)));
		}
	}
}

void read_week(record &r, icu::DateTimePatternGenerator &generator, const icu::Locale &locale)
{
	r.week = html(generator.getFieldDisplayName(UDATPG_WEEK_OF_YEAR_FIELD, UDATPG_WIDE));
	r.week_short =
		html(generator.getFieldDisplayName(UDATPG_WEEK_OF_YEAR_FIELD, UDATPG_ABBREVIATED));
	if (r.week_short.empty())
		r.week_short = r.week;
	UErrorCode status = U_ZERO_ERROR;
	std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(locale, status));
	check(status, "calendar");
	r.first_weekday = calendar->getFirstDayOfWeek(status) - UCAL_SUNDAY;
	r.minimal_days = calendar->getMinimalDaysInFirstWeek();
	for (int day = 0; day < 7; ++day) {
		auto weekday = static_cast<UCalendarDaysOfWeek>(UCAL_SUNDAY + day);
		if (calendar->getDayOfWeekType(weekday, status) != UCAL_WEEKDAY)
			r.weekend |= 1 << day;
	}
	check(status, "week");
}

// The calendars of the page, by their BCP 47 names in the order of calendar_type, and ICU's.
const char *const calendar_names[][2] = {
	{"buddhist", "buddhist"},
	{"chinese", "chinese"},
	{"coptic", "coptic"},
	{"dangi", "dangi"},
	{"ethioaa", "ethiopic-amete-alem"},
	{"ethiopic", "ethiopic"},
	{"gregory", "gregorian"},
	{"hebrew", "hebrew"},
	{"indian", "indian"},
	{"islamic", "islamic"},
	{"islamic-civil", "islamic-civil"},
	{"islamic-tbla", "islamic-tbla"},
	{"islamic-umalqura", "islamic-umalqura"},
	{"japanese", "japanese"},
	{"persian", "persian"},
	{"roc", "roc"},
};
constexpr int calendar_count = 16;
constexpr int gregory = 6;

// A month of a calendar as ICU gives its fields, on its first day.
struct calendar_moment {
	UDate time;
	int era, year, related_year, month, slot; // related_year: the Gregorian year its year
	bool lunar, leap_year, hebrew;            // begins in; lunar: Chinese or Korean
};

// The name a month's word has in the table: the month (0 ... 12), a Chinese or Korean leap
// month's 12 ... 23, the Hebrew Adar of a leap year (Adar II) 13.
int month_slot(const char *type, int month, bool leap_month, int extended_year)
{
	if (leap_month)
		return 12 + month;
	bool hebrew_leap = (7 * extended_year + 1) % 19 < 7;
	return std::strcmp(type, "hebrew") == 0 && month == 6 && hebrew_leap ? 13 : month;
}

// The months whose captions check the names the table keeps of a calendar: a month of each
// slot, the first of each era and of each of the 60 years of a cycle, from the months of
// 1700 ... 2511 (the years the calendars are known for).
// The month of calendar at time, on its first day.
calendar_moment month_at(icu::Calendar &calendar, const char *type, UDate time)
{
	UErrorCode status = U_ZERO_ERROR;
	calendar.setTime(time, status);
	calendar.set(UCAL_DATE, 1);
	int extended = calendar.get(UCAL_EXTENDED_YEAR, status);
	calendar_moment m{calendar.getTime(status), calendar.get(UCAL_ERA, status),
	                  calendar.get(UCAL_YEAR, status), 0, calendar.get(UCAL_MONTH, status), 0,
	                  std::strcmp(type, "chinese") == 0 || std::strcmp(type, "dangi") == 0,
	                  (7 * extended + 1) % 19 < 7, std::strcmp(type, "hebrew") == 0};
	m.slot = month_slot(type, m.month, calendar.get(UCAL_IS_LEAP_MONTH, status) != 0, extended);
	// The lunar calendars count from 2637 and 2333 years before the Gregorian.
	if (m.lunar) {
		m.related_year = extended - (std::strcmp(type, "chinese") == 0 ? 2637 : 2333);
	} else {
		calendar.set(UCAL_MONTH, 0);
		icu::GregorianCalendar gregorian(*icu::TimeZone::getGMT(), status);
		gregorian.setTime(calendar.getTime(status), status);
		m.related_year = gregorian.get(UCAL_YEAR, status);
	}
	check(status, std::string("a month of ") + type);
	return m;
}

std::vector<calendar_moment> calendar_samples(const char *type)
{
	UErrorCode status = U_ZERO_ERROR;
	icu::Locale root("und");
	root.setKeywordValue("calendar", type, status);
	std::unique_ptr<icu::Calendar> calendar(
		icu::Calendar::createInstance(icu::TimeZone::getGMT()->clone(), root, status));
	check(status, type);
	std::map<int, calendar_moment> slots, eras, years;
	// ICU computes each date of the calendars of the sky anew, slowly: their months of one
	// year, and the leap month of 2025 (闰六月).
	bool of_the_sky = std::strstr("chinese dangi islamic", type) != nullptr;
	for (int k = 0; of_the_sky && k < 12; ++k) {
		calendar_moment m = month_at(*calendar, type, date({2027, 1, 20, 12, 0}) + k * 29.53 * 864e5);
		slots.emplace(m.slot, m);
	}
	if (of_the_sky && std::strcmp(type, "islamic") != 0) {
		calendar_moment m = month_at(*calendar, type, date({2025, 6, 26, 12, 0}));
		slots.emplace(m.slot, m);
	}
	for (int year = 1700; !of_the_sky && year <= 2511; ++year) {
		for (int day = 0; day < 366; day += 14) {
			calendar_moment m = month_at(*calendar, type, date({year, 0, 1 + day, 12, 0}));
			if (year >= 2000 || slots.count(m.slot) == 0)
				slots[m.slot] = m;
			eras.emplace(m.era, m);
		}
	}
	std::vector<calendar_moment> samples;
	for (const auto *found : {&slots, &eras, &years})
		for (const auto &[key, m] : *found)
			samples.push_back(m);
	return samples;
}

// A calendar's names in a locale: the caption pattern and its words, each list by 0x1f.
struct calendar_texts {
	std::string caption, months, eras, year_names, day_names, first_year;
	int first_era = 0; // the era eras begin with: that of 1700-01-01
};

// The number of a month: a Hebrew year without Adar I numbers the months after it one less.
int month_number(const calendar_moment &m)
{
	return m.month + 1 - (m.hebrew && !m.leap_year && m.month >= 6 ? 1 : 0);
}

// The pattern bytes of the fields a calendar's caption has: 0x0a its era, 0x0c the related
// Gregorian year, 0x0d the name of its year in the cycle.
char calendar_field_byte(const field &in, const std::string &text, const calendar_moment &m,
                         const record &r)
{
	switch (in.id) {
	case UDAT_ERA_FIELD:
		return '\x0a';
	case UDAT_YEAR_FIELD: // the first of an era may have a word of its own, 元
		if (text == number(m.year, 1, r.digits) || (m.year == 1 && in.id == UDAT_YEAR_FIELD))
			return '\x01';
		[[fallthrough]];
	case UDAT_RELATED_YEAR_FIELD:
	case UDAT_EXTENDED_YEAR_FIELD:
		if (text == number(m.related_year, 1, r.digits))
			return '\x0c';
		break;
	case UDAT_YEAR_NAME_FIELD:
		return '\x0d';
	case UDAT_MONTH_FIELD:
	case UDAT_STANDALONE_MONTH_FIELD: // numbers of lunar months as words: 6bis
		return m.lunar                                            ? '\x02'
		       : text == number(month_number(m), 2, r.digits) ? '\x04'
		       : text == number(month_number(m), 1, r.digits) ? '\x03'
		                                                      : '\x02';
	}
	throw failure("caption field " + std::to_string(in.id) + " \"" + text + "\" of " +
	              std::to_string(m.related_year) + " has no byte");
}

// The caption of m cut into its pattern; the fields of words and their texts in words.
std::string cut_caption(const formatted &f, const calendar_moment &m, const record &r,
                        std::map<char, std::pair<int, std::string>> &words)
{
	std::string pattern;
	int at = 0;
	for (const field &in : f.fields) {
		pattern += html(f.text.tempSubStringBetween(at, in.begin));
		std::string text = html(f.text.tempSubStringBetween(in.begin, in.end));
		char byte = calendar_field_byte(in, text, m, r);
		pattern += byte;
		words[byte] = {in.id, text};
		at = in.end;
	}
	return pattern + html(f.text.tempSubString(at));
}

// Names as a 0x1f-separated list of HTML text.
std::string name_list(const UnicodeString *names, int32_t count)
{
	std::string list;
	for (int32_t i = 0; names != nullptr && i < count; ++i)
		list += (i > 0 ? "\x1f" : "") + html(names[i]);
	return list;
}

// Item index of a 0x1f-separated list.
std::string listed(const std::string &list, int index)
{
	std::size_t at = 0;
	for (; index > 0 && at <= list.size(); --index)
		at = std::min(list.find('\x1f', at), list.size()) + 1;
	return at > list.size() ? "" : list.substr(at, list.find('\x1f', at) - at);
}

using icu::DateFormatSymbols;

// The months of a calendar in the width and context of the caption's word for month m, each
// slot of calendar_names::months.
std::string month_list(const DateFormatSymbols &symbols, const std::pair<int, std::string> &word,
                       const calendar_moment &m, const std::string &digits)
{
	int32_t patterns = 0;
	const UnicodeString *leap = symbols.getLeapMonthPatterns(patterns);
	for (int width = 1; m.lunar && width <= 2; ++width) {
		if (word.second != number(m.month + 1, width, digits))
			continue;
		std::string list;
		for (int month = 0; month < 24; ++month) {
			UnicodeString name = UnicodeString::fromUTF8(number(month % 12 + 1, width, digits));
			if (month >= 12 && leap != nullptr && patterns > DateFormatSymbols::kLeapMonthPatternNumeric)
				name = UnicodeString(leap[DateFormatSymbols::kLeapMonthPatternNumeric]).findAndReplace("{0}", name);
			list += (month > 0 ? "\x1f" : "") + html(name);
		}
		return list;
	}
	auto context = word.first == UDAT_MONTH_FIELD ? DateFormatSymbols::FORMAT
	                                              : DateFormatSymbols::STANDALONE;
	for (auto width : {DateFormatSymbols::WIDE, DateFormatSymbols::ABBREVIATED,
	                   DateFormatSymbols::NARROW}) {
		int32_t count = 0;
		const UnicodeString *names = symbols.getMonths(count, context, width);
		std::string list = name_list(names, count);
		if (listed(list, m.month) != word.second)
			continue;
		int kind = (context == DateFormatSymbols::FORMAT ? 0 : 3) +
		           (width == DateFormatSymbols::WIDE ? 0 : width == DateFormatSymbols::ABBREVIATED ? 1 : 2);
		for (int month = count; leap != nullptr && kind < patterns && month < 24; ++month) {
			UnicodeString name = leap[kind];
			if (month >= 12)
				name.findAndReplace("{0}", names[month - 12]);
			list += "\x1f" + (month >= 12 ? html(name) : "");
		}
		return list;
	}
	throw failure("month \"" + word.second + "\" in no width");
}

// The eras, or the names of the years of the cycle, in the width of the caption's word.
std::string word_list(const DateFormatSymbols &symbols, bool eras, const std::string &word)
{
	int32_t count = 0;
	const UnicodeString *lists[] = {
		eras ? symbols.getEras(count) : symbols.getYearNames(count, DateFormatSymbols::FORMAT, DateFormatSymbols::ABBREVIATED),
		eras ? symbols.getEraNames(count) : symbols.getYearNames(count, DateFormatSymbols::FORMAT, DateFormatSymbols::WIDE),
		eras ? symbols.getNarrowEras(count) : symbols.getYearNames(count, DateFormatSymbols::FORMAT, DateFormatSymbols::NARROW),
	};
	for (const UnicodeString *names : lists) {
		std::string list = name_list(names, count);
		if (("\x1f" + list + "\x1f").find("\x1f" + word + "\x1f") != std::string::npos)
			return list;
	}
	throw failure("\"" + word + "\" in no list of " + (eras ? "eras" : "year names"));
}

// The caption of m as the table writes it.
std::string expand_caption(const calendar_texts &t, const calendar_moment &m, const record &r)
{
	std::string text;
	for (char c : t.caption)
		text += c == '\x01' && m.year == 1 && !t.first_year.empty() ? t.first_year
		        : c == '\x01' ? number(m.year, 1, r.digits)
		        : c == '\x02' ? listed(t.months, m.slot)
		        : c == '\x03' ? number(month_number(m), 1, r.digits)
		        : c == '\x04' ? number(month_number(m), 2, r.digits)
		        : c == '\x0a' ? listed(t.eras, m.era - t.first_era)
		        : c == '\x0c' ? number(m.related_year, 1, r.digits)
		        : c == '\x0d' ? listed(t.year_names, m.year - 1)
		                      : std::string(1, c);
	return text;
}

// The Chinese calendar's days as Chinese names them, 初一 ... 三十; "" elsewhere.
std::string day_names(const icu::Locale &locale, const char *type)
{
	if (std::strcmp(type, "chinese") != 0 || std::strcmp(locale.getLanguage(), "zh") != 0)
		return "";
	// Days 1 ... 30 of a Gregorian January, in the Chinese calendar's numerals.
	UErrorCode status = U_ZERO_ERROR;
	icu::Locale gregorian(locale);
	gregorian.setKeywordValue("calendar", "gregorian", status);
	icu::SimpleDateFormat format(UnicodeString("d"), UnicodeString("d=hanidays"), gregorian,
	                             status);
	std::string names;
	for (int day = 1; day <= 30; ++day) {
		UnicodeString text;
		format.format(date({2027, 0, day, 12, 0}), text);
		names += (day > 1 ? "\x1f" : "") + html(text);
	}
	check(status, "Chinese day names");
	return names;
}

calendar_texts read_calendar(const icu::Locale &available, const char *type,
                             const record &r)
{
	static std::map<std::string, std::vector<calendar_moment>> samples;
	if (samples.count(type) == 0)
		samples[type] = calendar_samples(type);
	const std::vector<calendar_moment> &months = samples[type];
	UErrorCode status = U_ZERO_ERROR;
	icu::Locale locale(available);
	locale.setKeywordValue("calendar", type, status);
	std::unique_ptr<icu::DateTimePatternGenerator> generator(
		icu::DateTimePatternGenerator::createInstance(locale, status));
	check(status, "pattern generator");
	// Telugu's captions of other calendars write the year of the 1st's week ("MMMM Y"), a
	// slip of its data that shows at a year's last days: the year itself.
	UnicodeString pattern = generator->getBestPattern("yMMMM", status);
	pattern.findAndReplace("Y", "y");
	auto format = std::make_unique<icu::SimpleDateFormat>(pattern, locale, status);
	check(status, "caption format");
	const DateFormatSymbols &symbols = *format->getDateFormatSymbols(); // the calendar's own
	calendar_texts t;
	std::map<char, std::pair<int, std::string>> words;
	t.caption = cut_caption(format_date(*format, months[0].time), months[0], r, words);
	if (words.count('\x02') != 0)
		t.months = month_list(symbols, words['\x02'], months[0], r.digits);
	if (words.count('\x0a') != 0) {
		// From the era of 1700-01-01 on: those before are never written.
		t.eras = word_list(symbols, true, words['\x0a'].second);
		t.first_era = months[0].era;
		for (const calendar_moment &m : months)
			t.first_era = std::min(t.first_era, m.era);
		for (int era = 0; era < t.first_era; ++era)
			t.eras.erase(0, std::min(t.eras.find('\x1f'), t.eras.size() - 1) + 1);
	}
	if (words.count('\x0d') != 0)
		t.year_names = word_list(symbols, false, words['\x0d'].second);
	// The first year of an era, as the locale may name it.
	for (const calendar_moment &m : months) {
		if (m.year != 1 || words.count('\x01') == 0)
			continue;
		std::map<char, std::pair<int, std::string>> first;
		(void)cut_caption(format_date(*format, m.time), m, r, first);
		if (first['\x01'].second != number(1, 1, r.digits))
			t.first_year = first['\x01'].second;
	}
	// Every month that names a word, checked, once for each set of names and digits; the
	// calendars of the sky, whose every date ICU computes anew, at their first months and
	// leap months.
	static std::set<std::string> verified;
	std::string key = std::string(type) + '\x1e' + t.caption + '\x1e' + t.months + '\x1e' +
	                  t.eras + '\x1e' + t.year_names + '\x1e' + r.digits;
	bool of_the_sky = std::strstr("chinese dangi islamic", type) != nullptr;
	bool fresh = verified.insert(key).second;
	for (std::size_t i = 0; fresh && i < months.size(); ++i) {
		if (of_the_sky && i > 14 && months[i].slot < 12)
			continue;
		std::string ours = expand_caption(t, months[i], r);
		std::string theirs = html(format_date(*format, months[i].time).text);
		if (ours != theirs)
			throw failure(std::string(type) + ": the table writes \"" + ours + "\", ICU \"" +
			              theirs + "\"");
	}
	t.day_names = day_names(available, type);
	return t;
}

// The calendar a locale's pages are in: the CLDR's default, as ICU has it. Saudi Arabia's
// moved from islamic-umalqura to the Gregorian calendar in CLDR 44, after this ICU.
int default_calendar(const icu::Locale &locale)
{
	UErrorCode status = U_ZERO_ERROR;
	std::unique_ptr<icu::Calendar> calendar(icu::Calendar::createInstance(locale, status));
	check(status, "calendar");
	std::string type = calendar->getType();
	if (std::strcmp(locale.getLanguage(), "ar") == 0 && std::strcmp(locale.getCountry(), "SA") == 0)
		type = "gregorian";
	for (int i = 0; i < calendar_count; ++i)
		if (type == calendar_names[i][1])
			return i;
	throw failure("no calendar " + type);
}

void read_calendars(record &r, const icu::Locale &available)
{
	for (int i = 0; i < calendar_count; ++i) {
		if (i == gregory) {
			r.calendars.emplace_back();
			continue;
		}
		calendar_texts t = read_calendar(available, calendar_names[i][1], r);
		r.calendars.push_back(t.caption + '\x1e' + t.months + '\x1e' + t.eras + '\x1e' +
		                      t.year_names + '\x1e' + t.day_names + '\x1e' + t.first_year);
	}
	r.calendar = default_calendar(available);
}

record read_record(const icu::Locale &available)
{
	UErrorCode status = U_ZERO_ERROR;
	icu::Locale locale(available);
	locale.setKeywordValue("calendar", "gregorian", status);
	std::unique_ptr<icu::DateTimePatternGenerator> generator(
		icu::DateTimePatternGenerator::createInstance(locale, status));
	check(status, "pattern generator");
	record r;
	r.digits = read_digits(locale);
	read_names(r, *generator, locale);
	read_month_and_year(r, *generator, locale);
	read_ranges(r, locale);
	read_time(r, *generator, locale);
	read_week(r, *generator, locale);
	read_calendars(r, available);
	r.right_to_left = locale.isRightToLeft() ? 1 : 0;
	return r;
}

std::string tag_of(const icu::Locale &locale)
{
	UErrorCode status = U_ZERO_ERROR;
	std::string tag = locale.toLanguageTag<std::string>(status);
	check(status, "language tag");
	return tag;
}

// "zh-TW" for "zh-Hant-TW": the tag without its script, when the likely subtags give it back;
// else "".
std::string tag_without_script(const icu::Locale &locale)
{
	if (*locale.getScript() == '\0' || *locale.getCountry() == '\0' || *locale.getVariant())
		return "";
	icu::Locale likely(locale.getLanguage(), locale.getCountry());
	UErrorCode status = U_ZERO_ERROR;
	likely.addLikelySubtags(status);
	check(status, "likely subtags");
	if (std::strcmp(likely.getScript(), locale.getScript()) != 0)
		return "";
	return tag_of(icu::Locale(locale.getLanguage(), locale.getCountry()));
}

std::string small_letters(std::string text)
{
	for (char &c : text)
		c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
	return text;
}

// Each text once, NUL-terminated, at its offset.
struct text_pool {
	std::string bytes;
	std::map<std::string, std::uint32_t> offsets;

	std::uint32_t add(const std::string &text)
	{
		auto [at, added] = offsets.emplace(text, bytes.size());
		if (added)
			bytes += text + '\0';
		return at->second;
	}
};

// The bytes as string literals of ASCII, a line ending after a NUL past 70 columns or within a
// text past 86. An escape's digits would run on into a digit after it: a new literal starts
// there.
void write_literals(const std::string &bytes)
{
	std::string line;
	const char *continues = ""; // the digits that would continue the last escape
	for (char c : bytes) {
		auto byte = static_cast<unsigned char>(c);
		if (c != '\0' && std::strchr(continues, c) != nullptr)
			line += "\" \"";
		bool plain = byte >= 0x20 && byte <= 0x7e;
		continues = plain ? "" : byte == 0 ? "01234567" : "0123456789abcdefABCDEF";
		char escape[8];
		std::snprintf(escape, sizeof escape, byte == 0 ? "\\0" : "\\x%02x", byte);
		if (c == '"' || c == '\\')
			line += '\\';
		line += plain ? std::string(1, c) : escape;
		if (line.size() > 86 || (byte == 0 && line.size() > 70)) {
			std::printf("\t\"%s\"\n", line.c_str());
			line.clear();
			continues = "";
		}
	}
	std::printf("\t\"%s\";\n", line.c_str());
}

// The offsets of texts [begin, end) as "1, 2, 3".
std::string offsets(text_pool &pool, const std::vector<std::string> &texts, int begin, int end)
{
	std::string list;
	for (int i = begin; i < end; ++i)
		list += (i > begin ? ", " : "") + std::to_string(pool.add(texts[i]));
	return list;
}

// Each calendar's names once, as calendar_names records of offsets; by the joined texts.
struct calendar_sets {
	std::map<std::string, int> index;
	std::string source;

	int add(text_pool &pool, const std::string &joined)
	{
		auto [at, added] = index.emplace(joined, index.size());
		if (!added)
			return at->second;
		source += "\t{";
		for (std::size_t begin = 0, part = 0; part < 6; ++part) {
			std::size_t end = std::min(joined.find('\x1e', begin), joined.size());
			source += (part > 0 ? ", " : "") +
			          std::to_string(pool.add(joined.substr(begin, end - begin)));
			begin = end + 1;
		}
		source += "},\n";
		return at->second;
	}
};

std::string record_source(text_pool &pool, calendar_sets &sets, const record &r)
{
	std::vector<std::string> texts = texts_of(r);
	std::string source = "\t{{" + offsets(pool, texts, 0, 12) + "},\n\t {";
	source += offsets(pool, texts, 12, 24) + "},\n\t {";
	source += offsets(pool, texts, 24, 31) + "},\n\t {";
	source += offsets(pool, texts, 31, 38) + "},\n\t ";
	source += offsets(pool, texts, 38, 47);
	source += ", " + std::to_string(r.first_weekday) + ", " + std::to_string(r.weekend) + ", " +
	          std::to_string(r.right_to_left) + ", " + std::to_string(r.minimal_days) + ", " +
	          std::to_string(r.calendar) + ",\n\t {";
	for (std::size_t i = 0; i < r.calendars.size(); ++i)
		source += (i > 0 ? ", " : "") +
		          std::to_string(r.calendars[i].empty() ? 0 : sets.add(pool, r.calendars[i]));
	return source + "}},\n";
}

// Tags by their small letters: the tag and its record.
using tag_map = std::map<std::string, std::pair<std::string, int>>;

// Reads every locale ICU has into records, each distinct record once, and its tags; says which
// locales fail and why, and returns false if any does.
bool read_locales(std::vector<record> &records, tag_map &tags)
{
	int32_t count = 0;
	const icu::Locale *available = icu::Locale::getAvailableLocales(count);
	std::map<std::vector<std::string>, int> record_index;
	bool read = true;
	for (int32_t i = 0; i < count; ++i) {
		const icu::Locale &locale = available[i];
		if (*locale.getLanguage() == '\0')
			continue;
		try {
			record r = read_record(locale);
			std::vector<std::string> key = texts_of(r);
			key.push_back(std::to_string(r.first_weekday) + " " +
			              std::to_string(r.weekend) + " " +
			              std::to_string(r.right_to_left) + " " +
			              std::to_string(r.minimal_days) + " " + std::to_string(r.calendar));
			key.insert(key.end(), r.calendars.begin(), r.calendars.end());
			auto [at, added] = record_index.emplace(key, records.size());
			if (added)
				records.push_back(r);
			std::string tag = tag_of(locale), short_tag = tag_without_script(locale);
			// An available locale's tag wins over another's without its script.
			tags[small_letters(tag)] = {tag, at->second};
			if (!short_tag.empty())
				tags.emplace(small_letters(short_tag),
				             std::pair(short_tag, at->second));
		} catch (const failure &f) {
			std::fprintf(stderr, "generate: %s: %s\n", locale.getName(), f.what());
			read = false;
		}
	}
	return read;
}

// Old and three-letter codes of languages that CLDR replaces by a language of the table, or a
// language and script ("iw" by "he", "tl" by "fil", "deu" by "de", "sh" by "sr-Latn"), by code.
std::map<std::string, std::string> read_aliases(const tag_map &tags)
{
	std::map<std::string, std::string> aliases;
	for (int size = 2; size <= 3; ++size)
		for (int n = 0; n < (size == 2 ? 26 * 26 : 26 * 26 * 26); ++n) {
			std::string code;
			for (int i = 0, k = n; i < size; ++i, k /= 26)
				code.insert(code.begin(), static_cast<char>('a' + k % 26));
			icu::Locale canonical = icu::Locale::createCanonical(code.c_str());
			UErrorCode status = U_ZERO_ERROR;
			std::string tag = canonical.toLanguageTag<std::string>(status);
			if (U_SUCCESS(status) && tag != code && *canonical.getCountry() == '\0' &&
			    tags.count(small_letters(tag)) != 0 && tags.count(code) == 0)
				aliases.emplace(code, tag);
		}
	return aliases;
}

void write_table(const std::vector<record> &records, const tag_map &tags,
                 const std::map<std::string, std::string> &aliases)
{
	text_pool pool;
	calendar_sets sets;
	sets.add(pool, "\x1e\x1e\x1e\x1e\x1e"); // 0: the Gregorian calendar's, in the record
	std::string record_lines, tag_lines;
	for (const record &r : records)
		record_lines += record_source(pool, sets, r);
	for (const auto &[small, tag] : tags) {
		std::uint32_t offset = pool.add(tag.first);
		tag_lines += "\t{" + std::to_string(offset) + ", " + std::to_string(tag.second) +
		             "}, // " + tag.first + "\n";
	}
	std::string alias_lines;
	for (const auto &[code, tag] : aliases)
		alias_lines += "\t{" + std::to_string(pool.add(code)) + ", " +
		               std::to_string(pool.add(tag)) + "}, // " + code + " " + tag + "\n";
	UErrorCode status = U_ZERO_ERROR;
	UVersionInfo icu_version, cldr_version;
	char icu_name[U_MAX_VERSION_STRING_LENGTH], cldr_name[U_MAX_VERSION_STRING_LENGTH];
	u_getVersion(icu_version);
	u_versionToString(icu_version, icu_name);
	ulocdata_getCLDRVersion(cldr_version, &status);
	check(status, "CLDR version");
	std::snprintf(cldr_name, sizeof cldr_name, cldr_version[1] ? "%d.%d" : "%d",
	              cldr_version[0], cldr_version[1]);

	std::printf("// Generated by tools/locale_data/generate.cpp from ICU %s (CLDR %s): do not "
	            "edit.\n// To make it again: bash tools/locale_data/generate.sh\n"
	            "#include \"locale_data.h\"\n\n// clang-format off\n"
	            "// The texts are longer than the 65536 bytes C++ asks a compiler to take in a "
	            "string\n// literal: GCC and clang take any length, clang -Wpedantic warns.\n"
	            "#ifdef __clang__\n#pragma clang diagnostic ignored \"-Woverlength-strings\"\n"
	            "#endif\nconst char locale_text[] =\n",
	            icu_name, cldr_name);
	write_literals(pool.bytes);
	std::printf("\nconst calendar_names calendar_name_sets[] = {\n%s};\n\n"
	            "const locale_record locale_records[] = {\n%s};\n"
	            "const std::size_t locale_record_count = %zu;\n\n"
	            "const locale_tag locale_tags[] = {\n%s};\n"
	            "const std::size_t locale_tag_count = %zu;\n\n"
	            "const locale_alias locale_aliases[] = {\n%s};\n"
	            "const std::size_t locale_alias_count = %zu;\n\n"
	            "const char cldr_version[] = \"%s\";\n",
	            sets.source.c_str(), record_lines.c_str(), records.size(), tag_lines.c_str(),
	            tags.size(),
	            alias_lines.c_str(), aliases.size(), cldr_name);
}

} // namespace

int main()
{
	icu::TimeZone::adoptDefault(icu::TimeZone::createTimeZone("Etc/UTC"));
	std::vector<record> records;
	tag_map tags;
	if (!read_locales(records, tags))
		return 1;
	if (records.size() > UINT16_MAX || tags.count("en") == 0) {
		std::fprintf(stderr, "generate: %zu records, \"en\" %s\n", records.size(),
		             tags.count("en") ? "among the tags" : "missing");
		return 1;
	}
	write_table(records, tags, read_aliases(tags));
}
