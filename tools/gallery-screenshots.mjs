// Draws the gallery of a scanned tree in headless Chromium into PNG files:
//   node gallery-screenshots.mjs TREE OUT_DIR
// gallery-desktop.png: the entry page at 1280 x 800; gallery-folder.png: a
// folder page at 1280 x 800; gallery-viewer.png: the viewer over it;
// gallery-phone.png: the folder page at 375 x 812 in dark mode;
// gallery-phone-viewer.png: the viewer on the phone; gallery-video.png: the
// row of a folder page that holds a video's tile.
import { chromium } from 'playwright-core';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const [tree, out] = process.argv.slice(2);
const page = (...parts) => pathToFileURL(path.join(tree, ...parts)).href;
const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--hide-scrollbars', '--font-render-hinting=none'],
});
// Every preview on screen is loaded before the picture is taken.
const settle = (p) => p.evaluate(() => Promise.all([...document.images].map((i) => i.decode().catch(() => {}))));
try {
  const desktop = await browser.newPage({ viewport: { width: 1280, height: 800 } });
  await desktop.goto(page('_FileIndexFrame.html'));
  await desktop.fill('#q', 'beach');
  await desktop.waitForFunction(() => document.getElementById('results').dataset.done === '1');
  await desktop.locator('#q').blur();
  await settle(desktop);
  await desktop.screenshot({ path: path.join(out, 'gallery-desktop.png') });
  await desktop.goto(page('Holidays', '_FileIndex.html'));
  await settle(desktop);
  await desktop.screenshot({ path: path.join(out, 'gallery-folder.png') });
  await desktop.locator('#grid a').nth(2).click();
  await settle(desktop);
  await desktop.screenshot({ path: path.join(out, 'gallery-viewer.png') });

  const phone = await browser.newPage({ viewport: { width: 375, height: 812 }, deviceScaleFactor: 2, isMobile: true,
                                        hasTouch: true, colorScheme: 'dark' });
  await phone.goto(page('Holidays', '_FileIndex.html'));
  await settle(phone);
  await phone.screenshot({ path: path.join(out, 'gallery-phone.png') });
  await phone.locator('#grid a').nth(1).click();
  await settle(phone);
  await phone.screenshot({ path: path.join(out, 'gallery-phone-viewer.png') });

  // A video's tile among the pictures: its poster with the play sign and
  // its length.
  const rows = await browser.newPage({ viewport: { width: 1280, height: 800 } });
  await rows.goto(page('Holidays', '_FileIndex.html'));
  const video = rows.locator('#grid a.video').first();
  await video.scrollIntoViewIfNeeded();
  await settle(rows);
  const tile = await video.boundingBox();
  const top = Math.max(0, tile.y - 12);
  await rows.screenshot({ path: path.join(out, 'gallery-video.png'),
                          clip: { x: 0, y: top, width: 1280, height: Math.min(800 - top, tile.height + 24) } });
} finally {
  await browser.close();
}
