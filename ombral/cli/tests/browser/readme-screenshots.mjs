// Draws the README's pictures of the gallery in headless Chromium:
//   node readme-screenshots.mjs OMBRAL_SCAN SAMPLE_DIR WORK_DIR OUT_DIR
// Copies SAMPLE_DIR (samples/gallery) into WORK_DIR, paints landscapes of
// many shapes beside it (a canvas saved as JPEG: panoramas, portraits,
// squares, 4:3 and 3:2), scans it with --gallery and writes
// gallery-rows.png (a folder page at 1366 x 768: albums and justified rows)
// and gallery-phone-zoom.png (the viewer on a 375 x 812 phone, zoomed in).
// Run it from a folder holding playwright-core (the browser test's
// packages). The pictures are kept small: screenshots at one pixel per
// point, colours reduced to 5 or 6 bits per channel, which PNG packs tightly.
import { chromium } from 'playwright-core';
import { cpSync, mkdirSync, rmSync, writeFileSync, statSync } from 'node:fs';
import { execFileSync } from 'node:child_process';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const [scanner, samples, work, out] = process.argv.slice(2).map((p) => path.resolve(p));
const tree = path.join(work, 'Pictures');
rmSync(tree, { recursive: true, force: true });
cpSync(samples, tree, { recursive: true });
mkdirSync(out, { recursive: true });

const browser = await chromium.launch({
  executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
  args: ['--headless', '--no-sandbox', '--disable-gpu', '--hide-scrollbars', '--font-render-hinting=none'],
});

// Landscapes: sky, sun, three ridges and water, in a shape of [width, height].
async function paint(folder, shapes, prefix, seed) {
  mkdirSync(folder, { recursive: true });
  const page = await browser.newPage();
  const pictures = await page.evaluate(({ shapes, seed }) => {
    let state = seed;
    const random = () => ((state = (state * 1103515245 + 12345) % 2147483648) / 2147483648);
    return shapes.map(([w, h]) => {
      const canvas = document.createElement('canvas');
      canvas.width = w;
      canvas.height = h;
      const g = canvas.getContext('2d'), hue = Math.floor(random() * 360), evening = random() < 0.35;
      const sky = g.createLinearGradient(0, 0, 0, h * 0.6);
      sky.addColorStop(0, evening ? `hsl(${(hue + 20) % 360},60%,35%)` : `hsl(${200 + hue % 30},70%,55%)`);
      sky.addColorStop(1, evening ? 'hsl(30,90%,65%)' : `hsl(${190 + hue % 20},60%,85%)`);
      g.fillStyle = sky;
      g.fillRect(0, 0, w, h);
      g.fillStyle = evening ? 'hsl(40,100%,75%)' : 'hsl(50,100%,92%)';
      g.beginPath();
      g.arc(w * (0.2 + random() * 0.6), h * (0.15 + random() * 0.25), Math.min(w, h) * 0.07, 0, Math.PI * 2);
      g.fill();
      for (let layer = 0; layer < 3; ++layer) {
        const base = h * (0.45 + layer * 0.1);
        g.fillStyle = `hsl(${(hue + 90 + layer * 15) % 360},${25 + layer * 10}%,${evening ? 18 + layer * 6 : 40 - layer * 8}%)`;
        g.beginPath();
        g.moveTo(0, h);
        for (let x = 0; x <= w; x += w / Math.max(6, Math.round(8 * w / h / 1.3))) g.lineTo(x, base - random() * h * 0.18);
        g.lineTo(w, h);
        g.fill();
      }
      const water = g.createLinearGradient(0, h * 0.75, 0, h);
      water.addColorStop(0, `hsl(${200 + hue % 20},50%,${evening ? 30 : 45}%)`);
      water.addColorStop(1, `hsl(${210 + hue % 20},60%,${evening ? 15 : 25}%)`);
      g.fillStyle = water;
      g.fillRect(0, h * 0.78, w, h * 0.22);
      return canvas.toDataURL('image/jpeg', 0.85);
    });
  }, { shapes, seed });
  pictures.forEach((url, n) => writeFileSync(path.join(folder, `${prefix}${n + 1}.jpg`), Buffer.from(url.split(',')[1], 'base64')));
  await page.close();
}

