// Opens the frameset page of a scanned tree in headless Chromium, follows
// every link of the main index and checks that the folder page arrives in the
// right-hand frame, that every picture on it loads and that the names shown
// are the file names. With --thumbnails, every picture must show as a
// preview of its stated size that links to the picture, and the turned photo
// portrait.jpg must show upright (taller than wide), and a click on the
// previews of "javascript:alert(1).jpg" and of a name with a line break
// must open those pictures. No page may ever open a dialog. Exits non-zero
// with a list of what failed.
import { chromium } from 'playwright-core';
import { readdirSync, statSync } from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const root = process.argv[2];
const thumbnails = process.argv[3] === '--thumbnails';
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
      if (statSync(full).isDirectory()) { if (raw.toString() !== '_xthumbs') walk(full); }
      // A line break in a name shows as a blank, as any white space does.
      else if (/\.(jpg|png|gif)$/i.test(raw.toString('latin1'))) pictures.push(new TextDecoder().decode(raw).replace(/\n/g, ' '));
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
  // A script run by a link would show itself here first.
  page.on('dialog', async (dialog) => { fail(`a page opened a dialog: ${dialog.message()}`); await dialog.dismiss(); });
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

    // Previews load lazily: each is made eager and awaited, and so is the
    // picture its link opens.
    const images = await details.evaluate(async () => {
      const load = (src) => new Promise((resolve) => {
        const probe = new Image();
        probe.onload = () => resolve({ width: probe.naturalWidth, height: probe.naturalHeight });
        probe.onerror = () => resolve(null);
        probe.src = src;
      });
      const result = [];
      for (const img of document.querySelectorAll('img')) {
        const lazy = img.getAttribute('loading') === 'lazy';
        img.loading = 'eager';
        await img.decode().catch(() => {});
        const link = img.parentElement && img.parentElement.tagName === 'A' ? img.parentElement.href : null;
        result.push({
          src: img.getAttribute('src'), lazy, link, href: link ? img.parentElement.getAttribute('href') : null,
          ok: img.complete && img.naturalWidth > 0,
          natural: [img.naturalWidth, img.naturalHeight],
          stated: [Number(img.getAttribute('width')), Number(img.getAttribute('height'))],
          full: link ? await load(link) : null,
        });
      }
      return result;
    });
    for (const image of images) {
      if (!image.ok) fail(`${folder}: picture ${image.src} did not load`);
      if (!thumbnails) continue;
      if (!image.src.startsWith('_xthumbs/') || !image.lazy) { fail(`${folder}: ${image.src} is no lazy preview`); continue; }
      if (image.natural.join('x') !== image.stated.join('x')) fail(`${folder}: preview ${image.src} is ${image.natural.join('x')}, the page says ${image.stated.join('x')}`);
      if (Math.max(...image.natural) > 100) fail(`${folder}: preview ${image.src} is ${image.natural.join('x')}, more than 100 pixels`);
      if (!image.full) fail(`${folder}: the link of ${image.src} opens no picture`);
      else if (image.href.replace(/^\.\//, '') !== image.src.slice('_xthumbs/'.length, -'.jpg'.length)) fail(`${folder}: the preview ${image.src} links to ${image.href}`);
      if (image.src === '_xthumbs/portrait.jpg.jpg' && !(image.natural[1] > image.natural[0])) fail(`${folder}: the turned photo's preview is ${image.natural.join('x')}, not portrait`);
    }
    if (thumbnails && folder === '.') {
      // The previews of the names a browser could misread open their pictures.
      for (const name of ['javascript:alert(1).jpg', 'new\nline.png']) {
        const image = images.find((candidate) => decodeURIComponent(candidate.src) === `_xthumbs/${name}.jpg`);
        if (!image) { fail(`no preview of ${JSON.stringify(name)}`); continue; }
        await Promise.all([details.waitForNavigation({ waitUntil: 'load' }),
                           details.locator(`img[src="${image.src}"]`).click()]);
        const shown = details.url();
        if (!shown.startsWith('file:') || decodeURIComponent(shown).slice(-name.length) !== name)
          fail(`clicking the preview of ${JSON.stringify(name)} shows ${shown}`);
        const size = await details.evaluate(() => { const img = document.querySelector('img'); return img ? img.naturalWidth : 0; });
        if (!(size > 0)) fail(`the picture ${JSON.stringify(name)} did not load when its preview was clicked`);
        await Promise.all([details.waitForNavigation({ waitUntil: 'load' }), index.locator('a[target="Details"]').nth(i).click()]);
      }
    }
    if (thumbnails && images.length) {
      // A real click on the first preview: the right frame shows the picture itself.
      const first = images[0];
      await Promise.all([details.waitForNavigation({ waitUntil: 'load' }), details.locator('img').first().click()]);
      if (details.url() !== first.link) fail(`${folder}: clicking ${first.src} shows ${details.url()}, expected ${first.link}`);
      await Promise.all([details.waitForNavigation({ waitUntil: 'load' }), index.locator('a[target="Details"]').nth(i).click()]);
    }
    if (images.length !== wanted.length) fail(`${folder}: ${images.length} pictures shown, ${wanted.length} expected`);
    const body = await details.evaluate(() => document.body ? document.body.innerText : document.documentElement.innerText);
    const names = [...body.matchAll(/Image: \d+ - (.*) \(\d+ bytes\)/g)].map((m) => m[1]).sort();
    if (JSON.stringify(names) !== JSON.stringify(wanted)) fail(`${folder}: names shown ${JSON.stringify(names)}, expected ${JSON.stringify(wanted)}`);
  }
  for (const folder of expected.keys()) if (!seen.has(folder)) fail(`no main-index link to ${folder}`);
  if (thumbnails && !expected.get('Ordner #1')?.includes('portrait.jpg')) fail('the turned photo portrait.jpg is missing from the tree');
  console.log(`${links.length} links followed, ${expected.size} folders with pictures checked${thumbnails ? ', previews included' : ''}`);
} finally {
  await browser.close();
}
if (failures.length) {
  console.error(failures.join('\n'));
  process.exit(1);
}
