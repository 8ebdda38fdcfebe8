// The gallery of a scanned tree in headless Chromium, from file://:
//   node gallery-test.mjs TREE BIG_FOLDER MILLION_INDEX_DIR
// TREE was scanned with --gallery; BIG_FOLDER is a folder of TREE with
// 10,000 pictures; MILLION_INDEX_DIR holds an entry page with a search index
// of a million names. Checks that every folder page shows every preview in
// justified rows (each tile its picture's shape, rows as wide as the grid,
// 30 photos on a phone's screen), that the big folder keeps a few screens of
// tiles whatever the reader does, the sources for sharp previews, the
// viewer (click, Enter, keys after a click on the picture, zoom by keys,
// wheel, pinch and double tap, panning, full screen, slideshow, swipe,
// back button, links to one picture, a HEIC picture, a picture that cannot
// be shown, the page behind it inert), a video's poster, length and player,
// names in natural order, links to
// names with leading blanks or a raw '%', the search three folders down and for
// names as people type them (case, accents, ligatures, a decomposed name,
// words in any order) with true counts, previews and Back keeping the query,
// German texts, the user style sheet, a phone's screen, dark mode, pages
// without JavaScript, and that axe-core finds nothing serious or critical
// on any kind of page in light and dark. Prints the 10,000-picture
// folder's first-screen time (at most 1 s), its tiles after each sequence,
// the photos on a phone's screen and the search time on a million names
// (printed, not judged). No page may open a dialog or throw. Exits non-zero
// with what failed.
import { chromium } from 'playwright-core';
import { readFileSync, readdirSync, statSync, writeFileSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const [root, bigFolder, millionDir] = process.argv.slice(2);
const require = createRequire(import.meta.url);
const axeSource = readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
const failures = [];
const fail = (what) => failures.push(what);
const url = (...parts) => pathToFileURL(path.join(...parts)).href;
const pictureNames = /\.(jpg|png|gif|heic|mp4|webm)$/i;
// Files that are pictures or videos by name but have no preview or poster.
const unshown = new Set(['broken.jpg', 'clip.mp4']);

// The folders below TREE that hold pictures, with their pictures' names.
function folders() {
  const result = new Map();
  const walk = (folder) => {
    const names = [];
    for (const name of readdirSync(folder)) {
      const full = path.join(folder, name);
      if (statSync(full).isDirectory()) { if (name !== '_xthumbs') walk(full); }
      else if (pictureNames.test(name)) names.push(name);
    }
    if (names.length) result.set(path.relative(root, folder), names);
  };
  walk(root);
  return result;
}

const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});

async function newPage(options = {}) {
  const page = await browser.newPage({ viewport: { width: 1280, height: 800 }, locale: 'en-US', ...options });
  page.on('dialog', async (dialog) => { fail(`a page opened a dialog: ${dialog.message()}`); await dialog.dismiss(); });
  page.on('pageerror', (error) => fail(`script error on ${page.url()}: ${error.message}`));
  // Headless Chromium may refuse full screen: the request is what counts.
  await page.addInitScript(() => {
    window.fullScreenRequests = 0;
    const request = Element.prototype.requestFullscreen;
    Element.prototype.requestFullscreen = function (...args) { ++window.fullScreenRequests; return request.apply(this, args); };
  });
  return page;
}

// What the viewer shows: open or not, the picture's address, its caption.
const viewerState = (page) => page.evaluate(() => {
  const box = document.querySelector('.viewer');
  const media = box && box.querySelector('.stage .slide:not(.leaving) img, .stage .slide:not(.leaving) video');
  let hash = location.hash.slice(1);
  try { hash = decodeURIComponent(hash); } catch { /* an address with a raw '%' */ }
  return {
    open: !!box && !box.hidden, hash,
    src: media ? media.getAttribute('src') : null, caption: box ? box.querySelector('.caption').textContent : '',
    focusInside: !!box && box.contains(document.activeElement), zoom: box ? Number(box.dataset.zoom || 1) : 0,
  };
});
const viewerPicture = (page) => page.evaluate(() => new Promise((resolve) => {
  const img = document.querySelector('.viewer .slide:not(.leaving) img');
  const done = () => resolve({ w: img.naturalWidth, h: img.naturalHeight, shownWidth: img.getBoundingClientRect().width,
                               background: getComputedStyle(img).backgroundImage });
  if (!img) resolve(null); else if (img.complete) done(); else { img.onload = done; img.onerror = () => resolve(null); }
}));

// Serious and critical findings fail, and at any impact the two that tell a
// tile named twice or named otherwise than it reads (the second is off by
// default).
async function axe(page, what) {
  await page.addScriptTag({ content: axeSource });
  const result = await page.evaluate(async () => (await window.axe.run(document, {
    resultTypes: ['violations'], rules: { 'label-content-name-mismatch': { enabled: true } } })).violations
    .filter((v) => v.impact === 'serious' || v.impact === 'critical' || ['image-redundant-alt', 'label-content-name-mismatch'].includes(v.id))
    .map((v) => `${v.id} (${v.impact}): ${v.nodes.slice(0, 3).map((n) => n.target.join(' ')).join(', ')}`));
  for (const violation of result) fail(`axe-core on ${what}: ${violation}`);
  return result.length;
}