// A screenshot with its colours cut to `bits` per channel.
async function shoot(page, file, bits) {
  const png = await page.screenshot();
  const small = await page.evaluate(async ([data, keep]) => {
    const img = new Image();
    img.src = `data:image/png;base64,${data}`;
    await img.decode();
    const canvas = document.createElement('canvas');
    canvas.width = img.naturalWidth;
    canvas.height = img.naturalHeight;
    const g = canvas.getContext('2d');
    g.drawImage(img, 0, 0);
    const pixels = g.getImageData(0, 0, canvas.width, canvas.height);
    for (let i = 0; i < pixels.data.length; ++i) if (i % 4 !== 3) pixels.data[i] = (pixels.data[i] & keep) | ((~keep & 0xff) + 1) / 2;
    g.putImageData(pixels, 0, 0);
    return canvas.toDataURL('image/png').split(',')[1];
  }, [png.toString('base64'), (0xff << (8 - bits)) & 0xff]);
  writeFileSync(file, Buffer.from(small, 'base64'));
  console.log(`${path.basename(file)}: ${(statSync(file).size / 1024).toFixed(0)} KB`);
}
const settle = (page) => page.evaluate(() => Promise.all([...document.images].map((i) => i.decode().catch(() => {}))));

try {
  const holidays = path.join(tree, 'Holidays');
  await paint(holidays, [[1200, 900], [900, 1200], [1500, 1000], [2400, 600], [1000, 1000], [1200, 900], [800, 1200],
                         [1600, 900], [1200, 900], [1200, 800], [900, 1200], [3000, 700], [1200, 900], [1000, 1500],
                         [1200, 900], [1500, 1000], [900, 1200], [1200, 900], [1600, 900], [1200, 900], [1000, 1000],
                         [1200, 800], [900, 1200], [1200, 900]], 'IMG_', 7);
  await paint(path.join(holidays, 'Mountains'), [[1500, 1000], [1200, 900]], 'DSC_', 11);
  await paint(path.join(holidays, 'Lakes'), [[2400, 800], [1200, 900]], 'Lake ', 5);
  await paint(path.join(holidays, 'Coast'), [[1200, 900], [900, 1200]], 'Coast ', 23);
  execFileSync(scanner, ['--quiet', '--gallery', tree], { stdio: 'ignore' });
  const folderPage = pathToFileURL(path.join(holidays, '_FileIndex.html')).href;

  const desktop = await browser.newPage({ viewport: { width: 1366, height: 768 }, locale: 'en-US' });
  await desktop.goto(folderPage);
  await settle(desktop);
  // The rows from the heading down; a name shows over the picture the mouse is on.
  await desktop.evaluate(() => scrollTo(0, document.getElementById('files').getBoundingClientRect().top + scrollY - 12));
  await settle(desktop);
  await desktop.locator('#grid a').nth(2).hover();
  await desktop.waitForTimeout(400);
  await shoot(desktop, path.join(out, 'gallery-rows.png'), 5);

  const phone = await browser.newPage({ viewport: { width: 375, height: 812 }, isMobile: true, hasTouch: true, locale: 'en-US' });
  await phone.goto(`${folderPage}#IMG_3.jpg`);
  await phone.waitForFunction(() => { const i = document.querySelector('.viewer .stage img'); return i && i.complete; });
  await phone.keyboard.press('+');
  await phone.keyboard.press('+');
  await phone.waitForTimeout(300);
  await settle(phone);
  await shoot(phone, path.join(out, 'gallery-phone-zoom.png'), 6);
} finally {
  await browser.close();
}
