// Finds the rule that gives a holiday's days in every sound year, as the runtime reckons it
// (src/holidays/holidays.cpp): a base day in each year, moved by the shift its weekday asks.

import easter from 'date-easter';
import { firstYear, lastYear } from './source.mjs';

export const noInstance = -128; // a shift: the holiday does not happen that year
export const openSince = 0; // since and until: the rule has no first or last year
export const openUntil = 9999;

const firstDay = Date.UTC(firstYear, 0, 1) / 86400000;
const lastDay = Date.UTC(lastYear, 11, 31) / 86400000;

function dayFrom(year, month, day) {
	return Date.UTC(year, month - 1, day) / 86400000;
}

function civil(day) {
	const date = new Date(day * 86400000);
	return {
		year: date.getUTCFullYear(),
		month: date.getUTCMonth() + 1,
		day: date.getUTCDate(),
		weekday: date.getUTCDay(),
	};
}

const easterDay = (year) => easterDate(easter.gregorianEaster(year));
const orthodoxDay = (year) => easterDate(easter.orthodoxEaster(year));
const easterDate = (e) => dayFrom(e.year, e.month, e.day);

// The base day of a rule in a year: month 1 ... 12; day the day of the month (fixed), the days
// after Easter (easter, orthodox) or the days after the month's 1st where the week begins in
// which the weekday is taken (weekday).
export function baseDay(rule, year) {
	switch (rule.kind) {
	case 'fixed':
		return dayFrom(year, rule.month, rule.day);
	case 'easter':
		return easterDay(year) + rule.day;
	case 'orthodox':
		return orthodoxDay(year) + rule.day;
	default: {
		const start = dayFrom(year, rule.month, 1) + rule.day;
		return start + ((rule.weekday - civil(start).weekday + 7) % 7);
	}
	}
}

// The rules the days suggest, the likeliest first: those most of the days fall on unshifted.
function candidates(days) {
	const counts = new Map();
	const count = (rule) => {
		const key = JSON.stringify(rule);
		counts.set(key, (counts.get(key) || 0) + 1);
	};
	// The week of a weekday begins on the earliest day of the month it was seen on.
	const earliest = new Map();
	for (const c of days.map(civil)) {
		const key = c.month * 7 + c.weekday;
		earliest.set(key, Math.min(earliest.get(key) ?? 31, c.day));
	}
	for (const day of days) {
		const c = civil(day);
		count({ kind: 'fixed', month: c.month, day: c.day });
		count({ kind: 'easter', day: day - easterDay(c.year) });
		count({ kind: 'orthodox', day: day - orthodoxDay(c.year) });
		const start = earliest.get(c.month * 7 + c.weekday) - 1;
		count({ kind: 'weekday', month: c.month, day: start, weekday: c.weekday });
	}
	return [...counts].sort((a, b) => b[1] - a[1]).map(([key]) => JSON.parse(key)).slice(0, 12);
}

// Each day's base year and the shift from that year's base day, or null where a day is more
// than a week from every base day, or two days share one.
function assign(rule, days) {
	const shifts = new Map();
	for (const day of days) {
		const year = civil(day).year;
		let best = null;
		for (const base of [year - 1, year, year + 1]) {
			const shift = day - baseDay(rule, base);
			if (Math.abs(shift) <= 7 && (best === null || Math.abs(shift) < Math.abs(best[1])))
				best = [base, shift];
		}
		if (best === null || shifts.has(best[0])) return null;
		shifts.set(best[0], best[1]);
	}
	return shifts;
}

// The shift of each weekday of the base day, or null where two years of one weekday disagree.
function weekdayShifts(rule, years, since, until, substitute) {
	const shifts = new Array(7).fill(undefined);
	for (let year = since; year <= until; year++) {
		const weekday = civil(baseDay(rule, year)).weekday;
		const shift = years.has(year) ? years.get(year) : noInstance;
		if (shifts[weekday] !== undefined && shifts[weekday] !== shift) return null;
		shifts[weekday] = shift;
	}
	// A weekday never seen: a substitute day comes on the weekdays seen alone.
	return shifts.map((s) => (s === undefined ? (substitute ? noInstance : 0) : s));
}

// The days a rule gives in the sound years.
export function ruleDays(rule) {
	const days = [];
	const from = Math.max(firstYear - 1, rule.since);
	const to = Math.min(lastYear + 1, rule.until);
	for (let year = from; year <= to; year++) {
		const base = baseDay(rule, year);
		const shift = rule.shifts[civil(base).weekday];
		if (shift !== noInstance && base + shift >= firstDay && base + shift <= lastDay)
			days.push(base + shift);
	}
	return days;
}

// The first year before since, going back, in which the rule would give a day in the sound
// years: the rule's years begin after it (openSince when there is none).
function widen(rule, since, step) {
	let year = since + step;
	for (; year >= firstYear - 1 && year <= lastYear + 1; year += step) {
		const base = baseDay(rule, year);
		const shift = rule.shifts[civil(base).weekday];
		if (shift !== noInstance && base + shift >= firstDay && base + shift <= lastDay) break;
	}
	if (year < firstYear - 1) return openSince;
	if (year > lastYear + 1) return openUntil;
	return year - step;
}

// The rule of base that gives exactly days, or null. Its years are those date-holidays names
// (hint) where they fit, else as wide as the days allow.
function fitBase(base, days, substitute, hint) {
	const years = assign(base, days);
	if (years === null) return null;
	const seen = [...years.keys()];
	const since = Math.min(...seen);
	const until = Math.max(...seen);
	const shifts = weekdayShifts(base, years, since, until, substitute);
	if (shifts === null) return null;
	const rule = { ...base, shifts, since, until };
	const hinted = { ...rule, since: hint.since ?? openSince, until: hint.until ?? openUntil };
	if (same(ruleDays(hinted), days)) return hinted;
	rule.since = widen(rule, since, -1);
	rule.until = widen(rule, until, 1);
	return same(ruleDays(rule), days) ? rule : null;
}

const same = (a, b) => a.length === b.length && a.every((x, i) => x === b[i]);

// A holiday's rule from its dates ({ day, length }, in order) in the sound years: one of the
// kinds above with shifts, since, until and length, or { kind: 'dates', days, length }.
export function fitRule(dates, substitute, hint) {
	const length = dates[0].length;
	const days = dates.map((d) => d.day).sort((a, b) => a - b);
	if (dates.every((d) => d.length === length)) {
		for (const base of candidates(days)) {
			const rule = fitBase(base, days, substitute, hint);
			if (rule) return { ...rule, length };
		}
		return { kind: 'dates', days, length };
	}
	const each = dates.flatMap((d) => Array.from({ length: d.length }, (_, i) => d.day + i));
	const inRange = [...new Set(each)].filter((day) => day <= lastDay);
	return { kind: 'dates', days: inRange.sort((a, b) => a - b), length: 1 };
}
