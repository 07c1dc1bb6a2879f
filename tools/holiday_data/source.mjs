// What generate.mjs and check.mjs share: the regions of date-holidays, a holiday calendar for
// each, and the years and languages they are taken in.

// date-holidays reckons dates in the process's local time (new Date(y, m, d)): where a zone
// skips midnight, a holiday moves an hour and sometimes a day. UTC has no such gaps.
process.env.TZ = 'UTC';

import Holidays from 'date-holidays';
import { data } from 'date-holidays/data';

// The years it computes faithfully. Its Hijri table runs from 1969 to 2077 and a year needs
// the years on either side of it, so Islamic holidays exist from 1970 to 2076 alone (its Hebrew
// table runs to 2100, its Easter, Chinese, Persian, Bengali and equinox reckonings further).
export const firstYear = 1970;
export const lastYear = 2076;

// date-holidays writes the state in capitals before looking it up, so the islands of the
// Cook Islands ("Aitutaki") would lose their own days: their keys are put in capitals here.
for (const country of Object.values(data.holidays)) {
	const states = country.states || country.regions || {};
	for (const code of Object.keys(states)) {
		if (code !== code.toUpperCase()) {
			states[code.toUpperCase()] = states[code];
			delete states[code];
		}
	}
}

// Country codes that date-holidays writes where it means a language: Czech, Japanese, Georgian.
const languageCodes = { cz: 'cs', jp: 'ja', ge: 'ka' };

// The BCP 47 tag, in small letters, of one of date-holidays' language codes.
export function languageTag(code) {
	return languageCodes[code] || code.toLowerCase();
}

// date-holidays' code of a tag in small letters.
export function languageCode(tag) {
	const found = Object.keys(languageCodes).find((code) => languageCodes[code] === tag);
	return found || tag;
}

// Every country and state: { code: 'DE-BY', country: 'DE', state: 'BY', name }, by code. The
// name is English where the data has it, else the region's own.
export function regions() {
	const all = [];
	const hd = new Holidays();
	const countries = hd.getCountries('en');
	for (const country of Object.keys(countries)) {
		all.push({ code: country, country, state: undefined, name: countries[country] });
		const states = hd.getStates(country, 'en') || {};
		for (const state of Object.keys(states)) {
			const code = country + '-' + originalCode(country, state);
			all.push({ code, country, state, name: states[state] });
		}
	}
	return all.sort((a, b) => compareBytes(a.code.toLowerCase(), b.code.toLowerCase()));
}

// A state's code as date-holidays spells it: the islands' in their own case.
function originalCode(country, state) {
	if (country !== 'CK') return state;
	return state.charAt(0) + state.slice(1).toLowerCase();
}

export function compareBytes(a, b) {
	const x = Buffer.from(a);
	const y = Buffer.from(b);
	return Buffer.compare(x, y);
}

// The calendar of a region, every type of holiday in it.
export function calendarOf(region) {
	return new Holidays(region.country, region.state);
}

// Days from 1 January 1970 of a date-holidays date ("2027-06-18 00:00:00 -0600" is 18 June).
export function dayOf(date) {
	const [year, month, day] = date.slice(0, 10).split('-').map(Number);
	return Date.UTC(year, month - 1, day) / 86400000;
}

// How many days a holiday covers: one for a day or part of one ("12-31 14:00"), more for a
// period ("P3D").
export function lengthOf(holiday) {
	return Math.max(1, Math.round((holiday.end - holiday.start) / 86400000));
}

// A text as HTML text, with & < > " ' as character references.
export function escapeHtml(text) {
	const references = { '&': '&amp;', '<': '&lt;', '>': '&gt;', '"': '&#34;', "'": '&#39;' };
	return text.replace(/[&<>"']/g, (c) => references[c]);
}
