// The entry page of a big archive in headless Chromium, from file://:
//   node entry-tree-test.mjs ARCHIVE_DIR
// ARCHIVE_DIR holds the entry page of a made-up archive of a million names
// in some ten thousand folders (make-search-index DIR 1000000 100): years,
// months, days. Prints the page's size and its element count once loaded
// (at most 200 KB and 2,000 elements), and checks that the folder tree
// folds: a year opens and closes with the keyboard, its folders come from
// a piece loaded on demand, and a day three folders down is reached by
// keys alone. Exits non-zero with what failed.
import { chromium } from 'playwright-core';
import { statSync } from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const [archive] = process.argv.slice(2);
const failures = [];
const fail = (what) => failures.push(what);
const entry = path.join(archive, '_FileIndexFrame.html');

const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking'],
});
try {
  const page = await browser.newPage({ viewport: { width: 1280, height: 800 }, locale: 'en-US' });
  page.on('pageerror', (e) => fail(`the entry page threw: ${e.message}`));
  page.on('dialog', (d) => { fail(`the entry page opened a dialog: ${d.message()}`); d.dismiss(); });
  await page.goto(pathToFileURL(entry).href);
  const bytes = statSync(entry).size;
  const elements = await page.evaluate(() => document.getElementsByTagName('*').length);
  console.log(`entry page of 1,000,000 names: ${bytes} bytes, ${elements} elements`);
  if (bytes >= 200 * 1024) fail(`the entry page has ${bytes} bytes, 200 KB or more`);
  if (elements >= 2000) fail(`the entry page has ${elements} elements, 2,000 or more`);

  // Folded at first: the top folder open, each year closed, no month in the page.
  const years = await page.$$eval('nav.tree > ul > li > details > ul > li > details', (ds) => ds.map((x) => x.open));
  if (years.length < 2 || years.some((open) => open)) fail(`the years are ${JSON.stringify(years)}, expected all closed`);
  const year = 'nav.tree details[data-piece="1"]';
  const yearName = await page.$eval(`${year} > summary`, (x) => x.getAttribute('aria-label'));

  // Keys alone: Enter on the year's fold opens it and loads its piece;
  // Tab passes the first month's link to its fold, Enter opens that; Tab
  // reaches the first day's link.
  await page.focus(`${year} > summary`);
  await page.keyboard.press('Enter');
  await page.waitForFunction((sel) => document.querySelectorAll(`${sel} > ul > li`).length > 0, year, { timeout: 10000 })
    .catch(() => fail(`opening ${yearName} showed no folders`));
  const months = await page.$$eval(`${year} > ul > li`, (lis) => lis.length);
  if (months !== 12) fail(`${yearName} shows ${months} months, expected 12`);
  await page.keyboard.press('Tab');
  await page.keyboard.press('Tab');
  const onMonth = await page.evaluate(() => document.activeElement.tagName === 'SUMMARY' && document.activeElement.getAttribute('aria-label'));
  if (onMonth !== '01') fail(`Tab led to ${JSON.stringify(onMonth)}, not the first month's fold`);
  await page.keyboard.press('Enter');
  // The month's folders are drawn on its 'toggle' event, which comes after the key.
  await page.waitForFunction((sel) => document.querySelectorAll(`${sel} > ul > li:first-child > details > ul > li`).length > 0,
    year, { timeout: 10000 }).catch(() => fail(`opening ${yearName}/01 showed no folders`));
  await page.keyboard.press('Tab');
  const day = await page.evaluate(() => [document.activeElement.tagName, document.activeElement.getAttribute('href')]);
  const wanted = `${yearName}/01/Day%2001/_FileIndex.html`;
  if (day[0] !== 'A' || day[1] !== wanted) fail(`Tab reached ${JSON.stringify(day)}, not the link ${wanted}`);
  const shown = await page.evaluate(() => document.getElementsByTagName('*').length);
  console.log(`after opening ${yearName} and its first month: ${shown} elements`);

  // Enter on the year's summary folds it again.
  await page.focus(`${year} > summary`);
  await page.keyboard.press('Enter');
  if (await page.$eval(year, (x) => x.open)) fail(`Enter did not fold ${yearName} again`);
  await page.keyboard.press('Enter');
  const again = await page.$$eval(`${year} > ul > li`, (lis) => lis.length);
  if (again !== 12) fail(`opened again, ${yearName} shows ${again} months (drawn twice or lost)`);
} finally {
  await browser.close();
}
if (failures.length) {
  console.error(failures.join('\n'));
  process.exit(1);
}
console.log('entry page checked: size, elements, folding, pieces on demand, keyboard');
