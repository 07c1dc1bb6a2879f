// Renders pages written by the real program on fixed dates in headless Chromium and checks
// what a person sees: the title, the layout of the month tables, each table's days under the
// right weekdays (the browser's own Date is the oracle), the one red cell and the footer.
// Usage: node page_test.mjs PROGRAM LINK_HOST SCREENSHOT_DIR
import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { chromium } from 'playwright-core';

const [program, host, screenshotDir] = process.argv.slice(2);
const ostavel = program.replace(/pendrik([^/]*)$/, 'ostavel$1');
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

const work = mkdtempSync(join(tmpdir(), 'pendrik-browser-'));
const browser = await chromium.launch({
  executablePath: '/usr/bin/chromium',
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
    '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
try {
  const page = await browser.newPage({ viewport: { width: 1280, height: 800 } });
  for (const c of cases) {
    const [y, m, d] = c.date;
    const date = `${y}-${String(m).padStart(2, '0')}-${String(d).padStart(2, '0')} 12:00:00`;
    execFileSync(resolve(c.program ?? program), c.args,
      { cwd: work, env: { ...process.env, LD_PRELOAD: process.env.LIBFAKETIME, FAKETIME: date } });
    await page.goto(`file://${join(work, c.file)}`);
    checkPage(c, await page.evaluate(readPage));
    if (c.name === 'default')
      await page.screenshot({ path: join(screenshotDir, 'calendar36.png'), fullPage: true });
  }
} finally {
  await browser.close();
  rmSync(work, { recursive: true, force: true });
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed === 0 ? 0 : 1);
