#include "locale_names.h"

#include "calendar.h"
#include "output.h"

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
