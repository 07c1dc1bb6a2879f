#include <string>

#include <gtest/gtest.h>

#include "locale/locale_names.h"

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

} // namespace
