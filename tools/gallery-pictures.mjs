// Paints landscape pictures for the gallery's screenshots in headless
// Chromium (a canvas saved as JPEG), so the pictures show what a gallery of
// photos looks like without shipping photos:
//   node gallery-pictures.mjs FOLDER COUNT PREFIX SEED
import { chromium } from 'playwright-core';
import { writeFileSync, mkdirSync } from 'node:fs';
import path from 'node:path';

const [folder, count, prefix, seed] = process.argv.slice(2);
mkdirSync(folder, { recursive: true });
const browser = await chromium.launch({ executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
                                        args: ['--headless', '--no-sandbox', '--disable-gpu'] });
try {
  const page = await browser.newPage();
  const pictures = await page.evaluate(({ count, seed }) => {
    let state = seed;
    const random = () => ((state = (state * 1103515245 + 12345) % 2147483648) / 2147483648);
    const result = [];
    for (let n = 0; n < count; ++n) {
      const tall = n % 5 === 3;
      const canvas = document.createElement('canvas');
      canvas.width = tall ? 900 : 1200;
      canvas.height = tall ? 1200 : 900;
      const g = canvas.getContext('2d'), w = canvas.width, h = canvas.height;
      const hue = Math.floor(random() * 360), evening = random() < 0.35;
      const sky = g.createLinearGradient(0, 0, 0, h * 0.6);
      sky.addColorStop(0, evening ? `hsl(${(hue + 20) % 360},60%,35%)` : `hsl(${200 + hue % 30},70%,55%)`);
      sky.addColorStop(1, evening ? 'hsl(30,90%,65%)' : `hsl(${190 + hue % 20},60%,85%)`);
      g.fillStyle = sky;
      g.fillRect(0, 0, w, h);
      g.fillStyle = evening ? 'hsl(40,100%,75%)' : 'hsl(50,100%,92%)';
      g.beginPath();
      g.arc(w * (0.2 + random() * 0.6), h * (0.15 + random() * 0.25), w * 0.06, 0, Math.PI * 2);
      g.fill();
      for (let layer = 0; layer < 3; ++layer) {
        const base = h * (0.45 + layer * 0.1);
        g.fillStyle = `hsl(${(hue + 90 + layer * 15) % 360},${25 + layer * 10}%,${evening ? 18 + layer * 6 : 40 - layer * 8}%)`;
        g.beginPath();
        g.moveTo(0, h);
        for (let x = 0; x <= w; x += w / 8) g.lineTo(x, base - random() * h * 0.18);
        g.lineTo(w, h);
        g.fill();
      }
      const water = g.createLinearGradient(0, h * 0.75, 0, h);
      water.addColorStop(0, `hsl(${200 + hue % 20},50%,${evening ? 30 : 45}%)`);
      water.addColorStop(1, `hsl(${210 + hue % 20},60%,${evening ? 15 : 25}%)`);
      g.fillStyle = water;
      g.fillRect(0, h * 0.78, w, h * 0.22);
      result.push(canvas.toDataURL('image/jpeg', 0.86));
    }
    return result;
  }, { count: Number(count), seed: Number(seed) });
  pictures.forEach((url, n) => writeFileSync(path.join(folder, `${prefix}${String(n + 1).padStart(3, '0')}.jpg`),
                                             Buffer.from(url.split(',')[1], 'base64')));
} finally {
  await browser.close();
}
