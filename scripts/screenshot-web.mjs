#!/usr/bin/env node
// Takes the screenshot of the page: velnorka.html in headless
// Chromium with a generated sheet, cropped to the window and a margin.
// usage: node scripts/screenshot-web.mjs [build/web/velnorka.html] [docs/velnorka-web.png]
import { join, resolve } from 'node:path';
import { click, generate, launch, openPage, pageUrl } from '../tests/web/browser.mjs';

const root = new URL('..', import.meta.url).pathname;
const pagePath = resolve(process.argv[2] || join(root, 'build/web/velnorka.html'));
const out = resolve(process.argv[3] || join(root, 'docs/velnorka-web.png'));
const margin = 12;

const browser = await launch('chromium');
try {
  const page = await openPage(browser, pageUrl(pagePath, '?seed=7'));
  await page.setViewport({ width: 640, height: 360 });
  await click(page, 'Option3');
  await generate(page, '12', '4');
  await click(page, 'Text1');  // the caret in the sheet, as after reading it through
  const box = await page.$eval('#Form1', (form) => {
    const { x, y, width, height } = form.getBoundingClientRect();
    return { x, y, width, height };
  });
  await page.screenshot({
    path: out,
    clip: { x: box.x - margin, y: box.y - margin, width: box.width + 2 * margin, height: box.height + 2 * margin },
  });
  console.log(`wrote ${out}`);
} finally {
  await browser.close();
}