// The grid's drawn tiles: each tile's shape against its preview's, and the
// rows (all but the folder's last) against the grid's width.
const geometry = (page) => page.evaluate(() => {
  const data = JSON.parse(document.getElementById('ombral-folder').textContent);
  const F = Object.fromEntries(data.fields.map((name, i) => [name, i]));
  const byName = new Map(data.items.map((it) => [it[F.name], it]));
  const ul = document.getElementById('grid'), box = ul.getBoundingClientRect(), rows = new Map(), badShapes = [];
  for (const li of ul.children) {
    const r = li.getBoundingClientRect(), img = li.querySelector('img'), it = img && byName.get(img.alt);
    if (it && Math.abs((r.width / r.height) / (it[F.previewWidth] / it[F.previewHeight]) - 1) > 0.02)
      badShapes.push(`${img.alt}: ${r.width.toFixed(1)} x ${r.height.toFixed(1)} for ${it[F.previewWidth]} x ${it[F.previewHeight]}`);
    const top = Math.round(r.top - box.top), row = rows.get(top) || { right: 0, last: false };
    row.right = Math.max(row.right, r.right - box.left);
    row.last ||= li.getAttribute('aria-posinset') === li.getAttribute('aria-setsize');
    rows.set(top, row);
  }
  const badRows = [...rows].filter(([, row]) => !row.last && Math.abs(row.right - ul.clientWidth) > 1)
    .map(([top, row]) => `row at ${top} ends at ${row.right.toFixed(1)} of ${ul.clientWidth}`);
  return { tiles: ul.children.length, badShapes, badRows };
});
async function checkGeometry(page, what) {
  const g = await geometry(page);
  for (const bad of g.badShapes.slice(0, 3)) fail(`${what}: a tile is not its picture's shape: ${bad}`);
  for (const bad of g.badRows.slice(0, 3)) fail(`${what}: a row does not fill the width: ${bad}`);
  return g;
}
const tileCount = (page) => page.evaluate(() => document.querySelectorAll('#grid li').length);
// Types `query` into the entry page's search box and waits for the whole
// answer: the count, the names found, their links and previews, the time.
async function search(page, query) {
  await page.fill('#q', query);
  await page.waitForFunction((q) => location.hash === `#q=${encodeURIComponent(q)}` &&
    document.getElementById('results').dataset.done === '1', query, { timeout: 20000 }).catch(() => fail(`the search for ${query} did not end`));
  return page.evaluate(() => ({
    found: document.getElementById('found').textContent, ms: document.getElementById('found').dataset.ms,
    names: [...document.querySelectorAll('#results li a bdi')].map((b) => b.textContent),
    links: [...document.querySelectorAll('#results li a')].map((a) => a.href),
    previews: [...document.querySelectorAll('#results li img')].map((i) => i.src),
  }));
}
const settle = (page) => page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));

