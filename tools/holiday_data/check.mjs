// Prints every public holiday of every region of date-holidays from FIRST to LAST, a day a
// line, "CODE YYYY-MM-DD NAME", as date-holidays itself gives them (getHolidays, each
// region in its own language): what tests/holidays/holiday_days prints from the table.
// Usage: node check.mjs FIRST LAST
import { regions, calendarOf, dayOf, lengthOf, escapeHtml } from './source.mjs';

const [first, last] = process.argv.slice(2).map(Number);
const lines = [];
for (const region of regions()) {
	const hd = calendarOf(region);
	for (let year = first - 1; year <= last; year++)
		for (const h of hd.getHolidays(year)) {
			if (h.type !== 'public') continue;
			for (let k = 0; k < lengthOf(h); k++) {
				const day = new Date((dayOf(h.date) + k) * 86400000).toISOString().slice(0, 10);
				lines.push(`${region.code} ${day} ${escapeHtml(h.name)}`);
			}
		}
}
const inRange = lines.filter((l) => { const y = Number(l.split(' ')[1].slice(0, 4)); return y >= first && y <= last; });
process.stdout.write([...new Set(inRange)].sort().join('\n') + '\n');
