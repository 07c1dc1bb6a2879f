#include "holidays.h"

#include <algorithm>

#include "calendar/calendar.h"
#include "calendar/easter.h"

namespace {

char small(char c)
{
	return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool before_in_small_letters(std::string_view a, std::string_view b)
{
	return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
	                                    [](char x, char y) { return small(x) < small(y); });
}

// The base day of a rule in year, days from 1970.
long long base_day(const holiday_record &rule, long long year)
{
	switch (rule.kind) {
	case after_easter:
		return western_easter(year) + rule.day;
	case after_orthodox:
		return orthodox_easter(year) + rule.day;
	case nth_weekday: {
		long long start = days_from_civil(year, rule.month - 1, 1) + rule.day;
		return start + (rule.weekday - weekday_of_day(start) + 7) % 7;
	}
	default:
		return days_from_civil(year, rule.month - 1, rule.day);
	}
}

// The first days of rule's occurrences from first to last, into days.
void days_of(const holiday_record &rule, long long first, long long last,
             std::vector<long long> &days)
{
	days.clear();
	if (rule.kind == listed_days) {
		const std::int32_t *list = holiday_days + rule.days;
		long long day = 0;
		for (std::int32_t k = 1; k <= list[0]; ++k)
			if ((day += list[k]) >= first - rule.length && day <= last)
				days.push_back(day);
		return;
	}
	long long from = std::max<long long>(civil_from_days(first).year - 1, rule.since);
	long long to = std::min<long long>(civil_from_days(last).year + 1, rule.until);
	for (long long year = from; year <= to; ++year) {
		long long base = base_day(rule, year);
		std::int8_t shift = holiday_shifts[rule.shifts][weekday_of_day(base)];
		if (shift != no_instance)
			days.push_back(base + shift);
	}
}

// The text of a name in the set of names: the place of its language among holiday_tags, for
// a tag of language; 0 for none.
std::uint32_t name_in(const holiday_record &rule, std::string_view language)
{
	const std::uint32_t *names = holiday_names + rule.names;
	for (std::uint32_t k = 1; k <= names[0]; ++k)
		if (holiday_text_at(holiday_tags[names[k] / 1000000]) == language)
			return names[k] % 1000000;
	return 0;
}

// A substitute day's word in language; "" where it has none.
std::string_view substitute_word(std::string_view language)
{
	const holiday_word *end = holiday_substitute_words + holiday_substitute_word_count;
	const holiday_word *found =
		std::find_if(holiday_substitute_words, end, [&](const holiday_word &w) {
			return holiday_text_at(w.tag) == language;
		});
	return found == end ? "" : holiday_text_at(found->word);
}

// The name of rule in language, "de-ch" in small letters (then "de"), else its region's own.
std::string name_of(const holiday_record &rule, const holiday_region &region,
                    std::string_view language)
{
	std::string_view tag = language.substr(0, language.find('-'));
	std::uint32_t text = name_in(rule, language);
	if (text == 0 && tag != language)
		text = name_in(rule, tag);
	if (text == 0)
		return std::string(holiday_text_at(rule.own));
	std::string name(holiday_text_at(text));
	if (rule.substitute != 0) {
		std::string_view word = substitute_word(tag);
		if (word.empty())
			word = substitute_word(holiday_text_at(region.language));
		name.append(" (").append(word).append(")");
	}
	return name;
}

} // namespace

std::string_view holiday_text_at(std::uint32_t offset)
{
	return holiday_text + offset;
}

const holiday_region *find_holiday_region(std::string_view code)
{
	const holiday_region *end = holiday_regions + holiday_region_count;
	const holiday_region *found = std::lower_bound(
		holiday_regions, end, code, [](const holiday_region &r, std::string_view wanted) {
			return before_in_small_letters(holiday_text_at(r.code), wanted);
		});
	if (found == end || before_in_small_letters(code, holiday_text_at(found->code)))
		return nullptr;
	return found;
}

bool list_holiday_regions(std::FILE *to)
{
	for (std::size_t k = 0; k < holiday_region_count; ++k)
		(void)std::fprintf(to, "%s %s\n", holiday_text + holiday_regions[k].code,
		                   holiday_text + holiday_regions[k].name);
	return std::fflush(to) == 0 && std::ferror(to) == 0;
}

void add_holidays(const holiday_region &region, long long first_day, long long last_day,
                  std::string_view language, std::vector<holiday> &holidays)
{
	first_day = std::max(first_day, days_from_civil(holiday_first_year, 0, 1));
	last_day = std::min(last_day, days_from_civil(holiday_last_year, 11, 31));
	std::string small_language(language);
	std::transform(small_language.begin(), small_language.end(), small_language.begin(), small);
	std::size_t start = holidays.size();
	std::vector<long long> days;
	for (std::uint32_t k = 0; k < region.count; ++k) {
		const holiday_record &rule = holiday_records[holiday_lists[region.first + k]];
		days_of(rule, first_day, last_day, days);
		for (long long day : days)
			if (day + rule.length - 1 >= first_day && day <= last_day)
				holidays.push_back({day, day + rule.length - 1,
				                    name_of(rule, region, small_language)});
	}
	std::stable_sort(
		holidays.begin() + static_cast<std::ptrdiff_t>(start), holidays.end(),
		[](const holiday &a, const holiday &b) { return a.first_day < b.first_day; });
}
