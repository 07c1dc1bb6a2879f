#include <string>

#include <gtest/gtest.h>

#include "locale/locale_names.h"
#include "test_output.h"

namespace {

// Names as people write them: the tag the page's lang gets, and the table's tag whose record it
// has; none for a name refused.
TEST(Locale, FindsWhatPeopleWrite)
{
	const std::string long_name(300, 'x');
	struct {
		const char *name, *tag, *record_of;
	} cases[] = {
		{"de-DE", "de-DE", "de-DE"},
		{"DE-de", "de-DE", "de-DE"},
		{"de_DE.UTF-8", "de-DE", "de-DE"},
		{"de_DE@euro", "de-DE", "de-DE"},
		{"sr-latn-rs", "sr-Latn-RS", "sr-Latn-RS"},
		{"ES-419", "es-419", "es-419"},
		{"de-CH-1996", "de-CH-1996", "de-CH"},
		{"de-XX", "de-XX", "de"},
		{"zh-tw", "zh-TW", "zh-Hant-TW"},
		{"de-DE-u-co-phonebk", "de-DE-u-co-phonebk", "de-DE"},
		{"tl_PH.UTF-8", "tl-PH", "fil-PH"},
		{"iw", "iw", "he"},
		{"sh-RS", "sh-RS", "sr-Latn-RS"},
		{"ks_IN@devanagari", "ks-Deva-IN", "ks-Deva-IN"},
		{"C", "en", "en"},
		{"POSIX", "en", "en"},
		{"C.UTF-8", "en", "en"},
		{"xx-YY", nullptr, nullptr},
		{"../../etc", nullptr, nullptr},
		{"de-", nullptr, nullptr},
		{"de--DE", nullptr, nullptr},
		{"d", nullptr, nullptr},
		{"1de", nullptr, nullptr},
		{"", nullptr, nullptr},
		{long_name.c_str(), nullptr, nullptr},
	};
	for (const auto &c : cases) {
		page_locale found, expected;
		ASSERT_EQ(find_locale(c.name, found), c.tag != nullptr) << c.name;
		if (c.tag == nullptr)
			continue;
		EXPECT_EQ(found.lang(), c.tag) << c.name;
		ASSERT_TRUE(find_locale(c.record_of, expected)) << c.record_of;
		EXPECT_EQ(found.record, expected.record) << c.name;
	}
}

// Months of other calendars as their captions name them, and the calendar each language's
// pages are in.
TEST(Locale, CalendarMonths)
{
	struct {
		const char *tag;
		calendar_type type;
		int year, month, day; // a Gregorian date in the month
		const char *caption, *word;
	} cases[] = {
		{"fa-IR", calendar_type::persian, 2027, 2, 21, "۱۴۰۶ فروردین", "فروردین"},
		{"he-IL", calendar_type::hebrew, 2027, 2, 20, "אדר ב׳ 5787", "אדר ב׳"},
		{"he-IL", calendar_type::hebrew, 2028, 2, 1, "אדר 5788", "אדר"},
		{"ja-JP", calendar_type::japanese, 2019, 4, 1, "令和元年5月", "5"},
		{"ja-JP", calendar_type::japanese, 2027, 0, 1, "令和9年1月", "1"},
		{"zh-CN", calendar_type::chinese, 2025, 6, 26, "2025乙巳年闰六月", "闰六月"},
		{"zh-CN", calendar_type::chinese, 2027, 1, 6, "2027丁未年正月", "正月"},
		{"th-TH", calendar_type::buddhist, 2027, 0, 1, "มกราคม 2570", "มกราคม"},
		{"en", calendar_type::islamic_umalqura, 2027, 5, 20, "Muharram 1449 AH",
	         "Muharram"},
	};
	for (const auto &c : cases) {
		page_locale locale;
		ASSERT_TRUE(find_locale(c.tag, locale));
		calendar_month month{};
		ASSERT_TRUE(month_of_day(c.type, days_from_civil(c.year, c.month, c.day), month));
		EXPECT_EQ(capture([&](out_stream &out) {
				  put_calendar_month(out, *locale.record, c.type, month);
			  }),
		          c.caption)
			<< c.tag;
		EXPECT_EQ(capture([&](out_stream &out) {
				  put_calendar_month_word(out, *locale.record, c.type, month);
			  }),
		          c.word)
			<< c.tag;
	}
	const struct {
		const char *tag;
		calendar_type type;
		int minimal_days;
	} defaults[] = {{"fa-IR", calendar_type::persian, 1}, {"th-TH", calendar_type::buddhist, 1},
	                {"ar-SA", calendar_type::gregory, 1}, {"de-DE", calendar_type::gregory, 4},
	                {"en-US", calendar_type::gregory, 1}, {"ps-AF", calendar_type::persian, 1}};
	for (const auto &d : defaults) {
		page_locale locale;
		ASSERT_TRUE(find_locale(d.tag, locale));
		EXPECT_EQ(calendar_at(locale.record->calendar), d.type) << d.tag;
		EXPECT_EQ(locale.record->minimal_days, d.minimal_days) << d.tag;
	}
}

} // namespace
