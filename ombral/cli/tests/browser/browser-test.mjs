// Opens the frameset page of a scanned tree in headless Chromium, follows
// every link of the main index and checks that the folder page arrives in the
// right-hand frame, that every picture on it loads and that the names shown
// are the file names. Exits non-zero with a list of what failed.
import { chromium } from 'playwright-core';
import { readdirSync, statSync } from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const root = process.argv[2];
const failures = [];
const fail = (what) => failures.push(what);

// The pictures of each folder as the pages should name them: bytes that are
// not UTF-8 show as U+FFFD.
function expectedFolders(dir) {
  const result = new Map();
  const walk = (folder) => {  // folder: a Buffer, so names that are not UTF-8 survive
    const pictures = [];
    for (const raw of readdirSync(folder, { encoding: 'buffer' })) {
      const full = Buffer.concat([folder, Buffer.from('/'), raw]);
      if (statSync(full).isDirectory()) walk(full);
      else if (/\.(jpg|png|gif)$/i.test(raw.toString('latin1'))) pictures.push(new TextDecoder().decode(raw));
    }
    if (pictures.length) result.set(path.relative(dir, folder.toString()) || '.', pictures.sort());
  };
  walk(Buffer.from(dir));
  return result;
}

const expected = expectedFolders(root);
const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});
try {
  const page = await browser.newPage();
  await page.goto(pathToFileURL(path.join(root, '_FileIndexFrame.html')).href);
  const index = page.frame({ name: 'Index' });
  const details = page.frame({ name: 'Details' });
  if (!index || !details) throw new Error('the frameset has no Index or Details frame');
  await index.waitForLoadState('load');

  const links = await index.$$eval('a[target="Details"]', (as) => as.map((a) => ({ text: a.textContent, href: a.href })));
  const seen = new Set();
  for (let i = 0; i < links.length; ++i) {
    const link = links[i];
    await Promise.all([
      details.waitForNavigation({ waitUntil: 'load' }),
      index.locator('a[target="Details"]').nth(i).click(),
    ]);
    const url = details.url();
    if (url !== link.href) fail(`link "${link.text}": right frame shows ${url}, expected ${link.href}`);
    const folder = path.relative(root, path.dirname(decodeURIComponent(new URL(url).pathname))) || '.';
    seen.add(folder);
    const wanted = expected.get(folder);
    if (!wanted) { fail(`link "${link.text}" leads to ${folder}, which has no pictures`); continue; }
    const shownName = folder === '.' ? path.basename(root) : path.basename(folder);
    if (link.text !== new TextDecoder().decode(Buffer.from(shownName))) fail(`link text "${link.text}" for folder ${folder}`);

    const images = await details.$$eval('img', (imgs) => imgs.map((img) => ({ src: img.getAttribute('src'), ok: img.complete && img.naturalWidth > 0 })));
    for (const image of images) if (!image.ok) fail(`${folder}: picture ${image.src} did not load`);
    if (images.length !== wanted.length) fail(`${folder}: ${images.length} pictures shown, ${wanted.length} expected`);
    const body = await details.evaluate(() => document.body ? document.body.innerText : document.documentElement.innerText);
    const names = [...body.matchAll(/Image: \d+ - (.*) \(\d+ bytes\)/g)].map((m) => m[1]).sort();
    if (JSON.stringify(names) !== JSON.stringify(wanted)) fail(`${folder}: names shown ${JSON.stringify(names)}, expected ${JSON.stringify(wanted)}`);
  }
  for (const folder of expected.keys()) if (!seen.has(folder)) fail(`no main-index link to ${folder}`);
  console.log(`${links.length} links followed, ${expected.size} folders with pictures checked`);
} finally {
  await browser.close();
}
if (failures.length) {
  console.error(failures.join('\n'));
  process.exit(1);
}
