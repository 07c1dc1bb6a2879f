// Writes the Chinese and the Korean (dangi) lunisolar years from an astronomical source, one a
// line: "chinese|dangi YEAR FIRST LENGTHS LEAP", YEAR the Gregorian year in which it begins,
// FIRST its first day counted from 1970-01-01, LENGTHS each month's days (29 or 30) in order,
// LEAP the 0-based index of its leap month or -1.
//
// The new moons, solar terms and winter solstices are date-chinese's (VSOP87, each calendar at
// its own meridian). The months are numbered here by the rule of the calendar since 1645: a
// year from one winter solstice's month (the 11th) to the next that holds 13 months has a leap
// month, the first of them in which no major solar term begins. date-chinese's own numbering
// marks such a month leap in a year of 12 months too (1700), and takes a new moon at midnight
// for the day before (2131): its new years alone are compared with ours.
// Usage: node lunisolar.mjs FIRST_YEAR LAST_YEAR
import { CalendarChinese, CalendarKorean } from 'date-chinese'
import { julian, planetposition, solstice } from 'astronomia'
import vsop87Bearth from 'astronomia/data/vsop87Bearth'

// The earth of date-chinese's own solar terms.
const earth = new planetposition.Planet(vsop87Bearth)

const [first, last] = process.argv.slice(2).map(Number)

// The day of the local midnight jde, counted from 1970-01-01.
function dayOf (jde) {
	const date = new julian.CalendarGregorian().fromJDE(jde + 0.5)
	return Math.round(Date.UTC(date.year, date.month - 1, Math.trunc(date.day)) / 86400000)
}

// The new moons from before the winter solstice of first - 1 to past that of last + 1, each
// with its day.
function newMoons (calendar) {
	const moons = []
	const begin = solstice.december2(first - 1, earth) - 40
	const end = solstice.december2(last + 1, earth) + 40
	for (let moon = calendar.nextNewMoon(begin); moon < end; moon = calendar.nextNewMoon(moon + 1))
		moons.push({ moon, day: dayOf(moon) })
	return moons
}

// The index of the moon that begins the month of the winter solstice of year: the 11th.
function eleventhMonth (calendar, moons, year) {
	const day = dayOf(calendar.midnight(solstice.december2(year, earth)))
	return moons.findLastIndex((m) => m.day <= day)
}

// The months of the new moons, numbered 1 ... 12, with leap months and lengths.
function numberMonths (calendar, moons) {
	const months = []
	for (let year = first; year <= last + 1; ++year) {
		const begin = eleventhMonth(calendar, moons, year - 1)
		const end = eleventhMonth(calendar, moons, year)
		let leap = -1
		for (let i = begin + 1; end - begin === 13 && i < end && leap < 0; ++i)
			if (calendar.inMajorSolarTerm(moons[i].moon).term === calendar.inMajorSolarTerm(moons[i + 1].moon).term)
				leap = i
		for (let i = begin, number = 10; i < end; ++i)
			months.push({ day: moons[i].day, length: moons[i + 1].day - moons[i].day, leap: i === leap, number: i === leap ? number : (number++ % 12) + 1 })
	}
	return months
}

function writeYears (name, calendar) {
	const months = numberMonths(calendar, newMoons(calendar))
	let at = months.findIndex((m) => m.number === 1)
	for (let year = first; year <= last; ++year) {
		const start = months[at]
		const theirs = dayOf(calendar.newYear(year))
		if (start.day !== theirs)
			console.error(`${name} ${year}: new year ${start.day}, date-chinese's ${theirs}`)
		const lengths = []
		let leap = -1
		do {
			if (months[at].leap)
				leap = lengths.length
			lengths.push(months[at++].length)
		} while (months[at].number !== 1 || months[at].leap)
		console.log(`${name} ${year} ${start.day} ${lengths.join(',')} ${leap}`)
	}
}

for (const [name, Calendar] of [['chinese', CalendarChinese], ['dangi', CalendarKorean]]) {
	writeYears(name, new Calendar())
}
