#include "locale_names.h"

#include <cstring>
#include <ctime>

#include "calendar.h"
#include "output.h"

namespace {

// A locale's names as the system gives them: UTF-8, at most name_capacity - 1 bytes each.
struct system_names {
	char language[name_capacity];
	char months[12][name_capacity];
	char weekdays[7][name_capacity];
	char weekday_heads[7][name_capacity];
};

} // namespace

#ifdef _WIN32
#include <windows.h>

namespace {

// Windows knows every language by its tag, "de-DE"; GetLocaleInfoEx gives the names in UTF-16.
names_read read_system_names(const char *locale, system_names &names)
{
	static_assert(name_capacity <= LOCALE_NAME_MAX_LENGTH, "every name the caller takes fits");
	wchar_t tag[LOCALE_NAME_MAX_LENGTH] = {};
	for (std::size_t i = 0; locale[i] != '\0' && locale[i] != '.'; ++i)
		tag[i] = locale[i] == '_' ? L'-' : static_cast<wchar_t>(locale[i]);
	LCID id = LocaleNameToLCID(tag, 0);
	if (id == 0 || id == LOCALE_CUSTOM_UNSPECIFIED)
		return names_read::not_available;
	auto get = [&](LCTYPE type, char *name) {
		wchar_t wide[name_capacity];
		return GetLocaleInfoEx(tag, type, wide, name_capacity) > 0 &&
		       WideCharToMultiByte(CP_UTF8, 0, wide, -1, name, name_capacity, nullptr,
		                           nullptr) > 0;
	};
	bool fits = get(LOCALE_SNAME, names.language);
	for (int month = 0; month < 12; ++month)
		fits = fits && get(LOCALE_SMONTHNAME1 + month, names.months[month]);
	// LOCALE_SDAYNAME1 is Monday.
	for (int weekday = 0; weekday < 7; ++weekday)
		fits = fits && get(LOCALE_SDAYNAME1 + (weekday + 6) % 7, names.weekdays[weekday]) &&
		       get(LOCALE_SABBREVDAYNAME1 + (weekday + 6) % 7,
		           names.weekday_heads[weekday]);
	return fits ? names_read::ok : names_read::too_long;
}

} // namespace
#else
#include <cctype>
#include <clocale>
#include <langinfo.h>

namespace {

// Writes a tag such as "de-de" or "de_DE" in place as "de" separator "DE": tags are the same in
// any case, and the C library's names take the language in small and the country in capitals.
// A name without a country ("C") stays as it is.
void canonical_tag(char *tag, char separator)
{
	char *country = std::strpbrk(tag, "-_");
	if (country == nullptr)
		return;
	for (; tag != country; ++tag)
		*tag = static_cast<char>(std::tolower(static_cast<unsigned char>(*tag)));
	for (*country++ = separator; *country != '\0'; ++country)
		*country = static_cast<char>(std::toupper(static_cast<unsigned char>(*country)));
}

// The C library's names, in a locale of its own (the process's stays as it is): a tag "de-DE"
// is tried as "de_DE.UTF-8", then any name as it stands; only a UTF-8 locale will do.
names_read read_system_names(const char *locale, system_names &names)
{
	constexpr char utf8[] = ".UTF-8";
	locale_t system = nullptr;
	if (std::strchr(locale, '.') == nullptr) {
		// "ll-CC@modifier" as "ll_CC.UTF-8@modifier"; all of it below name_capacity.
		std::size_t tag_size = std::strcspn(locale, "@");
		char utf8_name[name_capacity + sizeof utf8] = {};
		std::memcpy(utf8_name, locale, tag_size);
		canonical_tag(utf8_name, '_');
		std::memcpy(utf8_name + tag_size, utf8, sizeof utf8 - 1);
		std::memcpy(utf8_name + tag_size + sizeof utf8 - 1, locale + tag_size,
		            std::strlen(locale + tag_size) + 1);
		system = newlocale(LC_CTYPE_MASK | LC_TIME_MASK, utf8_name, nullptr);
	}
	if (system == nullptr)
		system = newlocale(LC_CTYPE_MASK | LC_TIME_MASK, locale, nullptr);
	if (system == nullptr)
		return names_read::not_available;
	if (std::strcmp(nl_langinfo_l(CODESET, system), "UTF-8") != 0) {
		freelocale(system);
		return names_read::not_available;
	}
	// The language: the name up to its character set or modifier, "de_DE" as "de-DE".
	std::memcpy(names.language, locale, std::strcspn(locale, ".@"));
	canonical_tag(names.language, '-');
	// strftime_l gives 0 for a name that does not fit; %OB is the month as a heading names it.
	std::tm date{};
	auto format = [&](char *name, const char *conversion) {
		return strftime_l(name, name_capacity, conversion, &date, system) > 0;
	};
	bool fits = true;
	for (date.tm_mon = 0; date.tm_mon < 12; ++date.tm_mon)
		fits = fits && format(names.months[date.tm_mon], "%OB");
	for (date.tm_wday = 0; date.tm_wday < 7; ++date.tm_wday)
		fits = fits && format(names.weekdays[date.tm_wday], "%A") &&
		       format(names.weekday_heads[date.tm_wday], "%a");
	freelocale(system);
	return fits ? names_read::ok : names_read::too_long;
}

} // namespace
#endif

bool set_name(html_name &name, std::string_view text)
{
	char escaped[name_capacity * escaped_byte_size];
	if (text.size() > name_capacity)
		return false;
	std::size_t size = escape_html(text, escaped);
	if (size > name_capacity)
		return false;
	std::memcpy(name.bytes, escaped, size);
	name.size = size;
	return true;
}

const calendar_names &english_names()
{
	static const calendar_names names = [] {
		calendar_names english;
		set_name(english.language, "en");
		for (int month = 0; month < 12; ++month)
			set_name(english.months[month], month_names[month]);
		for (int weekday = 0; weekday < 7; ++weekday) {
			set_name(english.weekdays[weekday], weekday_names[weekday]);
			set_name(english.weekday_heads[weekday],
			         weekday_names[weekday].substr(0, 2));
		}
		return english;
	}();
	return names;
}

names_read read_locale_names(const char *locale, calendar_names &names)
{
	// Letters, digits and the marks of locale names; never a path to a locale's files.
	std::size_t size = std::strlen(locale);
	if (size == 0 || size >= name_capacity ||
	    std::strspn(locale,
	                "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_-.@") !=
	            size)
		return names_read::not_available;
	system_names system{};
	names_read read = read_system_names(locale, system);
	if (read != names_read::ok)
		return read;
	// The C library's own locales, "C.UTF-8" and the like, name in English.
	std::string_view language = system.language;
	bool fits =
		set_name(names.language, language == "C" || language == "POSIX" ? "en" : language);
	for (int month = 0; month < 12; ++month)
		fits = fits && set_name(names.months[month], system.months[month]);
	for (int weekday = 0; weekday < 7; ++weekday)
		fits = fits && set_name(names.weekdays[weekday], system.weekdays[weekday]) &&
		       set_name(names.weekday_heads[weekday], system.weekday_heads[weekday]);
	return fits ? names_read::ok : names_read::too_long;
}
