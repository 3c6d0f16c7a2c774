#!/usr/bin/env node
// Takes the screenshots of the page on other screens, in headless Chromium:
// a phone (360×640) and a tablet (768×1024), both touch, with the prompt
// open; a reader's minimum font size of 24 px; and a browser without the
// modal <dialog> (older iPads), which gets the page's own.
// usage: node scripts/screenshot-web-devices.mjs [build/web/velnorka.html] [docs]
import { join, resolve } from 'node:path';
import { click, generate, launch, openPage, pageUrl, waitDialog } from '../tests/web/browser.mjs';

const root = new URL('..', import.meta.url).pathname;
const pagePath = resolve(process.argv[2] || join(root, 'build/web/velnorka.html'));
const folder = resolve(process.argv[3] || join(root, 'docs'));

// A sheet in the box, then the first prompt of the next Generuj open.
async function sheetAndPrompt(page) {
  await click(page, 'Option3');
  await generate(page, '12', '4');
  await click(page, 'Command1');
  await waitDialog(page, 3);
}

async function shoot(name, { minimumFontSize, viewport, touch = false, withoutModal = false, prompt = true }) {
  const browser = await launch('chromium', 'cs', { minimumFontSize });
  try {
    // openPage opens the sheet in the browser's first tab, set up here.
    const first = (await browser.pages())[0] || (await browser.newPage());
    await first.setViewport({ ...viewport, isMobile: touch, hasTouch: touch });
    if (withoutModal) await first.evaluateOnNewDocument(() => { delete HTMLDialogElement.prototype.showModal; });
    const page = await openPage(browser, pageUrl(pagePath, '?seed=7'));
    if (prompt) await sheetAndPrompt(page);
    else {
      await click(page, 'Option3');
      await generate(page, '12', '4');
    }
    const path = join(folder, `velnorka-web-${name}.png`);
    await page.screenshot({ path });
    console.log(`wrote ${path}`);
  } finally {
    await browser.close();
  }
}

await shoot('phone', { viewport: { width: 360, height: 640 }, touch: true });
await shoot('tablet', { viewport: { width: 768, height: 1024 }, touch: true });
await shoot('large-text', { viewport: { width: 800, height: 600 }, minimumFontSize: 24, prompt: false });
await shoot('own-dialog', { viewport: { width: 800, height: 600 }, withoutModal: true });