try {
  const page = await newPage();

  // Every folder page shows every preview, each loaded, each a link to its
  // picture, in rows that keep each picture's shape and fill the width.
  for (const [folder, names] of folders()) {
    if (path.join(root, folder) === bigFolder) continue;
    await page.goto(url(root, folder, '_FileIndex.html'));
    const shown = await page.evaluate(async () => {
      const result = [];
      for (const img of document.querySelectorAll('#grid img')) {
        await img.decode().catch(() => {});
        result.push({ alt: img.alt, ok: img.complete && img.naturalWidth > 0, href: img.closest('a').getAttribute('href') });
      }
      return result;
    });
    const alts = shown.map((s) => s.alt).sort();
    const expected = names.filter((n) => !unshown.has(n)).sort();
    if (JSON.stringify(alts) !== JSON.stringify(expected))
      fail(`${folder || '.'}: the grid shows ${JSON.stringify(alts)}, expected ${JSON.stringify(expected)}`);
    for (const s of shown) if (!s.ok) fail(`${folder || '.'}: the preview of ${s.alt} did not load`);
    await checkGeometry(page, `${folder || '.'} at 1280 px`);
  }

  // Names in the reader's order, numbers by their value.
  await page.goto(url(root, 'numbers', '_FileIndex.html'));
  const numbered = await page.$$eval('#grid img', (imgs) => imgs.map((i) => i.alt));
  if (JSON.stringify(numbered) !== JSON.stringify(['Img 1.jpg', 'img 2.jpg', 'img 10.jpg'])) fail(`natural order: ${JSON.stringify(numbered)}`);

  // The viewer: a click opens it, the arrow keys, Home and End page, Esc
  // closes it; the page behind it is out of reach meanwhile.
  const top = url(root, '_FileIndex.html');
  await page.goto(top);
  const order = await page.$$eval('#grid a', (as) => as.filter((a) => !/\.(txt)$/.test(a.getAttribute('href')))
    .map((a) => (a.querySelector('img') ? a.querySelector('img').alt : a.querySelector('.name').textContent)));
  await page.locator('#grid a').first().click();
  let state = await viewerState(page);
  if (!state.open || state.hash !== order[0] || !state.focusInside) fail(`a click did not open the viewer on ${order[0]}: ${JSON.stringify(state)}`);
  if (!/taken|file date/.test(state.caption) || !state.caption.includes(order[0])) fail(`the caption says ${JSON.stringify(state.caption)}`);
  if (!(await viewerPicture(page))) fail(`the viewer's picture ${order[0]} did not load`);
  const inert = await page.evaluate(() => [...document.querySelectorAll('body > header, body > main, body > footer, body > .skip')]
    .map((e) => e.hasAttribute('inert')));
  if (inert.length !== 4 || inert.includes(false)) fail(`with the viewer open header, main, footer and skip link are inert: ${JSON.stringify(inert)}`);
  await page.keyboard.press('ArrowRight');
  if ((await viewerState(page)).hash !== order[1]) fail(`ArrowRight shows ${(await viewerState(page)).hash}, expected ${order[1]}`);
  const said = await page.$eval('.viewer [aria-live]', (e) => e.textContent);
  if (!said.includes(order[1]) || !said.includes(`2 of ${order.length}`)) fail(`paging announces ${JSON.stringify(said)}`);
  await page.keyboard.press('End');
  if ((await viewerState(page)).hash !== order[order.length - 1]) fail('End does not show the last picture');
  await page.keyboard.press('ArrowLeft');
  if ((await viewerState(page)).hash !== order[order.length - 2]) fail('ArrowLeft does not go back one picture');
  await page.keyboard.press('Home');
  if ((await viewerState(page)).hash !== order[0]) fail('Home does not show the first picture');
  await page.keyboard.press('Escape');
  state = await viewerState(page);
  if (state.open || state.hash) fail(`Esc leaves the viewer ${JSON.stringify(state)}`);
  const focused = await page.evaluate(() => document.activeElement && document.activeElement.closest('#grid') !== null);
  if (!focused) fail('after Esc the focus is not back on the grid');
  if (await page.evaluate(() => document.querySelectorAll('[inert]').length)) fail('the page stays inert after the viewer closed');

  // Enter on a focused preview opens the viewer; the back button closes it.
  await page.locator('#grid a').nth(1).focus();
  await page.keyboard.press('Enter');
  state = await viewerState(page);
  if (!state.open || state.hash !== order[1]) fail(`Enter did not open the viewer on ${order[1]}: ${JSON.stringify(state)}`);
  await page.goBack();
  await page.waitForFunction(() => document.querySelector('.viewer').hidden, null, { timeout: 5000 }).catch(() => {});
  state = await viewerState(page);
  if (state.open) fail('the back button does not close the viewer');
  if (page.url() !== top) fail(`after the back button the page is ${page.url()}, expected ${top}`);

  // Links to one picture: the HEIC picture shows as its JPEG; a name with a
  // leading blank; an address with a raw '%' as a reader types it.
  await page.goto(`${top}#${encodeURIComponent('phone.heic')}`);
  state = await viewerState(page);
  if (!state.open || !state.src || !state.src.endsWith('phone.heic.jpeg')) fail(`the link to phone.heic shows ${JSON.stringify(state)}`);
  const heic = await viewerPicture(page);
  if (!heic || !(heic.w > 0)) fail('the HEIC picture does not show in the viewer');
  for (const [address, name] of [[`#${encodeURIComponent(' space.jpg')}`, ' space.jpg'], ['#100% happy?.jpg', '100% happy?.jpg']]) {
    await page.goto(top + address);
    state = await viewerState(page);
    if (!state.open || !state.caption.startsWith(name)) fail(`the address ${address} opens ${JSON.stringify(state)}`);
  }
  // The files' own links lead to them.
  const links = await page.$$eval('#grid a', (as) => as.map((a) => a.href));
  for (const name of [' space.jpg', 'clip.mp4']) {
    const href = links.find((h) => decodeURIComponent(h).endsWith(`/${name}`));
    if (!href) fail(`no tile links to ${JSON.stringify(name)}: ${JSON.stringify(links)}`);
  }

  // A picture that cannot be shown says so and links to its file.
  await page.goto(`${top}#broken.jpg`);
  const broken = await page.waitForSelector('.viewer .failed', { timeout: 5000 }).then((e) => e.evaluate((p) => ({
    text: p.textContent, href: p.querySelector('a') && p.querySelector('a').getAttribute('href') }))).catch(() => null);
  if (!broken || !broken.text.includes('This picture cannot be shown') || broken.href !== 'broken.jpg')
    fail(`a damaged picture shows ${JSON.stringify(broken)}`);

  // A video: its poster on the tile with the play sign and its length; the
  // viewer plays it with the poster until it starts.
  await page.goto(url(root, '2001', '_FileIndex.html'));
  const videoTile = await page.$eval('#grid a.video', (a) => ({
    poster: a.querySelector('img') && a.querySelector('img').getAttribute('src'), length: a.querySelector('.length').textContent,
  })).catch(() => null);
  if (!videoTile || !/_xthumbs\/movie\.webm\.jpg$/.test(videoTile.poster) || videoTile.length !== '0:03')
    fail(`the video's tile shows ${JSON.stringify(videoTile)}`);
  await page.goto(`${url(root, '2001', '_FileIndex.html')}#movie.webm`);
  const player = await page.waitForSelector('.viewer .slide video', { timeout: 5000 }).then((v) => v.evaluate((m) => ({
    src: m.getAttribute('src'), poster: m.getAttribute('poster') }))).catch(() => null);
  if (!player || player.src !== 'movie.webm' || !/movie\.webm\.jpg$/.test(player.poster || ''))
    fail(`the viewer shows the video as ${JSON.stringify(player)}`);

  // The large picture: a checkerboard behind it, the original a download
  // away; zoom by keys up to the original's pixels and no further, by the
  // wheel, by two taps and by a pinch; while zoomed a drag pans and pages
  // not; keys work after a click on the picture or the caption.
  await page.goto(`${top}#${encodeURIComponent('big picture.jpg')}`);
  const big = await viewerPicture(page);
  if (!big || !big.background.includes('conic-gradient')) fail(`the viewer shows no checkerboard behind the picture: ${JSON.stringify(big)}`);
  const download = await page.$eval('.viewer a[download]', (a) => a.getAttribute('href')).catch(() => null);
  if (download !== 'big%20picture.jpg') fail(`the download button leads to ${download}`);
  await page.click('.viewer .slide img');
  await page.keyboard.press('+');
  const zoomed = (await viewerState(page)).zoom;
  if (!(zoomed > 1.4)) fail(`+ zooms to ${zoomed}`);
  for (let i = 0; i < 12; ++i) await page.keyboard.press('+');
  const most = await viewerPicture(page);
  if (most.shownWidth > 3001 || most.shownWidth < 2990) fail(`zoomed all the way in, the 3000 px picture is ${most.shownWidth} px wide`);
  const before = await page.$eval('.viewer .slide img', (img) => img.style.transform);
  await page.evaluate(() => {
    const stage = document.querySelector('.viewer .stage');
    const at = (type, x) => stage.dispatchEvent(new PointerEvent(type, { clientX: x, clientY: 300, pointerId: 7, pointerType: 'touch', bubbles: true }));
    at('pointerdown', 600); at('pointermove', 450); at('pointerup', 300);
  });
  state = await viewerState(page);
  if (state.hash !== 'big picture.jpg') fail(`a drag while zoomed pages to ${state.hash}`);
  if (await page.$eval('.viewer .slide img', (img) => img.style.transform) === before) fail('a drag while zoomed does not pan');
  await page.keyboard.press('0');
  if ((await viewerState(page)).zoom !== 1) fail('0 does not zoom back');
  const stageBox = await page.locator('.viewer .stage').boundingBox();
  await page.mouse.move(stageBox.x + stageBox.width / 2, stageBox.y + stageBox.height / 2);
  await page.mouse.wheel(0, -300);
  await page.waitForFunction(() => Number(document.querySelector('.viewer').dataset.zoom) > 1.2, null, { timeout: 2000 })
    .catch(() => fail('the wheel does not zoom'));
  await page.keyboard.press('0');
  const gesture = (kind) => page.evaluate((kind) => {
    const img = document.querySelector('.viewer .slide img'), r = img.getBoundingClientRect();
    const x = r.left + r.width / 2, y = r.top + r.height / 2;
    const send = (type, id, cx, cy) => img.dispatchEvent(new PointerEvent(type, { clientX: cx, clientY: cy, pointerId: id,
      pointerType: 'touch', isPrimary: id === 1, bubbles: true }));
    if (kind === 'taps') for (let i = 0; i < 2; ++i) { send('pointerdown', 1, x, y); send('pointerup', 1, x, y); }
    else {
      send('pointerdown', 1, x - 20, y); send('pointerdown', 2, x + 20, y);
      send('pointermove', 1, x - 60, y); send('pointermove', 2, x + 60, y);
      send('pointerup', 1, x - 60, y); send('pointerup', 2, x + 60, y);
    }
    return Number(document.querySelector('.viewer').dataset.zoom);
  }, kind);
  const tapped = await gesture('taps');
  if (!(tapped > 1.5)) fail(`two taps zoom to ${tapped}`);
  if ((await gesture('taps')) !== 1) fail('two more taps do not zoom back');
  const pinched = await gesture('pinch');
  if (!(pinched > 2.5)) fail(`a pinch to three times the spread zooms to ${pinched}`);
  await page.keyboard.press('0');
  await page.click('.viewer .caption');
  await page.keyboard.press('ArrowLeft');
  if ((await viewerState(page)).hash === 'big picture.jpg') fail('after a click on the caption the arrow keys do nothing');
  await page.click('.viewer .slide:not(.leaving) img');
  await page.keyboard.press('ArrowRight');
  if ((await viewerState(page)).hash !== 'big picture.jpg') fail('after a click on the picture the arrow keys do nothing');

  // Full screen by F; the slideshow by Space, paused by a key.
  await page.keyboard.press('f');
  const full = await page.evaluate(() => ({ asked: window.fullScreenRequests, on: document.querySelector('.viewer').classList.contains('full') }));
  if (!full.asked && !full.on) fail('F asks for no full screen');
  if (full.on) await page.keyboard.press('f');
  const shownBefore = (await viewerState(page)).hash;
  await page.click('.viewer .caption');
  await page.keyboard.press(' ');
  await page.waitForFunction((h) => decodeURIComponent(location.hash.slice(1)) !== h, shownBefore, { timeout: 6000 })
    .catch(() => fail('the slideshow shows no next picture within 6 s'));
  await page.keyboard.press('ArrowLeft');
  if ((await page.getAttribute('.viewer .play', 'aria-label')) !== 'Start the slideshow') fail('a key does not pause the slideshow');
  await axe(page, 'the open viewer (light)');

  // Sharp previews: the sources for 2x screens where there are large
  // previews; a panorama across the row gets a source as wide as needed.
  await page.goto(top);
  const sources = await page.evaluate(() => {
    const data = JSON.parse(document.getElementById('ombral-folder').textContent);
    const F = Object.fromEntries(data.fields.map((name, i) => [name, i]));
    const byName = new Map(data.items.map((it) => [it[F.name], it]));
    return [...document.querySelectorAll('#grid img')].map((img) => ({ name: img.alt, srcset: img.getAttribute('srcset'),
      sizes: img.getAttribute('sizes'), large: byName.get(img.alt)[F.largeWidth], preview: byName.get(img.alt)[F.previewWidth],
      rendition: byName.get(img.alt)[F.renditionWidth],
      tile: img.getBoundingClientRect().width }));
  });
  const panorama = sources.find((s) => s.name === 'panorama.jpg');
  if (!panorama || !panorama.srcset || !(panorama.rendition > panorama.large) ||
      !panorama.srcset.includes(` ${panorama.rendition}w`) || panorama.sizes !== `${Math.ceil(panorama.tile)}px`)
    fail(`the panorama's tile has the sources ${JSON.stringify(panorama)}`);
  const withLarge = sources.filter((s) => s.large > 0);
  for (const s of withLarge) if (!s.srcset || !s.srcset.includes(` ${s.large}w`)) fail(`${s.name} lacks its large preview in ${s.srcset}`);
  if (!withLarge.length) console.log('large previews: none in the data (largeWidth 0), 2x checks skipped');
  else {
    const sharp = await newPage({ deviceScaleFactor: 2 });
    await sharp.goto(top);
    // With srcset an img's natural size is scaled to its sizes: the file chosen is measured on its own.
    const pairs = await sharp.evaluate(() => Promise.all([...document.querySelectorAll('#grid img[srcset]')].map(async (img) => {
      await img.decode().catch(() => {});
      const chosen = new Image();
      chosen.src = img.currentSrc;
      await chosen.decode().catch(() => {});
      const large = img.getAttribute('srcset').split(', ')[1].split(' ')[0];
      return { name: img.alt, natural: chosen.naturalWidth, preview: Number(img.getAttribute('width')), src: img.currentSrc,
               large: new URL(large, location.href).href };
    })));
    // Where the browser chose the large preview (not a panorama's larger source).
    const chosenLarge = pairs.filter((p) => p.src === p.large && withLarge.some((s) => s.name === p.name && s.large === 2 * s.preview));
    for (const p of chosenLarge) if (p.natural !== 2 * p.preview) fail(`on a 2x screen ${p.name} shows ${p.natural} px for a ${p.preview} px preview (${p.src})`);
    if (!chosenLarge.length) fail('on a 2x screen no tile shows its large preview');
    console.log(`large previews: ${withLarge.length} in the top folder, 2x sizes checked`);
    await sharp.close();
  }

  // The entry page: axe-core, the tree, and the search for a picture three folders down.
  await page.goto(url(root, '_FileIndexFrame.html'));
  await axe(page, 'the entry page (light)');
  const treeLinks = await page.$$eval('nav.tree a', (as) => as.map((a) => a.textContent));
  for (const folder of folders().keys()) {
    const name = folder ? path.basename(folder) : path.basename(root);
    if (!treeLinks.includes(name)) fail(`the folder tree lacks ${name}`);
  }
  await search(page, 'deep-needle');
  const hit = await page.$$eval('#results a', (as) => as.map((a) => a.href));
  const wanted = url(root, 'A', 'B', 'C', '_FileIndex.html') + '#deep-needle.jpg';
  if (hit.length !== 1 || hit[0] !== wanted) fail(`the search for deep-needle finds ${JSON.stringify(hit)}, expected ${wanted}`);
  else {
    await page.locator('#results a').first().click();
    await page.waitForLoadState('load');
    state = await viewerState(page);
    if (!state.open || state.hash !== 'deep-needle.jpg') fail(`the search result opens ${JSON.stringify(state)}`);
    // Its EXIF block names the date taken (in the reader's way) and the camera.
    const time = await page.$eval('.viewer .caption time', (t) => [t.dateTime, t.textContent]).catch(() => []);
    if (!state.caption.includes('taken Jul 14, 2001') || time[0] !== '2001-07-14T18:22:10' || !state.caption.includes('Phone Maker Pocket 1'))
      fail(`the caption of deep-needle.jpg says ${JSON.stringify(state.caption)} (${JSON.stringify(time)})`);
  }
  // The folder with a leading blank: found by the search, its card's link leads to it.
  await page.goto(url(root, '_FileIndexFrame.html'));
  await search(page, 'space folder');
  const spaceHit = await page.$$eval('#results a', (as) => as.map((a) => a.href));
  if (spaceHit[0] !== url(root, ' space folder', '_FileIndex.html')) fail(`the search for " space folder" finds ${JSON.stringify(spaceHit)}`);
  // What people type finds what the disk holds: folded case, accents and
  // ligatures, a composed "é" typed for a decomposed one, several words in
  // either order; each hit with its preview. The scan (ICU) and the page
  // (the browser) must fold alike for these to be found.
  const decomposed = 'Cre\u0300me bru\u0302le\u0301e.jpg';
  for (const [query, names] of [['istanbul', ['İstanbul.jpg']], ['cafe', ['Café.jpg']], ['brûlée', [decomposed]],
                                ['crème brûlée', [decomposed]], ['brulee creme', [decomposed]], ['STRASSE', ['Straße.jpg']],
                                ['straße', ['Straße.jpg']], ['οδυσσευς', ['ΟΔΥΣΣΕΥΣ.jpg']], ['final', ['ﬁnal.jpg']],
                                ['한국', ['한국.jpg']], ['istanbul café', []]]) {
    const answer = await search(page, query);
    const want = `${names.length} file${names.length === 1 ? '' : 's'} and 0 folders found`;
    if (JSON.stringify(answer.names) !== JSON.stringify(names) || answer.found !== want)
      fail(`the search for ${query} finds ${JSON.stringify(answer)}, expected ${JSON.stringify(names)}`);
  }
  // Counts are true, not the number of results shown.
  const many = await search(page, 'img_0');
  if (many.found !== '9,999 files and 0 folders found' || many.names.length !== 50)
    fail(`the search for img_0 says ${many.found} with ${many.names.length} shown`);
  // A hit shows its preview and leads to its picture; Back (from file://)
  // brings the query and its answer again.
  const istanbul = await search(page, 'istanbul');
  const previewLoaded = await page.$eval('#results li img', (img) => img.decode().then(() => img.naturalWidth > 0, () => false));
  if (!previewLoaded) fail(`the preview of İstanbul.jpg in the search results did not load: ${istanbul.previews}`);
  await page.locator('#results a').first().click();
  await page.waitForLoadState('load');
  if (!(await viewerState(page)).open) fail('the search result İstanbul.jpg does not open the viewer');
  await page.goBack();
  await page.waitForFunction(() => document.getElementById('results').dataset.done === '1', null, { timeout: 10000 }).catch(() => {});
  const restored = await page.evaluate(() => [document.getElementById('q').value, [...document.querySelectorAll('#results bdi')].map((b) => b.textContent)]);
  if (restored[0] !== 'istanbul' || restored[1][0] !== 'İstanbul.jpg') fail(`Back from a search result restores ${JSON.stringify(restored)}`);
  const card = await page.$$eval('.albums a', (as) => as.map((a) => a.href).find((h) => h.includes('space%20folder')));
  if (card !== url(root, ' space folder', '_FileIndex.html'))
    fail(`the album card of " space folder" leads to ${card}: its link lost the leading blank`);
  await page.goto(url(root, 'A', 'B', 'C', '_FileIndex.html'));
  await axe(page, 'a folder page (light)');

  // German readers get German texts, dates and numbers.
  const german = await newPage({ locale: 'de-DE' });
  await german.goto(`${url(root, 'A', 'B', 'C', '_FileIndex.html')}#deep-needle.jpg`);
  const de = await german.evaluate(() => ({ lang: document.documentElement.lang, h2: document.getElementById('files').textContent,
    counts: document.querySelector('.counts').textContent, viewer: document.querySelector('.viewer').getAttribute('aria-label'),
    caption: document.querySelector('.viewer .caption').textContent }));
  if (de.lang !== 'de' || de.h2 !== 'Bilder' || !/^1 Bild · \d+,\d KB$/.test(de.counts) || de.viewer !== 'Bildbetrachter' ||
      !de.caption.includes('aufgenommen 14.07.2001'))
    fail(`a German reader sees ${JSON.stringify(de)}`);
  await german.close();

  // The reader's own style sheet comes after ours; a favicon in the page.
  writeFileSync(path.join(root, '_xgallery.user.css'), 'h1 { letter-spacing: 7px; }\n');
  await page.goto(url(root, 'A', 'B', '_FileIndex.html'));
  const styled = await page.evaluate(() => ({ spacing: getComputedStyle(document.querySelector('h1')).letterSpacing,
    sheets: [...document.querySelectorAll('link[rel=stylesheet]')].map((l) => l.getAttribute('href')),
    icon: !!document.querySelector('link[rel=icon][href^="data:image/svg+xml,"]') }));
  rmSync(path.join(root, '_xgallery.user.css'));
  if (styled.spacing !== '7px' || styled.sheets.join() !== '../../_xgallery.css,../../_xgallery.user.css' || !styled.icon)
    fail(`the user style sheet or the icon: ${JSON.stringify(styled)}`);

  // A phone-sized screen: no horizontal scrolling; the system's dark mode;
  // axe-core on every kind of page in dark mode.
  for (const scheme of ['light', 'dark']) {
    const phone = await newPage({ viewport: { width: 375, height: 812 }, colorScheme: scheme, isMobile: true, hasTouch: true });
    for (const pageName of ['_FileIndexFrame.html', '_FileIndex.html']) {
      await phone.goto(url(root, pageName));
      const widths = await phone.evaluate(() => [document.documentElement.scrollWidth, innerWidth]);
      if (widths[0] > widths[1]) fail(`${pageName} at 375 px (${scheme}) scrolls sideways: ${widths[0]} px wide`);
      const background = await phone.evaluate(() => getComputedStyle(document.body).backgroundColor);
      const [r, g, b] = background.match(/\d+/g).map(Number);
      const dark = (r + g + b) / 3 < 80;
      if (dark !== (scheme === 'dark')) fail(`${pageName} in ${scheme} mode has the background ${background}`);
      if (scheme === 'dark') await axe(phone, `${pageName} (dark)`);
    }
    await checkGeometry(phone, `the top folder at 375 px (${scheme})`);
    // A swipe pages on a touch screen, the picture following the finger.
    await phone.locator('#grid a.pic').first().click();
    const before = (await viewerState(phone)).hash;
    const followed = await phone.evaluate(() => {
      const stage = document.querySelector('.viewer .stage'), slide = stage.querySelector('.slide');
      const at = (type, x) => stage.dispatchEvent(new PointerEvent(type, { clientX: x, clientY: 300, pointerType: 'touch', bubbles: true }));
      at('pointerdown', 300); at('pointermove', 200);
      const moved = slide.style.transform;
      at('pointerup', 80);
      return moved;
    });
    if (followed !== 'translateX(-100px)') fail(`during a swipe the picture is at ${JSON.stringify(followed)}`);
    if ((await viewerState(phone)).hash === before) fail('a swipe to the left does not show the next picture');
    if (scheme === 'dark') await axe(phone, 'the open viewer (dark)');
    await phone.close();
  }
  // Without motion wanted, pages change at once.
  const still = await newPage({ reducedMotion: 'reduce' });
  await still.goto(`${top}#${encodeURIComponent(order[0])}`);
  await still.keyboard.press('ArrowRight');
  if (await still.$('.viewer .slide.leaving, .viewer .slide.moving')) fail('with reduced motion the pictures still slide');
  await still.close();

  // Without JavaScript every picture is still a preview that links to its file.
  const plain = await browser.newContext({ javaScriptEnabled: false });
  const noScript = await plain.newPage();
  await noScript.goto(top);
  const statics = await noScript.$$eval('.grid.static a', (as) => as.map((a) => [a.getAttribute('href'), !!a.querySelector('img')]));
  const topFiles = readdirSync(root).filter((n) => /\.(jpg|png|gif|heic|mp4)$/i.test(n));
  if (statics.length !== topFiles.length) fail(`without JavaScript the top folder shows ${statics.length} files, expected ${topFiles.length}`);
  await plain.close();

  // 10,000 pictures: the first screen, its previews loaded, within a second.
  await page.goto(url(root, '_FileIndex.html'));
  await page.goto(pathToFileURL(path.join(bigFolder, '_FileIndex.html')).href, { waitUntil: 'commit' });
  const first = await page.evaluate(() => new Promise((resolve) => {
    const check = () => {
      const seen = [...document.querySelectorAll('#grid img')].filter((i) => { const r = i.getBoundingClientRect(); return r.bottom > 0 && r.top < innerHeight; });
      if (seen.length && seen.every((i) => i.complete && i.naturalWidth > 0)) resolve({ ms: performance.now(), shown: seen.length, drawn: document.querySelectorAll('#grid li').length });
      else setTimeout(check, 5);
    };
    check();
  }));
  console.log(`10,000-picture folder: first screen (${first.shown} previews loaded) after ${first.ms.toFixed(0)} ms, ${first.drawn} tiles drawn`);
  if (first.ms > 1000) fail(`the 10,000-picture folder shows its first screen after ${first.ms.toFixed(0)} ms, more than 1 s`);
  await page.waitForLoadState('load');
  await checkGeometry(page, 'the big folder at 1280 px');
  await axe(page, 'the big folder (light)');

  // Whatever the reader does, a few screens of tiles: Tab into the grid and
  // on, End, the viewer closed at the last picture, a resize; a change of
  // height alone keeps the tiles drawn.
  const counts = {};
  const limit = 150;
  for (let i = 0; i < 12 && !(await page.evaluate(() => !!document.activeElement.closest('#grid'))); ++i) await page.keyboard.press('Tab');
  for (let i = 0; i < 3; ++i) await page.keyboard.press('Tab');
  const tabbed = await page.evaluate(() => document.activeElement.closest('li') && document.activeElement.closest('li').getAttribute('aria-posinset'));
  if (tabbed !== '4') fail(`Tab walks the tiles to ${tabbed}, expected the 4th`);
  counts.Tab = await tileCount(page);
  await page.keyboard.press('End');
  await page.waitForTimeout(300);
  counts['Tab, End'] = await tileCount(page);
  const end = await page.evaluate(() => ({
    last: document.querySelector('#grid li:last-child').getAttribute('aria-posinset'),
    setsize: document.querySelector('#grid li').getAttribute('aria-setsize'),
    kept: document.activeElement.closest('li') && document.activeElement.closest('li').getAttribute('aria-posinset'),
  }));
  if (end.last !== '10000' || end.setsize !== '10000') fail(`at the end of the big folder the last tile is ${end.last} of ${end.setsize}`);
  if (end.kept !== '4') fail(`the focused tile did not stay drawn at the end: the focus is on ${end.kept}`);
  await page.evaluate(() => scrollTo(0, 0));
  await page.waitForTimeout(200);
  await page.locator('#grid a').nth(2).click();
  await page.keyboard.press('End');
  await page.keyboard.press('Escape');
  await page.waitForTimeout(300);
  counts['viewer, End, Esc'] = await tileCount(page);
  const back = await page.evaluate(() => document.activeElement.closest('li') && document.activeElement.closest('li').getAttribute('aria-posinset'));
  if (back !== '10000') fail(`after Esc at the last picture the focus is on tile ${back}`);
  await page.evaluate(() => document.activeElement.blur());
  await page.evaluate(() => scrollTo(0, document.body.scrollHeight / 2));
  await page.waitForTimeout(200);
  await page.evaluate(() => { for (const li of document.querySelectorAll('#grid li')) li.dataset.mark = 'before'; });
  await page.setViewportSize({ width: 1280, height: 700 });
  await page.waitForTimeout(300);
  const kept = await page.evaluate(() => {
    const seen = [...document.querySelectorAll('#grid li')].filter((li) => { const r = li.getBoundingClientRect(); return r.bottom > 0 && r.top < innerHeight; });
    return seen.filter((li) => li.dataset.mark !== 'before').length;
  });
  if (kept) fail(`a change of height alone drew ${kept} tiles on screen anew`);
  counts['height change'] = await tileCount(page);
  await page.setViewportSize({ width: 900, height: 700 });
  await page.waitForTimeout(300);
  counts.resize = await tileCount(page);
  await checkGeometry(page, 'the big folder at 900 px');
  console.log(`10,000-picture folder, tiles in the page: ${Object.entries(counts).map(([k, v]) => `${k} ${v}`).join(', ')}`);
  for (const [what, count] of Object.entries(counts)) if (count > limit) fail(`after ${what} the big folder holds ${count} tiles`);

  // A phone's screen holds 30 and more photos of 4:3.
  const phone = await newPage({ viewport: { width: 375, height: 812 }, isMobile: true, hasTouch: true });
  await phone.goto(pathToFileURL(path.join(bigFolder, '_FileIndex.html')).href);
  await phone.evaluate(() => scrollTo(0, document.getElementById('grid').getBoundingClientRect().top + scrollY));
  await settle(phone);
  const onPhone = await phone.evaluate(() => [...document.querySelectorAll('#grid li')].filter((li) => {
    const r = li.getBoundingClientRect();
    return r.top >= 0 && r.bottom <= innerHeight;
  }).length);
  console.log(`phone (375 x 812): ${onPhone} photos of 4:3 wholly on screen`);
  if (onPhone < 30) fail(`a phone's screen shows ${onPhone} photos, fewer than 30`);
  await checkGeometry(phone, 'the big folder at 375 px');
  await phone.emulateMedia({ colorScheme: 'dark' });
  await axe(phone, 'the big folder (dark)');
  await phone.close();

  // The search on a million names: what people type finds what the index
  // holds, from the pieces a query needs. Counts are true though the names
  // found lie all over the archive: the lists' places prove them ("9898":
  // 560 names hold both "989" and "898", 299 hold them side by side; "_09",
  // in a tenth of all names, proves "_0999" by its run of four "_099"; "mg_x"
  // is in no name, so "img_x" finds nothing at once).
  await page.goto(pathToFileURL(path.join(millionDir, '_FileIndexFrame.html')).href);
  const times = [];
  for (const [query, first, found] of [['needle-in', 'needle-in-the-haystack.jpg', '1 file and 0 folders found'],
                                       ['IMG_0999998', 'IMG_0999998.jpg', '1 file and 0 folders found'],
                                       ['day 28', '1990/01/Day 28', '0 files and 35 folders found'], ['no such name', null, '0 files and 0 folders found'],
                                       ['9898', 'IMG_0009898.jpg', '299 files and 0 folders found'],
                                       ['99998', 'IMG_0099998.jpg', '20 files and 0 folders found'],
                                       ['_0999', 'IMG_0999000.jpg', '999 files and 0 folders found'],
                                       ['img_x', null, '0 files and 0 folders found']]) {
    const answer = await search(page, query);
    times.push(`${query} ${answer.ms} ms`);
    if ((first && answer.names[0] !== first) || answer.found !== found) fail(`the million-name search for ${query} finds ${JSON.stringify(answer)}`);
  }
  console.log(`search on 1,000,000 names: ${times.join(', ')}`);
} finally {
  await browser.close();
}
if (failures.length) {
  console.error(failures.join('\n'));
  process.exit(1);
}
console.log('gallery checked: rows, windowing, sources, viewer, zoom, slideshow, keys, back button, HEIC, names, search, German, phone, dark mode, no JavaScript, axe-core');
