#include <algorithm>
#include <string>

#include <gtest/gtest.h>

#include "locale/locale_names.h"
#include "modern/modern_table.h"
#include "test_output.h"

namespace {

// Every record of the table fits the page's ready text, and its patterns leave no field
// unfilled, whatever the months and hours.
TEST(Locale, EveryRecordMakesItsText)
{
	for (std::size_t r = 0; r < locale_record_count; ++r) {
		modern_layout layout{.first_weekday = 1, .week_numbers = true};
		layout.locale.record = &locale_records[r];
		modern_text text;
		ASSERT_TRUE(make_modern_text(layout, text)) << "record " << r;
		const locale_record &record = locale_records[r];
		for (int month = 0; month < 12; ++month) {
			pattern_values values{2027, month, 2028, 11 - month, month * 2, 5};
			std::string filled = capture([&](out_stream &out) {
				for (auto pattern :
				     {record.month_and_year, record.range_in_year,
				      record.range_over_years, record.hour_and_minute})
					put_pattern(out, record, pattern, values);
			});
			EXPECT_EQ(std::count_if(filled.begin(), filled.end(),
			                        [](char c) {
							return static_cast<unsigned char>(c) < 0x20;
						}),
			          0)
				<< "record " << r << ": " << filled;
		}
	}
}

} // namespace
