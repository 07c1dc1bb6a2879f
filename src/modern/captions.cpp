#include "calendar/calendars.h"
#include "modern_table.h"

// The names of the page's months, as its locale writes them in its calendar.

void put_caption(out_stream &out, const modern_layout &layout, const calendar_month &month)
{
	const locale_record &record = *layout.locale.record;
	if (layout.calendar == calendar_type::gregory)
		put_pattern(out, record, record.month_and_year,
		            {.year = month.start_year, .month = month.index});
	else
		put_calendar_month(out, record, layout.calendar, month);
}

void put_month_range(out_stream &out, const modern_layout &layout, const calendar_month &first,
                     const calendar_month &last)
{
	const locale_record &record = *layout.locale.record;
	if (first.first_day == last.first_day) {
		put_caption(out, layout, first);
		return;
	}
	if (layout.calendar != calendar_type::gregory) {
		put_calendar_month(out, record, layout.calendar, first);
		put(out, " \xE2\x80\x93 "_crlf);
		put_calendar_month(out, record, layout.calendar, last);
		return;
	}
	pattern_values range{first.start_year, first.index, last.start_year, last.index};
	put_pattern(out, record,
	            range.last_year == range.year ? record.range_in_year : record.range_over_years,
	            range);
}
