// Writes the public holidays of every country and state that date-holidays knows as the C++
// table of src/holidays/holiday_data.cpp, on standard output.
// Usage: node generate.mjs   (generate.sh installs date-holidays and writes the file)
//
// Each holiday is taken from date-holidays' own answer for every year of the sound range, then
// described by the plainest rule that gives the same days in all of them: a fixed date, a day
// of the Western or Orthodox Easter, a weekday in a week of a month, each with a shift by the
// weekday it falls on; a holiday that no rule gives (another calendar, the sky, a rule that
// looks at other holidays) keeps its days one by one.

import { firstYear, lastYear, regions, calendarOf, dayOf, lengthOf, languageTag } from './source.mjs';
import { escapeHtml, compareBytes } from './source.mjs';
import { fitRule } from './fit.mjs';
import { writeTable } from './table.mjs';

// The order getHolidays sorts in before it drops a name given twice on one day.
const types = ['observance', 'optional', 'school', 'bank', 'public'];
const ruleRank = (h) => (/substitutes|and if /.test(h.rule) ? 1 : 0);

function compareHolidays(a, b) {
	return (
		a.start - b.start ||
		types.indexOf(b.type) - types.indexOf(a.type) ||
		ruleRank(a) - ruleRank(b) ||
		a.rule.length - b.rule.length
	);
}

// getHolidays(year) as it is before the names are chosen: each holiday with all its names.
function holidaysIn(hd, year) {
	const all = [];
	for (const rule of Object.keys(hd.holidays)) {
		if (hd.holidays[rule].fn)
			for (const h of hd._dateByRule(year, rule)) all.push({ ...h, rule });
	}
	all.sort(compareHolidays);
	const seen = new Set();
	return all.filter((h) => {
		const key = nameIn(hd, h, hd.getLanguages()) + '\n' + +h.start;
		if (seen.has(key)) return false;
		seen.add(key);
		return true;
	});
}

// The name getHolidays gives a holiday with languages in that order of preference.
function nameIn(hd, h, languages) {
	if (typeof h.name !== 'object') return h.name;
	const language = languages.find((l) => h.name[l]);
	if (language === undefined) throw new Error(`${h.rule}: no name in ${languages}`);
	let name = h.name[language];
	if (h.substitute) {
		const names = hd.__data.getSubstitueNames();
		const suffix = languages.find((l) => names[l]);
		if (suffix !== undefined) name += ' (' + names[suffix] + ')';
	}
	return name;
}

// The names of a holiday: its text in its region's own language (a substitute day's with the
// word for one), and in each language it has a name in, the substitute's without that word,
// which the page adds in its own language: { text, substitute, byTag: Map(tag -> text) }, HTML
// text.
function namesOf(hd, h) {
	const own = hd.getLanguages();
	const byTag = new Map();
	if (typeof h.name === 'object')
		for (const code of Object.keys(h.name))
			byTag.set(languageTag(code), escapeHtml(nameIn(hd, { ...h, substitute: false }, [code, ...own])));
	return { text: escapeHtml(nameIn(hd, h, own)), substitute: Boolean(h.substitute), byTag };
}

// The word for a substitute day in each language, as date-holidays adds it in parentheses.
export function substituteWords(hd) {
	const words = hd.__data.getSubstitueNames();
	return new Map(Object.keys(words).map((code) => [languageTag(code), escapeHtml(words[code])]));
}

// The first and last years date-holidays gives a rule, where it names them: "since 2021" and
// "prior to 2026" in the rule, or one range of years it is active in.
function yearsOf(rule, active) {
	const since = /since (\d{4})/.exec(rule);
	const prior = /prior to (\d{4})(-\d\d-\d\d)?/.exec(rule);
	const hint = {};
	if (since) hint.since = Number(since[1]);
	if (prior) hint.until = Number(prior[1]) - (!prior[2] || prior[2] === '-01-01' ? 1 : 0);
	if (active && active.length === 1) {
		const { from, to } = active[0];
		if (from) hint.since = from.getUTCFullYear();
		if (to) hint.until = to.getUTCFullYear() - (to.getUTCMonth() + to.getUTCDate() === 1 ? 1 : 0);
	}
	return hint;
}

// The public holidays of a region in the sound years: Map(rule and substitute -> { names,
// hint, dates: [{ day, length }] }), in the order they first come.
function collect(region) {
	const hd = calendarOf(region);
	// Without a time zone the days are the same, reckoned in less than half the time.
	hd.setTimezone(undefined);
	const holidays = new Map();
	for (let year = firstYear; year <= lastYear; year++) {
		for (const h of holidaysIn(hd, year)) {
			if (h.type !== 'public') continue;
			const key = h.rule + (h.substitute ? '\n1' : '');
			if (!holidays.has(key)) {
				const hint = yearsOf(h.rule, hd.holidays[h.rule].active);
				holidays.set(key, { names: namesOf(hd, h), hint, dates: [] });
			}
			holidays.get(key).dates.push({ day: dayOf(h.date), length: lengthOf(h) });
		}
	}
	return holidays;
}

function main() {
	const all = regions();
	const table = [];
	for (const region of all) {
		const holidays = [];
		for (const [key, { names, hint, dates }] of collect(region)) {
			holidays.push({ rule: fitRule(dates, key.endsWith('\n1'), hint), names, key });
		}
		const hd = calendarOf(region);
		table.push({ region, holidays, language: languageTag(hd.getLanguages()[0]) });
	}
	process.stdout.write(writeTable(table, substituteWords(calendarOf(all[0]))));
}

main();
