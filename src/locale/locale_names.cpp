#include "locale_names.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t max_tag_size = sizeof page_locale::tag - 1;

bool is_letter(char c)
{
	return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool is_digit(char c)
{
	return c >= '0' && c <= '9';
}

char to_lower(char c)
{
	return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

char to_upper(char c)
{
	return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Writes subtag in its canonical case: a script ("Latn") in title case, a region ("DE", "419")
// in capitals, everything else, and everything after a one-letter extension, in small letters.
void put_subtag(std::string_view subtag, int index, bool extended, char *to)
{
	bool script = !extended && index > 0 && subtag.size() == 4 && is_letter(subtag[0]);
	bool region = !extended && index > 0 &&
	              ((subtag.size() == 2 && is_letter(subtag[0])) ||
	               (subtag.size() == 3 && is_digit(subtag[0])));
	for (std::size_t i = 0; i < subtag.size(); ++i)
		to[i] = region || (script && i == 0) ? to_upper(subtag[i]) : to_lower(subtag[i]);
}

// Writes name, a tag or the LANG form of one ("de_DE.UTF-8"), into tag in canonical case:
// "de-DE". False when it is no tag: subtags of one to eight letters and digits, the first of
// two to eight letters.
bool canonical_tag(const char *name, char (&tag)[sizeof page_locale::tag])
{
	std::string_view text = name;
	text = text.substr(0, text.find_first_of(".@")); // the character set, the modifier
	if (text.empty() || text.size() > max_tag_size)
		return false;
	bool extended = false;
	std::size_t at = 0;
	for (int index = 0; !text.empty(); ++index) {
		std::string_view subtag = text.substr(0, text.find_first_of("-_"));
		bool alphanumeric = std::all_of(subtag.begin(), subtag.end(),
		                                [](char c) { return is_letter(c) || is_digit(c); });
		if (subtag.empty() || subtag.size() > 8 || !alphanumeric ||
		    (index == 0 &&
		     (subtag.size() < 2 || !std::all_of(subtag.begin(), subtag.end(), is_letter))))
			return false;
		put_subtag(subtag, index, extended, tag + at);
		extended = extended || subtag.size() == 1;
		at += subtag.size();
		text.remove_prefix(subtag.size());
		if (!text.empty()) {
			tag[at++] = '-';
			text.remove_prefix(1);
			if (text.empty())
				return false; // a trailing separator
		}
	}
	tag[at] = '\0';
	return true;
}

// The table's entry for key, a tag in small letters; null when there is none.
const locale_tag *find_tag(std::string_view key)
{
	auto before = [](const locale_tag &entry, std::string_view wanted) {
		std::string_view tag = locale_string(entry.tag);
		return std::lexicographical_compare(
			tag.begin(), tag.end(), wanted.begin(), wanted.end(),
			[](char a, char b) { return to_lower(a) < to_lower(b); });
	};
	const locale_tag *end = locale_tags + locale_tag_count;
	const locale_tag *found = std::lower_bound(locale_tags, end, key, before);
	if (found == end || locale_string(found->tag).size() != key.size() ||
	    !std::equal(key.begin(), key.end(), locale_string(found->tag).begin(),
	                [](char a, char b) { return a == to_lower(b); }))
		return nullptr;
	return found;
}

// Where the language of key, a tag in small letters, has an old code that CLDR replaces ("iw",
// "tl", "deu"), puts CLDR's own in its place ("he", "fil", "de"); false when it does not fit.
bool replace_alias(char (&key)[sizeof page_locale::tag], std::size_t &size)
{
	std::string_view language(key, std::min(std::string_view(key, size).find('-'), size));
	const locale_alias *end = locale_aliases + locale_alias_count;
	const locale_alias *found = std::lower_bound(
		locale_aliases, end, language, [](const locale_alias &a, std::string_view code) {
			return locale_string(a.code) < code;
		});
	if (found == end || locale_string(found->code) != language)
		return true;
	std::string_view replacement = locale_string(found->replacement);
	if (size - language.size() + replacement.size() > max_tag_size)
		return false;
	std::memmove(key + replacement.size(), key + language.size(), size - language.size() + 1);
	std::transform(replacement.begin(), replacement.end(), key, to_lower);
	size += replacement.size() - language.size();
	return true;
}

void put_text(out_stream &out, std::string_view text)
{
	put_bytes(out, text.data(), text.size());
}

void put_two_digits(out_stream &out, const locale_record &record, int number)
{
	if (number < 10)
		put_number(out, record, 0);
	put_number(out, record, number);
}

// Part n of a list of texts separated by 0x1f: a day period by its hour, a month's word.
std::string_view part_of(std::uint32_t list, int n)
{
	std::string_view parts = locale_string(list);
	for (; n > 0 && !parts.empty(); --n)
		parts.remove_prefix(std::min(parts.find('\x1f'), parts.size() - 1) + 1);
	return parts.substr(0, parts.find('\x1f'));
}

// Writes the field of a pattern that byte stands for.
void put_field(out_stream &out, const locale_record &record, char field,
               const pattern_values &values)
{
	bool last = (field & 0x10) != 0;
	int year = last ? values.last_year : values.year;
	int month = last ? values.last_month : values.month;
	int hour12 = values.hour % 12 == 0 ? 12 : values.hour % 12;
	switch (field & ~0x10) {
	case 0x01:
		return put_number(out, record, year);
	case 0x02:
		return put_text(out, locale_string(record.month_words[month]));
	case 0x03:
		return put_number(out, record, month + 1);
	case 0x04:
		return put_two_digits(out, record, month + 1);
	case 0x09:
		return put_text(out, part_of(record.range_words, month));
	case 0x05:
		return put_number(out, record, values.hour);
	case 0x06:
		return put_two_digits(out, record, values.hour);
	case 0x07:
		return put_number(out, record, hour12);
	case 0x08:
		return put_two_digits(out, record, hour12);
	case 0x0b:
		return put_two_digits(out, record, values.minute);
	case 0x0e:
		return put_text(out, part_of(record.day_periods, values.hour));
	default:
		return;
	}
}

// Writes the script that a LANG modifier names, "sr_RS@latin", into tag: "sr-Latn-RS".
bool add_script_of_modifier(const char *name, char (&tag)[sizeof page_locale::tag])
{
	std::string_view modifier = name;
	modifier = modifier.substr(std::min(modifier.find('@'), modifier.size()));
	std::string_view script = modifier == "@latin"        ? "-Latn"
	                          : modifier == "@cyrillic"   ? "-Cyrl"
	                          : modifier == "@devanagari" ? "-Deva"
	                                                      : "";
	std::size_t size = std::strlen(tag);
	std::size_t language = std::string_view(tag).find('-');
	if (script.empty())
		return true;
	if (size + script.size() > max_tag_size)
		return false;
	language = std::min(language, size);
	std::memmove(tag + language + script.size(), tag + language, size - language + 1);
	std::memcpy(tag + language, script.data(), script.size());
	return true;
}

} // namespace

std::string_view locale_string(std::uint32_t offset)
{
	return locale_text + offset;
}

bool find_locale(const char *name, page_locale &locale)
{
	std::string_view text = name;
	text = text.substr(0, text.find_first_of(".@"));
	if (text == "C" || text == "POSIX")
		name = "en";
	if (!canonical_tag(name, locale.tag) || !add_script_of_modifier(name, locale.tag))
		return false;
	char key[sizeof locale.tag];
	std::size_t size = std::strlen(locale.tag);
	std::transform(locale.tag, locale.tag + size + 1, key, to_lower);
	if (!replace_alias(key, size))
		return false;
	// "de-CH-1996", then "de-CH", then "de".
	for (;;) {
		if (const locale_tag *found = find_tag({key, size})) {
			locale.record = &locale_records[found->record];
			return true;
		}
		std::size_t dash = std::string_view(key, size).rfind('-');
		if (dash == std::string_view::npos)
			return false;
		size = dash;
	}
}

page_locale english_locale()
{
	page_locale english;
	(void)find_locale("en", english);
	return english;
}

bool list_locales(std::FILE *to)
{
	for (std::size_t i = 0; i < locale_tag_count; ++i) {
		(void)std::fputs(locale_text + locale_tags[i].tag, to);
		(void)std::fputc('\n', to);
	}
	return std::fflush(to) == 0 && std::ferror(to) == 0;
}

void put_number(out_stream &out, const locale_record &record, long long number)
{
	std::string_view digits = locale_string(record.digits);
	if (digits == "0123456789") {
		put_int(out, number);
		return;
	}
	// Numbers on a page are never negative.
	std::size_t width = digits.size() / 10;
	char decimal[20];
	int count = 0;
	do {
		decimal[count++] = static_cast<char>(number % 10);
		number /= 10;
	} while (number > 0);
	while (count > 0)
		put_bytes(out, digits.data() + width * static_cast<std::size_t>(decimal[--count]),
		          width);
}

void put_pattern(out_stream &out, const locale_record &record, std::uint32_t pattern,
                 const pattern_values &values)
{
	const char *text = locale_text + pattern;
	while (*text != '\0') {
		const char *field = text;
		while (static_cast<unsigned char>(*field) >= 0x20)
			++field;
		put_bytes(out, text, static_cast<std::size_t>(field - text));
		if (*field == '\0')
			return;
		put_field(out, record, *field, values);
		text = field + 1;
	}
}

namespace {

// Item index of a list separated by 0x1f; "" past its end.
std::string_view listed(std::uint32_t list, int index)
{
	const char *at = locale_text + list;
	for (; index > 0 && *at != '\0'; ++at)
		index -= *at == '\x1f' ? 1 : 0;
	if (index > 0)
		return {};
	const char *end = at;
	while (*end != '\0' && *end != '\x1f')
		++end;
	return {at, static_cast<std::size_t>(end - at)};
}

const calendar_names &names_of(const locale_record &record, calendar_type type)
{
	return calendar_name_sets[record.calendars[static_cast<int>(type)]];
}

// The era of 1700-01-01, the first of calendar_names::eras.
int first_era(calendar_type type)
{
	static int eras[calendar_count] = {};
	static bool known[calendar_count] = {};
	auto at = static_cast<std::size_t>(type);
	calendar_month month{};
	if (!known[at] && month_of_day(type, first_calendar_day, month)) {
		eras[at] = month.era;
		known[at] = true;
	}
	return eras[at];
}

// The slot of months that names month: calendar_names::months.
int month_slot(calendar_type type, const calendar_month &month)
{
	if (month.leap)
		return 12 + month.month;
	return type == calendar_type::hebrew && month.month == 6 && month.leap_year ? 13
	                                                                            : month.month;
}

// The number of a month: a Hebrew year without Adar I numbers the months after it one less.
int month_number(calendar_type type, const calendar_month &month)
{
	return month.month + 1 -
	       (type == calendar_type::hebrew && !month.leap_year && month.month >= 6 ? 1 : 0);
}

void put_calendar_field(out_stream &out, const locale_record &record, calendar_type type,
                        const calendar_month &month, char field)
{
	const calendar_names &names = names_of(record, type);
	switch (field) {
	case 0x01:
		if (month.year == 1 && *locale_string(names.first_year).data() != '\0')
			put(out, locale_string(names.first_year));
		else
			put_number(out, record, month.year);
		break;
	case 0x02:
		put(out, listed(names.months, month_slot(type, month)));
		break;
	case 0x04:
		if (month_number(type, month) < 10)
			put_number(out, record, 0);
		put_number(out, record, month_number(type, month));
		break;
	case 0x03:
		put_number(out, record, month_number(type, month));
		break;
	case 0x0a:
		put(out, listed(names.eras, month.era - first_era(type)));
		break;
	case 0x0c:
		put_number(out, record, month.related_year);
		break;
	case 0x0d:
		put(out, listed(names.year_names, month.year - 1));
		break;
	default:
		break;
	}
}

} // namespace

void put_calendar_month(out_stream &out, const locale_record &record, calendar_type type,
                        const calendar_month &month)
{
	const char *text = locale_text + names_of(record, type).caption;
	while (*text != '\0') {
		const char *field = text;
		while (static_cast<unsigned char>(*field) >= 0x20)
			++field;
		put_bytes(out, text, static_cast<std::size_t>(field - text));
		if (*field == '\0')
			return;
		put_calendar_field(out, record, type, month, *field);
		text = field + 1;
	}
}

void put_calendar_month_word(out_stream &out, const locale_record &record, calendar_type type,
                             const calendar_month &month)
{
	std::string_view word = listed(names_of(record, type).months, month_slot(type, month));
	if (word.empty())
		put_calendar_field(out, record, type, month, 0x03);
	else
		put(out, word);
}

void put_calendar_day(out_stream &out, const locale_record &record, calendar_type type, int day)
{
	std::string_view name = listed(names_of(record, type).day_names, day - 1);
	if (name.empty())
		put_number(out, record, day);
	else
		put(out, name);
}
