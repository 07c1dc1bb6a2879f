#ifndef PENDRIK_LOCALE_NAMES_H
#define PENDRIK_LOCALE_NAMES_H

#include <cstddef>
#include <string_view>

// Room for one name as HTML text, in bytes.
inline constexpr std::size_t name_capacity = 64;

// A name as HTML text: UTF-8, with & < > and quotes escaped.
struct html_name {
	char bytes[name_capacity] = {};
	std::size_t size = 0;

	[[nodiscard]] constexpr std::string_view text() const { return {bytes, size}; }
};

// The names a modern page shows, and its language.
struct calendar_names {
	html_name language;         // the page's lang: "en", "de-DE", ...
	html_name months[12];       // as a heading names the month: nominative, stand-alone
	html_name weekdays[7];      // in full, 0 = Sunday ... 6 = Saturday
	html_name weekday_heads[7]; // abbreviated, as a column heads them
};

// Whether the names' language is English, "en" or "en-" and a country.
inline bool is_english(const calendar_names &names)
{
	return names.language.text() == "en" || names.language.text().starts_with("en-");
}

// Sets name to text escaped; false when that does not fit.
bool set_name(html_name &name, std::string_view text);

// The English names: months and weekdays in full, weekdays headed "Su", "Mo", ...
const calendar_names &english_names();

enum class names_read { ok, not_available, too_long };

// Reads the names of locale, a language tag such as "de-DE" or, on Linux, a C library locale
// such as "de_DE.UTF-8", from the system's locale data; its language becomes a tag "de-DE".
names_read read_locale_names(const char *locale, calendar_names &names);

#endif
