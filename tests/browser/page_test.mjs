// Renders pages written by the real programs on fixed dates in headless Chromium and checks
// what a person sees: the title, the layout of the month tables, each table's days under the
// right weekdays (the browser's own Date is the oracle), the one red cell and the footer; and
// for ostavel's modern pages, their weeks, checkers, screens, sheets and live today.
// Usage: node page_test.mjs PROGRAM LINK_HOST SCREENSHOT_DIR
import { execFileSync, spawnSync } from 'node:child_process';
import { createRequire } from 'node:module';
import { copyFileSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { chromium } from 'playwright-core';

const [program, host, screenshotDir] = process.argv.slice(2);
const require = createRequire(import.meta.url);
const axePath = require.resolve('axe-core/axe.min.js');
const vnuPath = require.resolve('vnu-jar/build/dist/vnu.jar');
const ostavel = program.replace(/pendrik([^/]*)$/, 'ostavel$1');
const here = new URL('.', import.meta.url).pathname, icsDir = join(here, '../ics'), oracle = join(here, 'ics_oracle.py');
// The programs' and the browser's time zone: calendar files' times are placed in it.
const timeZone = 'Europe/Berlin';
const cases = [
  { name: 'default', date: [2010, 3, 10], args: [], file: 'calendar36.htm', months: 36 },
  { name: '12 months', date: [2010, 3, 10], args: ['12', 'p12.htm'], file: 'p12.htm', months: 12 },
  { name: '13 months from November', date: [2010, 11, 30], args: ['13', 'p13.htm'], file: 'p13.htm', months: 13 },
  { name: 'ostavel from November', program: ostavel, date: [2010, 3, 10], start: [2009, 11], todayTable: 4,
    args: ['2009-11', '13'], file: 'year2009-11.htm', months: 13 },
];

let passed = 0, failed = 0;
function check(name, ok, detail = '') {
  if (ok) passed++;
  else { failed++; console.log(`FAIL - ${name} ${detail}`); }
}
const equal = (a, b) => JSON.stringify(a) === JSON.stringify(b);
const monthNames = ['January', 'February', 'March', 'April', 'May', 'June', 'July', 'August',
  'September', 'October', 'November', 'December'];

// Everything the checks need, read off the rendered page.
function readPage() {
  const box = (e) => { const r = e.getBoundingClientRect(); return { left: r.left, right: r.right, top: r.top }; };
  const layout = document.querySelector('center > table');
  const rows = [...layout.rows].map((row) =>
    [...row.cells].filter((c) => c.getAttribute('valign') === 'top').map((cell) => {
      const table = cell.querySelector('table');
      return {
        box: box(table),
        title: table.rows[0].cells[0].innerText,
        titleAlign: getComputedStyle(table.rows[0].cells[0]).textAlign,
        header: [...table.rows[1].cells].map((c) => c.innerText),
        weeks: [...table.rows].slice(2).map((r) => [...r.cells].map((c) =>
          ({ text: c.innerText.trim(), align: getComputedStyle(c).textAlign }))),
      };
    }));
  const red = [...document.querySelectorAll('body *')]
    .filter((e) => getComputedStyle(e).color === 'rgb(255, 0, 0)' && e.children.length === 0)
    .map((e) => ({ text: e.innerText, table: [...layout.querySelectorAll('table')].indexOf(e.closest('table')) }));
  return {
    title: document.title,
    width: document.documentElement.clientWidth,
    layout: box(layout),
    rows,
    red,
    links: [...document.links].map((a) => ({ text: a.innerText, href: a.href })),
  };
}

function checkMonth(label, month, year, monthIndex) {
  check(`${label}: title`, month.title === `${monthNames[monthIndex]} ${year}`, month.title);
  check(`${label}: title centred`, month.titleAlign === 'center', month.titleAlign);
  check(`${label}: weekday header`, equal(month.header, ['S', 'M', 'T', 'W', 'T', 'F', 'S']));
  const days = new Date(year, monthIndex + 1, 0).getDate();
  const weeks = month.weeks.filter((w, i) => w.length > 0 || i < month.weeks.length - 1);
  check(`${label}: seven cells a week`, weeks.every((w) => w.length === 7));
  const cells = weeks.flat();
  check(`${label}: cells right-aligned`, cells.every((c) => c.align === 'right'));
  const first = new Date(year, monthIndex, 1).getDay();
  const shown = cells.map((c) => c.text.replace(/\u00a0/g, ''));
  const expected = cells.map((_, i) => (i >= first && i < first + days ? String(i - first + 1) : ''));
  check(`${label}: days under their weekdays`, equal(shown, expected), shown.join(','));
}

function checkPage(c, page) {
  const [, , day] = c.date;
  const [year, month] = c.start ?? c.date;
  check(`${c.name}: document title`, page.title === `${c.months} Month Calendar`, page.title);
  const sizes = page.rows.map((r) => r.length);
  const expectedSizes = Array.from({ length: Math.ceil(c.months / 4) },
    (_, i) => Math.min(4, c.months - 4 * i));
  check(`${c.name}: four to a row`, equal(sizes, expectedSizes), sizes.join(','));
  for (const row of page.rows) {
    row.slice(1).forEach((m, i) => {
      check(`${c.name}: ${m.title} right of ${row[i].title}`, m.box.left >= row[i].box.right);
      check(`${c.name}: ${m.title} top-aligned`, Math.abs(m.box.top - row[0].box.top) < 1);
    });
  }
  const margins = [page.layout.left, page.width - page.layout.right];
  check(`${c.name}: layout centred`, Math.abs(margins[0] - margins[1]) <= 1, margins.join(' vs '));
  page.rows.flat().forEach((m, k) => {
    const d = new Date(year, month - 1 + k, 1);
    checkMonth(`${c.name}, month ${k}`, m, d.getFullYear(), d.getMonth());
  });
  check(`${c.name}: only today in red`, equal(page.red, [{ text: String(day), table: c.todayTable ?? 0 }]),
    JSON.stringify(page.red));
  const site = `http://${host}/sharware.htm`;
  check(`${c.name}: footer links`, equal(page.links, [
    { text: 'pendrik.exe', href: `${site}#pendrik` }, { text: 'ostavel.exe', href: `${site}#ostavel` }]),
    JSON.stringify(page.links));
}

// The modern page, from ostavel's options: the same oracle, the ISO weeks, the checkers, every
// screen size, the printed sheets and the today that moves with the reader's clock.
const modernCases = [
  { name: 'modern year, week numbers', date: [2027, 3, 10], start: [2027, 1], months: 12, monday: true,
    weeks: true, sheets: 1, live: [2027, 7, 4], screenshot: 'modern12.png', args: ['-w', '2027', '12', 'w12.htm'],
    file: 'w12.htm' },
  { name: 'modern 120 months', date: [2027, 3, 10], start: [2020, 1], months: 120, sheets: 10,
    args: ['--modern', '2020', '120', 'm120.htm'], file: 'm120.htm' },
  { name: 'modern one month', date: [2027, 3, 10], start: [2027, 3], months: 1, monday: true, sheets: 1,
    args: ['-m', '2027-3', '1', 'm1.htm'], file: 'm1.htm' },
  { name: 'modern with events', date: [2027, 3, 10], start: [2027, 1], months: 12, monday: true, sheets: 2,
    live: [2027, 12, 25],
    events: '# Holidays\n2027-12-25 Christmas Day\n12-24 Christmas Eve\n02-29 Leap day\n' +
      '2027-01-01 <script>window.hacked = 1</script> & "x"\n03-10 Birthday of Ann\n2027-03-10 Dentist\n' +
      '2027-03-11 \u202Eturned\n2027-03-12 \u0639\u064A\u062F!\n2027-03-12 after both\n',
    args: ['-m', '-e', 'events.txt', '2027', '12', 'ev12.htm'], file: 'ev12.htm' },
  { name: 'a title of its own', date: [2027, 3, 10], start: [2027, 1], months: 12, sheets: 1,
    title: 'Family <2027> & "friends"', args: ['--title', 'Family <2027> & "friends"', '-o', 't12.htm', '2027'], file: 't12.htm' },
  { name: 'month layout, calendar files', layout: 'month', date: [2027, 3, 10], start: [2027, 2], months: 3, monday: true,
    screenshot: 'month.png',
    sheets: 3, events: '2027-03-12 A line\n', args: ['--layout', 'month', '-m', '-e', 'family.ics', '-e', 'events.txt',
      '-e', 'holidays.ics', '2027-2', '3', 'lm.htm'], file: 'lm.htm' },
  { name: 'month layout in Arabic, weeks', layout: 'month', lang: 'ar-EG', date: [2027, 3, 10], start: [2027, 3], months: 2,
    weeks: true, sheets: 2, args: ['--layout=month', '--lang', 'ar-EG', '-w', '-e', 'family.ics', '2027-3', '2', 'lmar.htm'],
    file: 'lmar.htm' },
  { name: 'poster, calendar files', layout: 'poster', date: [2027, 3, 10], start: [2027, 1], months: 12, sheets: 1,
    screenshot: 'poster.png',
    args: ['--layout', 'poster', '-e', 'family.ics', '-e', 'holidays.ics', '2027', '12', 'p12.htm'], file: 'p12.htm' },
  { name: 'poster in Persian, weeks', layout: 'poster', lang: 'fa-IR', date: [2027, 3, 10], start: [2027, 1], months: 12,
    weeks: true, sheets: 1, args: ['--layout', 'poster', '--lang', 'fa-IR-u-ca-gregory', '-w', '--output', 'pfa.htm', '2027'], file: 'pfa.htm' },
  { name: 'modern in German', lang: 'de-DE', date: [2027, 3, 10], start: [2027, 1], months: 12, monday: true,
    weeks: true, sheets: 1, args: ['--lang', 'de-DE', '-w', '2027', '12', 'de12.htm'], file: 'de12.htm' },
  { name: 'modern in Arabic, events', lang: 'ar-EG', date: [2027, 3, 10], start: [2027, 1], months: 12, weeks: true,
    sheets: 2, live: [2027, 3, 12], events: '2027-03-10 \u0639\u064A\u062F \u0645\u064A\u0644\u0627\u062F\n' +
      '2027-03-12 English text, then U+202E:\n2027-03-12 \u202Eturned\n03-12 after both\n',
    args: ['--lang', 'ar-EG', '-w', '-e', 'events.txt', '-e', 'family.ics', '2027', '12', 'ar12.htm'], file: 'ar12.htm' },
  { name: 'modern with calendar files', date: [2027, 3, 10], start: [2027, 1], months: 12, sheets: 2,
    screenshot: 'year.png',
    events: '2027-03-01 A line on the day a span goes on\n03-19 Every year\n',
    args: ['-e', 'family.ics', '-e', 'events.txt', '-e', 'holidays.ics', '2027', '12', 'ics12.htm'], file: 'ics12.htm' },
  { name: 'modern, calendars as apps export them', date: [2027, 1, 10], start: [2027, 1], months: 2, sheets: 1,
    args: ['-e', 'exported.ics', '2027-1', '2', 'ex.htm'], file: 'ex.htm' },
  { name: 'modern in Japanese', lang: 'ja-JP', date: [2027, 3, 10], start: [2027, 1], months: 12, sheets: 1,
    args: ['--lang', 'ja-JP', '2027', '12', 'ja12.htm'], file: 'ja12.htm' },
  { name: 'modern in Finnish', lang: 'fi-FI', date: [2027, 3, 10], start: [2027, 1], months: 12, sheets: 1,
    args: ['--lang', 'fi-FI', '2027', '12', 'fi12.htm'], file: 'fi12.htm' },
];

// Languages that cover every direction, digit system, first day and weekend of the CLDR, each
// on two pages: across a year end from the language's first day, and with week numbers.
const languages = ['en-US', 'en-GB', 'de-DE', 'fr-FR', 'ru-RU', 'pl-PL', 'hu-HU', 'pt-BR', 'ta-IN', 'hi-IN',
  'zh-CN', 'zh-TW', 'ko-KR', 'ar-SA', 'ar-MA', 'he-IL', 'fa-IR', 'ur-PK', 'ps-AF', 'mr-IN', 'ne-NP', 'my-MM',
  'bn-BD', 'dz-BT', 'sr-Latn-RS', 'uz-Arab-AF', 'am-ET', 'th-TH', 'mn-MN'];
// Their Gregorian pages: Persian, Pashto, Uzbek in Arabic script and Thai have calendars of
// their own (calendarCases below).
const ownCalendar = ['fa-IR', 'ps-AF', 'uz-Arab-AF', 'th-TH'];
const languageCases = languages.map((lang) => (ownCalendar.includes(lang) ? `${lang}-u-ca-gregory` : lang)).flatMap((lang) => [
  { name: `${lang} page`, lang, date: [2010, 3, 10], start: [2026, 11], months: 3,
    args: ['--lang', lang, '2026-11', '3', `${lang}.htm`], file: `${lang}.htm` },
  { name: `${lang} page with weeks`, lang, date: [2010, 3, 10], start: [2027, 3], months: 2, weeks: true,
    args: ['--lang', lang, '-w', '2027-3', '2', `${lang}-w.htm`], file: `${lang}-w.htm` },
]);

// Pages in other calendars: each table a month of that calendar, against the browser's Intl.
// START is a year of the page's calendar; each case's months are that year's.
const calendarCases = [
  { name: 'Persian year', lang: 'fa-IR', calendar: 'persian', months: 12, args: ['--lang', 'fa-IR', '-w', '-o', 'c-fa.htm', '1406'] },
  { name: 'Buddhist year', lang: 'th-TH', calendar: 'buddhist', months: 12, args: ['--lang', 'th-TH', '-o', 'c-th.htm', '2570'] },
  { name: 'Hebrew leap year', lang: 'he-IL-u-ca-hebrew', calendar: 'hebrew', months: 13, args: ['--lang', 'he-IL-u-ca-hebrew', '-o', 'c-he.htm', '5787'] },
  { name: 'Japanese year of two eras', lang: 'ja-JP', calendar: 'japanese', months: 12, args: ['--lang', 'ja-JP', '--calendar', 'japanese', '-o', 'c-ja.htm', '2019'] },
  { name: 'Hijri year', lang: 'ar-EG', calendar: 'islamic-umalqura', months: 12, args: ['--lang', 'ar-EG-u-ca-islamic-umalqura', '-o', 'c-ar.htm', '1449'] },
  { name: 'Gregorian months with Hebrew days', lang: 'en', calendar: 'gregory', second: 'hebrew', months: 2,
    args: ['--second-calendar', 'hebrew', '-o', 'c-en.htm', '2027-9', '2'] },
].map((c) => ({ ...c, file: c.args[c.args.indexOf('-o') + 1] }));

// Each table's first day, its days, caption and small second-calendar texts.
function readCalendarPage() {
  return [...document.querySelectorAll('main table')].map((t) => ({
    start: t.dataset.start, caption: t.caption.textContent,
    days: [...t.tBodies[0].querySelectorAll('td')].filter((c) => c.textContent !== '').length,
    small: [...t.tBodies[0].querySelectorAll('td small')].map((x) => x.textContent),
  }));
}

// Where Intl puts a day in a calendar: its day number and month name.
function calendarDay({ lang, calendar, date }) {
  const [y, m, d] = date.split('-').map(Number), time = new Date(Date.UTC(y, m - 1, d, 12));
  const parts = new Intl.DateTimeFormat(`en-u-ca-${calendar}`, { day: 'numeric', timeZone: 'UTC' }).formatToParts(time);
  return { day: Number(parts.find((p) => p.type === 'day').value),
    month: new Intl.DateTimeFormat(lang, { calendar, month: 'long', timeZone: 'UTC' }).format(time) };
}

async function checkCalendarPage(page, c) {
  const tables = await page.evaluate(readCalendarPage);
  check(`${c.name}: ${c.months} months`, tables.length === c.months, tables.length);
  const next = (date, days) => new Date(Date.parse(`${date}T12:00Z`) + days * 864e5).toISOString().slice(0, 10);
  for (const [k, t] of tables.entries()) {
    const first = await page.evaluate(calendarDay, { lang: c.lang, calendar: c.calendar, date: t.start });
    const after = await page.evaluate(calendarDay, { lang: c.lang, calendar: c.calendar, date: next(t.start, t.days) });
    check(`${c.name}, ${t.start}: a whole month of the calendar`, first.day === 1 && after.day === 1, `${first.day} ${after.day}`);
    if (k + 1 < tables.length) check(`${c.name}, ${t.start}: the next month follows`, tables[k + 1].start === next(t.start, t.days));
    check(`${c.name}, ${t.start}: caption names its month`, c.calendar === 'gregory' || t.caption.includes(first.month),
      `${t.caption} vs ${first.month}`);
    if (!c.second) continue;
    const days = [];
    for (let d = 0; d < t.days; ++d) days.push(await page.evaluate(calendarDay, { lang: c.lang, calendar: c.second, date: next(t.start, d) }));
    const expected = days.map((x) => (x.day === 1 ? x.month : String(x.day)));
    check(`${c.name}, ${t.start}: the second calendar's days`, equal(t.small, expected), `${t.small} vs ${expected}`);
  }
}

function readModern() {
  const root = document.documentElement, background = (e) => getComputedStyle(e).backgroundColor;
  const tables = [...document.querySelectorAll('main table')].map((t) => ({
    caption: t.caption.textContent,
    heads: [...t.tHead.rows[0].cells].map((c) => c.getAttribute('aria-label')),
    shaded: [...t.tHead.rows[0].cells].map((c) => background(c) !== background(document.body) &&
      background(c) !== 'rgba(0, 0, 0, 0)'),
    rows: [...t.tBodies[0].rows].map((r) => [...r.cells].map((c) => ({ th: c.tagName === 'TH',
      text: c.firstChild ? c.firstChild.nodeValue : '', today: c.getAttribute('aria-current'),
      events: c.querySelector('.hidden')?.textContent, underlined: getComputedStyle(c).textDecorationLine,
      cellEvents: c.querySelector('ul') ? [...c.querySelectorAll('li')].map((li) => li.textContent).join('|') : undefined }))),
    list: [...t.parentElement.querySelectorAll('.events li')].map((li) => li.textContent),
    listOrder: [...t.parentElement.querySelectorAll('.events li')].map((li) =>
      li.querySelector('time').getBoundingClientRect().left < li.querySelector('bdi').getBoundingClientRect().left),
    left: t.getBoundingClientRect().left,
  }));
  const today = document.querySelector('[aria-current]');
  const style = today && getComputedStyle(today);
  return { hacked: window.hacked, title: document.title, h1: [...document.querySelectorAll('h1')].map((h) => h.textContent), tables,
    legend: [...document.querySelectorAll('.legend li')].map((li) => li.textContent),
    links: [...document.querySelectorAll('main a')].map((a) => a.getAttribute('href')),
    dir: root.dir || 'ltr', overflow: root.scrollWidth - root.clientWidth,
    dayFont: parseFloat(getComputedStyle(document.querySelector('td')).fontSize),
    todayMark: style && `${style.fontWeight} ${style.outlineStyle}` };
}

// What the browser's own Intl says of a language (its CLDR, not the page's): the captions and
// range of the months from start, the weekdays from Sunday, the week, direction and digits.
function readIntl({ lang, start, months, minutes = [] }) {
  const locale = new Intl.Locale(lang), month = (k) => new Date(start[0], start[1] - 1 + k, 1);
  const week = locale.getWeekInfo?.() ?? locale.weekInfo, text = locale.getTextInfo?.() ?? locale.textInfo;
  const caption = new Intl.DateTimeFormat(lang, { year: 'numeric', month: 'long', calendar: 'gregory' });
  const weekday = new Intl.DateTimeFormat(lang, { weekday: 'long', calendar: 'gregory' });
  const number = new Intl.NumberFormat(lang, { useGrouping: false });
  return {
    captions: Array.from({ length: months }, (_, k) => caption.format(month(k))),
    range: months === 1 ? caption.format(month(0)) : caption.formatRange(month(0), month(months - 1)),
    weekdays: [0, 1, 2, 3, 4, 5, 6].map((i) => weekday.format(new Date(2027, 0, 3 + i))),
    firstDay: week.firstDay % 7, minimalDays: week.minimalDays, weekend: week.weekend.map((d) => d % 7), direction: text.direction,
    digits: [...'0123456789'].map((d) => number.format(Number(d))),
    week: new Intl.DisplayNames(lang, { type: 'dateTimeField' }).of('weekOfYear'),
    times: Object.fromEntries(minutes.map((t) => [t, new Intl.DateTimeFormat(lang, { hour: 'numeric',
      minute: '2-digit', timeZone: 'UTC' }).format(Date.UTC(2027, 0, 1, t / 60 | 0, t % 60))])),
  };
}

// A month's events as its list shows them: each event and start time once, with all its days.
function condensed(events) {
  const lines = new Map();
  for (const e of events) {
    const key = `${e.order} ${e.minute}`;
    if (!lines.has(key)) lines.set(key, []);
    lines.get(key).push(e);
  }
  return [...lines.values()];
}

// The week of a date as a language counts them: from firstDay (0 = Sunday), the first of a year
// the first with minimalDays of it.
function localeWeek(y, m, d, firstDay, minimalDays) {
  const day = (t) => Math.floor(t / 864e5), weekday = (t) => new Date(t * 864e5).getUTCDay();
  const firstWeek = (year) => {
    const jan1 = day(Date.UTC(year, 0, 1)), before = (weekday(jan1) - firstDay + 7) % 7;
    return jan1 - before + (7 - before >= minimalDays ? 0 : 7);
  };
  const start = day(Date.UTC(y, m, d)) - (weekday(day(Date.UTC(y, m, d))) - firstDay + 7) % 7;
  if (start >= firstWeek(y + 1)) return 1;
  return Math.floor((start - firstWeek(start >= firstWeek(y) ? y : y - 1)) / 7) + 1;
}

function isoWeek(y, m, d) {
  const thursday = new Date(Date.UTC(y, m, d + 3 - (new Date(Date.UTC(y, m, d)).getUTCDay() + 6) % 7));
  return Math.floor((thursday - Date.UTC(thursday.getUTCFullYear(), 0, 1)) / 864e5 / 7) + 1;
}

// Where Debian's ICU 72 (CLDR 42), which the page's table comes from, and the browser's newer
// ICU and CLDR differ: by language, [the page's text, the browser's text]. Thin spaces around
// range dashes and narrow no-break spaces became plain spaces (or the other way), Arabic
// dropped the comma before the year, some spellings changed, and the newer ICU picks other
// range patterns for a month and year (numeric in Chinese and Japanese, both years in Finnish,
// Polish and Russian). Persian: ICU 72 writes its in-year range wrongly (the first month twice),
// so the table takes the range across years there.
const cldrDifferences = {
  'am-ET': [['ኖቬምበር 2026 – ጃንዩወሪ 2027', 'ኖቬምበር 2026 – ጃንዋሪ 2027'], ['ጃንዩወሪ 2027', 'ጃንዋሪ 2027']],
  'ar-EG': [['، ٢٠٢٧', ' ٢٠٢٧']],
  'ar-MA': [['مارس – أبريل، 2027', 'مارس – أبريل 2027'], ['نونبر، 2026 – يناير، 2027', 'نونبر 2026 – يناير 2027']],
  'ar-SA': [['مارس – أبريل، ٢٠٢٧', 'مارس – أبريل ٢٠٢٧'], ['نوفمبر، ٢٠٢٦ – يناير، ٢٠٢٧', 'نوفمبر ٢٠٢٦ – يناير ٢٠٢٧']],
  'bn-BD': [['জানুয়ারী ২০২৭', 'জানুয়ারি ২০২৭'], ['নভেম্বর ২০২৬ – জানুয়ারী ২০২৭', 'নভেম্বর ২০২৬ – জানুয়ারি ২০২৭']],
  'de-DE': [['November 2026\u2009–\u2009Januar 2027', 'November 2026 – Januar 2027']],
  'en': [['\u202FAM', ' AM'], ['\u202FPM', ' PM'], ['\u2009–\u2009', ' – ']],
  'en-GB': [['March\u2009–\u2009April 2027', 'March – April 2027'], ['November 2026\u2009–\u2009January 2027', 'November 2026 – January 2027']],
  'en-US': [['March\u2009–\u2009April 2027', 'March – April 2027'], ['November 2026\u2009–\u2009January 2027', 'November 2026 – January 2027']],
  'fa-IR': [['مارس ۲۰۲۷ تا آوریل ۲۰۲۷', 'مارس تا آوریل ۲۰۲۷'], ['ژانویهٔ ۲۰۲۷ تا دسامبر ۲۰۲۷', 'ژانویهٔ تا دسامبر ۲۰۲۷']],
  'fi-FI': [['tammi–joulukuu 2027', 'tammikuu 2027–joulukuu 2027']],
  'fr-FR': [['mars\u2009–\u2009avril 2027', 'mars – avril 2027'], ['novembre 2026\u2009–\u2009janvier 2027', 'novembre 2026 – janvier 2027']],
  'hu-HU': [['2026. november\u2009–\u20092027. január', '2026. november – 2027. január']],
  'ja-JP': [['2027年1月～12月', '2027/01～2027/12']],
  'ko-KR': [['2026년 11월 ~ 2027년 1월', '2026년 11월~2027년 1월'], ['2027년 3월 ~ 4월', '2027년 3월~4월']],
  'mn-MN': [['2026\u202Fоны арван нэгдүгээр сар', '2026 оны арван нэгдүгээр сар'], ['2026\u202Fоны арван хоёрдугаар сар', '2026 оны арван хоёрдугаар сар'], ['2027\u202Fоны гуравдугаар сар', '2027 оны гуравдугаар сар'], ['2027\u202Fоны дөрөвдүгээр сар', '2027 оны дөрөвдүгээр сар'], ['2027\u202Fоны нэгдүгээр сар', '2027 оны нэгдүгээр сар']],
  'my-MM': [['၂၀၂၆ နိုဝင်ဘာ – ၂၀၂၇ ဇန်နဝါရီ', '၂၀၂၆ နိုဝင်ဘာ\u2009–\u2009၂၀၂၇ ဇန်နဝါရီ']],
  'ne-NP': [['२०२६ नोभेम्बर – २०२७ जनवरी', '२०२६ नोभेम्बर\u2009–\u2009२०२७ जनवरी']],
  'pl-PL': [['listopad 2026–styczeń 2027', 'listopad 2026 – styczeń 2027'], ['marzec–kwiecień 2027', 'marzec 2027 – kwiecień 2027']],
  'ps-AF': [['۲۰۲۶ نومبر – ۲۰۲۷ جنوري', '۲۰۲۶ نومبر\u2009–\u2009۲۰۲۷ جنوري']],
  'pt-BR': [['março\u2009–\u2009abril de 2027', 'março – abril de 2027'], ['novembro de 2026\u2009–\u2009janeiro de 2027', 'novembro de 2026 – janeiro de 2027']],
  'ru-RU': [['апрель 2027\u202Fг.', 'апрель 2027 г.'], ['декабрь 2026\u202Fг.', 'декабрь 2026 г.'], ['март 2027\u202Fг.', 'март 2027 г.'], ['март – апрель 2027\u202Fг.', 'март 2027 г. – апрель 2027 г.'], ['ноябрь 2026\u202Fг. – январь 2027\u202Fг.', 'ноябрь 2026 г. – январь 2027 г.'], ['ноябрь 2026\u202Fг.', 'ноябрь 2026 г.'], ['январь 2027\u202Fг.', 'январь 2027 г.']],
  'sr-Latn-RS': [['mart\u2009–\u2009april 2027.', 'mart – april 2027.']],
  'zh-CN': [['2026年11月至2027年1月', '2026/11 – 2027/1'], ['2027年3月至4月', '2027/3 – 2027/4']],
  'zh-TW': [['2026年11月至2027年1月', '2026/11至2027/1'], ['2027年3月至4月', '2027/3至2027/4']],
};

// Whether the page's text is Chromium's, or differs from it only as the two CLDRs do (in the
// whole text, or in a part of it, as a time within an event's line).
function agrees(lang, ours, theirs) {
  if (Array.isArray(ours))
    return ours.length === theirs.length && ours.every((x, i) => agrees(lang, x, theirs[i]));
  const differences = cldrDifferences[lang.replace(/-u-ca-gregory$/, '')] ?? [];
  return ours === theirs || differences.some(([a, b]) => ours.replaceAll(a, b) === theirs);
}

// The page against the browser's Intl for its language: title, direction, captions, column
// heads, the first column and the weekend's, digits, every day under its weekday, the week
// numbers and events; returns the days marked today.
function checkModern(c, page, intl) {
  const lang = c.lang ?? 'en', month = (k) => new Date(c.start[0], c.start[1] - 1 + k, 1);
  const number = (text) => Number([...text].map((d) => intl.digits.indexOf(d)).join(''));
  const digitsOf = (n) => [...String(n)].map((d) => intl.digits[d]).join('');
  // The weekday of the first column, from where the page puts the 1st of its first month.
  const firstRow = page.tables[0].rows[0].filter((x) => !x.th);
  const first = (month(0).getDay() - firstRow.findIndex((x) => x.text) + 7) % 7;
  check(`${c.name}: first day of the week`, agrees(lang, `first day ${first}`,
    `first day ${c.monday || (c.weeks && !c.lang) ? 1 : c.lang ? intl.firstDay : 0}`), first);
  const title = c.title ?? intl.range;
  check(`${c.name}: title and h1`, agrees(lang, [page.title, ...page.h1], [title, title]), page.title);
  check(`${c.name}: legend`, equal(page.legend, (c.eventFiles ?? []).map((f) => c.sourceNames[f])), page.legend.join());
  check(`${c.name}: links of the web only`, page.links.every((href) => /^https?:/.test(href)), page.links.join());
  check(`${c.name}: direction`, page.dir === intl.direction, page.dir);
  check(`${c.name}: ${c.months} tables, no script from the events`, page.tables.length === c.months && !page.hacked);
  const marked = [];
  page.tables.forEach((t, k) => {
    const d = month(k), y = d.getFullYear(), m = d.getMonth(), label = `${c.name}, ${y}-${m + 1}`;
    const order = [0, 1, 2, 3, 4, 5, 6].map((i) => (first + i) % 7);
    const heads = c.weeks ? t.heads.slice(1) : t.heads;
    check(`${label}: caption, heads`, agrees(lang, [t.caption, ...heads], [intl.captions[k], ...order.map((i) => intl.weekdays[i])]),
      `${t.caption} ${t.heads}`);
    if (c.weeks) check(`${label}: week head`, agrees(lang, t.heads[0].toLowerCase(), intl.week.toLowerCase()), t.heads[0]);
    const weekend = order.filter((_, col) => (c.weeks ? t.shaded.slice(1) : t.shaded)[col]);
    check(`${label}: weekend shaded`, agrees(lang, `weekend ${weekend.sort()}`,
      `weekend ${(c.lang ? intl.weekend : [0, 6]).sort()}`), weekend);
    // The files' events of this month, by day, then as the files and their lines come.
    const events = expectedEvents(c, y, m + 1);
    const listed = c.layout === 'month' ? [] : condensed(events).map((line) => line.map((e) =>
      `${digitsOf(e.day)}${e.last > e.day ? `\u2013${digitsOf(e.last)}` : ''}`).join(', ') + ' ' +
      `${line[0].minute >= 0 ? `${intl.times[line[0].minute]} ` : ''}${line[0].text}${line[0].place ? ` ${line[0].place}` : ''}`);
    check(`${label}: events listed`, agrees(lang, t.list, listed), `${t.list.join('|')} vs ${listed.join('|')}`);
    check(`${label}: each day before its event`, t.listOrder.every((x) => x === (page.dir === 'ltr')));
    const days = [];
    for (const row of t.rows) {
      const cells = row.filter((x) => !x.th), inMonth = cells.filter((x) => x.text);
      check(`${label}: seven days a row`, cells.length === 7 && row.length === (c.weeks ? 8 : 7));
      cells.forEach((x, col) => {
        if (!x.text) return;
        const day = number(x.text);
        days.push(x.text === digitsOf(day) ? day : x.text);
        if (order[col] !== new Date(y, m, day).getDay()) check(`${label}: day ${x.text} under its weekday`, false);
        if (x.today) marked.push(`${y}-${m + 1}-${day}`);
        const of = events.filter((e) => e.day <= day && day <= e.last).sort((a, b) => a.order - b.order);
        // Each source named before its events, once.
        const texts = of.map((e, i) => (i > 0 && of[i - 1].source === e.source ? e.text
          : e.text ? `${e.source}: ${e.text}` : e.source));
        const named = c.layout === 'month' ? x.cellEvents : x.events;
        const expected = of.length ? (c.layout === 'month' ? of.map((e) => e.text || e.source).join('|')
          : `: ${texts.join('; ')}`) : undefined;
        if (named !== expected || (c.layout !== 'month' && (x.underlined === 'underline') !== texts.length > 0))
          check(`${label}: day ${x.text} marked with its events`, false, `${named} vs ${expected}`);
      });
      const week = c.lang && !c.monday ? localeWeek(y, m, number(inMonth[0].text), intl.firstDay, intl.minimalDays)
        : isoWeek(y, m, number(inMonth[0].text));
      if (c.weeks) check(`${label}: week as the language counts it`, row[0].text === digitsOf(week), `${row[0].text} vs ${week}`);
    }
    check(`${label}: every day once, in the language's digits`,
      equal(days, Array.from({ length: new Date(y, m + 1, 0).getDate() }, (_, i) => i + 1)), days.join());
  });
  return marked;
}

async function checkModernPage(browser, c, url) {
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  const page = await context.newPage();
  const [y, m, d] = c.date, k = (y - c.start[0]) * 12 + m - c.start[1], onPage = k >= 0 && k < c.months;
  await page.clock.setFixedTime(new Date(y, m - 1, d, 12));
  await page.goto(url);
  const minutes = Object.values(c.calendars).flat().map((e) => e.minute).filter((t) => t >= 0);
  const intl = await page.evaluate(readIntl, { lang: c.lang ?? 'en', start: c.start, months: c.months, minutes });
  // Chromium's Intl no longer gives the minimal days of a first week; Node.js' does.
  intl.minimalDays ??= readIntl({ lang: c.lang ?? 'en', start: c.start, months: c.months }).minimalDays;
  check(`${c.name}: today marked`, equal(checkModern(c, await page.evaluate(readModern), intl), onPage ? [`${y}-${m}-${d}`] : []));
  if (c.screenshot && c.layout === 'poster') {
    // As the sheet shows it: the print layout at A4 landscape's width.
    await page.emulateMedia({ media: 'print' });
    await page.setViewportSize({ width: 1123, height: 794 });
    await page.screenshot({ path: join(screenshotDir, c.screenshot), fullPage: true });
    await page.emulateMedia({ media: null });
    await page.setViewportSize({ width: 1280, height: 800 });
  } else if (c.screenshot) {
    await page.screenshot({ path: join(screenshotDir, c.screenshot), fullPage: true });
  }
  for (const colorScheme of ['light', 'dark']) {
    await page.emulateMedia({ colorScheme });
    await page.addScriptTag({ path: axePath });
    const violations = await page.evaluate(async () => (await axe.run()).violations.map((v) => v.id));
    check(`${c.name}: axe-core in ${colorScheme}`, violations.length === 0, violations.join(' '));
  }
  await page.emulateMedia({ colorScheme: null });
  for (const [width, grid] of [[1280, 4], [768, 2], [360, 1]]) {
    const columns = c.layout === 'month' ? 1 : grid;
    await page.setViewportSize({ width, height: 800 });
    const view = await page.evaluate(readModern);
    const shown = new Set(view.tables.map((t) => t.left)).size;
    check(`${c.name}: ${width} px, no sideways scrolling`, view.overflow <= 0, view.overflow);
    check(`${c.name}: ${width} px, ${columns} columns`, shown === Math.min(columns, c.months), shown);
  }
  await checkPrint(c, page);
  await page.emulateMedia({ media: 'print' });
  const printed = await page.evaluate(readModern);
  check(`${c.name}: printed today bold in a ring`, !printed.todayMark || printed.todayMark === '700 solid', printed.todayMark);
  await context.close();
  const phone = await browser.newContext({ viewport: { width: 360, height: 740 }, deviceScaleFactor: 3, isMobile: true });
  const phonePage = await phone.newPage();
  await phonePage.goto(url);
  const small = await phonePage.evaluate(readModern);
  check(`${c.name}: phone, day numbers of 12 px or more`, small.dayFont >= 12 && small.overflow <= 0, small.dayFont);
  await phone.close();
  if (c.live) await checkLiveToday(browser, c, url, intl);
}

// On A4 and Letter, without margins and with 0.4 in: every table and list within the sheet's
// printable width in the print layout (right to left too: nothing off the sheet's edge), the
// sheets of page.pdf(), and never a last sheet that holds the footer alone.
async function checkPrint(c, page) {
  const landscape = c.layout === 'month' || c.layout === 'poster';
  for (const [format, inches] of [['A4', [8.27, 11.69]], ['Letter', [8.5, 11]]])
    for (const margin of [0, 0.4]) {
      const label = `${c.name}: ${format}, margins ${margin} in`;
      const width = Math.floor(((landscape ? inches[1] : inches[0]) - 2 * margin) * 96);
      await page.emulateMedia({ media: 'print' });
      await page.setViewportSize({ width, height: 1000 });
      const boxes = await page.evaluate(() => [...document.querySelectorAll('main table, main ul, h1')]
        .map((e) => { const r = e.getBoundingClientRect(); return [Math.round(r.left), Math.round(r.right)]; }));
      check(`${label}: within the printable width`, boxes.every(([l, r]) => l >= 0 && r <= width), JSON.stringify(boxes));
      await page.emulateMedia({ media: null });
      const sides = { top: `${margin}in`, right: `${margin}in`, bottom: `${margin}in`, left: `${margin}in` };
      const sheets = async () => (await page.pdf({ format, margin: sides })).toString('latin1').match(/\/Type\s*\/Page\b/g).length;
      const printed = await sheets();
      check(`${label}: ${c.sheets} sheets`, c.events ? printed <= c.sheets : printed === c.sheets, printed);
      await page.evaluate(() => { window.footer = document.querySelector('footer'); window.footer.remove(); });
      check(`${label}: no sheet of the footer alone`, await sheets() === printed);
      await page.evaluate(() => document.body.append(window.footer));
    }
  await page.setViewportSize({ width: 1280, height: 800 });
}

// The reader's clock moves the mark: to another day on the page, off the page, or nowhere
// without JavaScript.
async function checkLiveToday(browser, c, url, intl) {
  for (const [clock, expected, javaScriptEnabled] of [[c.live, [c.live.join('-')]], [[2031, 1, 1], []],
    [c.live, [c.date.join('-')], false]]) {
    const context = await browser.newContext({ javaScriptEnabled });
    const page = await context.newPage();
    await page.clock.setFixedTime(new Date(clock[0], clock[1] - 1, clock[2], 9));
    await page.goto(url);
    check(`${c.name}: opened on ${clock.join('-')}${javaScriptEnabled === false ? ' without JavaScript' : ''}`,
      equal(checkModern(c, await page.evaluate(readModern), intl), expected));
    await context.close();
  }
}

const work = mkdtempSync(join(tmpdir(), 'pendrik-browser-'));
// The events the case's files put on month (1 ... 12) of year, by day and then as the files and
// their lines come: the line files read here, the calendar files (.ics) by Debian's
// python3-icalendar with python3-dateutil (tests/browser/ics_oracle.py), in the page's TZ.
function expectedEvents(c, year, month) {
  return (c.eventFiles ?? []).flatMap((file, k) => (file.endsWith('.ics') ? c.calendars[file]
    : c.events.split('\n').map((line, i) => line.match(/^(?:(\d{4})-)?(\d\d)-(\d\d) (.*)$/)).filter(Boolean)
      .map((e, i) => ({ year: Number(e[1] ?? year), month: Number(e[2]), day: Number(e[3]), last: Number(e[3]),
        minute: -1, text: e[4], order: i })))
    .filter((e) => e.year === year && e.month === month && new Date(year, month - 1, e.day).getMonth() === month - 1)
    .map((e) => ({ ...e, order: k * 1e6 + e.order, source: c.sourceNames[file] })))
    .sort((a, b) => a.day - b.day || a.order - b.order);
}

// Runs the program on the case's date, in the work folder.
function write(path, c) {
  if (c.events) writeFileSync(join(work, 'events.txt'), c.events);
  c.eventFiles = c.args.filter((_, i) => c.args[i - 1] === '-e');
  // Each file's name in the legend: its calendar's X-WR-CALNAME, else the file's without its
  // extension.
  c.sourceNames = Object.fromEntries(c.eventFiles.map((f) => [f, (f.endsWith('.ics') &&
    readFileSync(join(icsDir, f), 'utf8').match(/^X-WR-CALNAME:(.*?)\r?$/m)?.[1]) || f.replace(/\.[^.]*$/, '')]));
  c.calendars = Object.fromEntries(c.eventFiles.filter((f) => f.endsWith('.ics')).map((f) => {
    copyFileSync(join(icsDir, f), join(work, f));
    return [f, JSON.parse(execFileSync('/usr/bin/python3', [oracle, join(icsDir, f), String(c.start[0]),
      String(c.start[1]), String(c.months)], { env: { ...process.env, TZ: timeZone } }))];
  }));
  const date = `${c.date.map((n) => String(n).padStart(2, '0')).join('-')} 12:00:00`;
  execFileSync(resolve(path), c.args,
    { cwd: work, env: { ...process.env, LD_PRELOAD: process.env.LIBFAKETIME, FAKETIME: date, TZ: timeZone } });
}
const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
try {
  const page = await browser.newPage({ viewport: { width: 1280, height: 800 } });
  for (const c of cases) {
    write(c.program ?? program, c);
    await page.goto(`file://${join(work, c.file)}`);
    checkPage(c, await page.evaluate(readPage));
    if (c.name === 'default')
      await page.screenshot({ path: join(screenshotDir, 'calendar36.png'), fullPage: true });
  }
  for (const c of modernCases) {
    write(ostavel, c);
    await checkModernPage(browser, c, `file://${join(work, c.file)}`);
  }
  await page.clock.setFixedTime(new Date(2010, 2, 10, 12));
  for (const c of languageCases) {
    write(ostavel, c);
    await page.goto(`file://${join(work, c.file)}`);
    // Chromium's Intl where it has the language, else Node.js's (Chromium leaves some out).
    const asked = { lang: c.lang, start: c.start, months: c.months };
    const known = await page.evaluate((lang) => new Intl.DateTimeFormat(lang).resolvedOptions().locale, c.lang);
    const intl = known.split('-')[0] === c.lang.split('-')[0] ? await page.evaluate(readIntl, asked) : readIntl(asked);
    intl.minimalDays ??= readIntl(asked).minimalDays;
    const view = await page.evaluate(readModern);
    check(`${c.name}: no today`, equal(checkModern(c, view, intl), []));
    check(`${c.name}: 1280 px, four months side by side without sideways scrolling`, view.overflow <= 0, view.overflow);
  }
  for (const c of calendarCases) {
    execFileSync(resolve(ostavel), c.args, { cwd: work, env: { ...process.env, TZ: timeZone } });
    await page.goto(`file://${join(work, c.file)}`);
    await checkCalendarPage(page, c);
  }
  // The Nu HTML Checker, errors and warnings alike, on every modern page, in every language.
  const vnu = spawnSync('java', ['-jar', vnuPath, '--Werror', ...[...modernCases, ...languageCases, ...calendarCases].map((c) => join(work, c.file))],
    { encoding: 'utf8' });
  check('Nu HTML Checker: no error, no warning', vnu.status === 0, vnu.stderr + vnu.stdout);
} finally {
  await browser.close();
  rmSync(work, { recursive: true, force: true });
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
