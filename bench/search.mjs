// The gallery's search on a big archive in headless Chromium, from file://:
//   node search.mjs ARCHIVE_DIR ROUNDS
// For each query, ROUNDS alternating pairs on a cold page (a new browser
// context each time, nothing cached):
//   page   the entry page opened, until its load event (the baseline)
//   query  the entry page opened, the box clicked, the query typed at 100 ms
//          a key: the time from the first key to the first result shown,
//          from the last key to the whole answer, and every byte of the
//          index the page loaded (the manifest and its pieces)
// Then, on one warm page, the time of later queries (the page's own
// measure, from the key to the answer drawn). Medians; figures as text.
import { chromium } from 'playwright-core';
import { statSync } from 'node:fs';
import path from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const [archive, roundsText] = process.argv.slice(2);
const rounds = Number(roundsText || 7);
const entry = pathToFileURL(path.join(archive, '_FileIndexFrame.html')).href;
const browser = await chromium.launch({ executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking'] });
const median = (v) => { const s = [...v].sort((a, b) => a - b); return s.length % 2 ? s[(s.length - 1) / 2] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2; };
const size = (url) => statSync(fileURLToPath(url)).size;

async function openPage() {
  const context = await browser.newContext({ viewport: { width: 1280, height: 800 } });
  const page = await context.newPage();
  const loaded = [];
  page.on('requestfinished', (r) => loaded.push(r.url()));
  page.on('pageerror', (e) => { throw e; });
  const start = Date.now();
  await page.goto(entry, { waitUntil: 'load' });
  return { context, page, loaded, ms: Date.now() - start };
}

async function typed(query) {
  const { context, page, loaded } = await openPage();
  await page.evaluate(() => {
    window.firstKey = 0; window.lastKey = 0; window.firstResult = 0;
    const q = document.getElementById('q');
    // Every key typed is an input event (a Cyrillic letter comes without keydown).
    q.addEventListener('input', () => { window.lastKey = performance.now(); if (!window.firstKey) window.firstKey = window.lastKey; }, true);
    new MutationObserver(() => { if (!window.firstResult && document.querySelector('#results li')) window.firstResult = performance.now(); })
      .observe(document.getElementById('results'), { childList: true, subtree: true });
  });
  await page.click('#q');
  await page.keyboard.type(query, { delay: 100 });
  await page.waitForFunction((q) => location.hash === `#q=${encodeURIComponent(q)}` && document.getElementById('results').dataset.done === '1',
    query, { timeout: 60000, polling: 5 });
  const at = await page.evaluate(() => ({ first: window.firstResult - window.firstKey, whole: performance.now() - window.lastKey,
    found: document.getElementById('found').textContent }));
  const index = loaded.filter((u) => u.includes('/_xsearch'));
  const bytes = index.reduce((sum, u) => sum + size(u), 0);
  const pageBytes = loaded.filter((u) => !u.includes('/_xsearch') && u.startsWith('file:')).reduce((sum, u) => sum + size(u), 0);
  await context.close();
  return { ...at, pieces: index.length, bytes, pageBytes };
}

const queries = ['istanbul', 'cafe de flore', 'needle', 'img_0042', '2019-07', 'zurich beach', 'москва'];
console.log(`${rounds} alternating pairs per query, cold pages, typed at 100 ms a key`);
console.log('query | first result after the first key | whole answer after the last key | index bytes loaded (pieces) | page load (baseline) | ratio | found');
for (const query of queries) {
  const runs = [], pages = [];
  for (let r = 0; r < rounds; ++r) {
    if (r % 2) { runs.push(await typed(query)); const p = await openPage(); pages.push(p.ms); await p.context.close(); }
    else { const p = await openPage(); pages.push(p.ms); await p.context.close(); runs.push(await typed(query)); }
  }
  const ratios = runs.map((run, i) => run.first / pages[i]);
  const last = runs[runs.length - 1];
  console.log(`${query} | ${median(runs.map((r) => r.first)).toFixed(0)} ms | ${median(runs.map((r) => r.whole)).toFixed(0)} ms | ` +
              `${median(runs.map((r) => r.bytes))} (${median(runs.map((r) => r.pieces))}) | ${median(pages).toFixed(0)} ms | ` +
              `${median(ratios).toFixed(2)} | ${last.found}`);
}
// Later queries on a warm page.
const { context, page } = await openPage();
const later = [];
for (const query of [...queries, 'dsc0', 'whatsapp 2010', 'screenshot', 'reykjavik', '東京', 'hochzeit anais', 'pxl_2003']) {
  await page.fill('#q', query);
  await page.waitForFunction((q) => location.hash === `#q=${encodeURIComponent(q)}` && document.getElementById('results').dataset.done === '1',
    query, { timeout: 60000, polling: 5 });
  for (let r = 0; r < 3; ++r) {
    await page.fill('#q', '');
    await page.fill('#q', query);
    await page.waitForFunction((q) => location.hash === `#q=${encodeURIComponent(q)}` && document.getElementById('results').dataset.done === '1',
      query, { timeout: 60000, polling: 5 });
    later.push(Number(await page.$eval('#found', (o) => o.dataset.ms)));
  }
}
console.log(`later queries (${later.length}): median ${median(later).toFixed(1)} ms, slowest ${Math.max(...later).toFixed(1)} ms`);
await context.close();
await browser.close();
