#!/usr/bin/env node
// Measures the page (a script, not a test): the size of velnorka.html, load
// to ready in headless Chromium from file:// against the same shell without
// the module, and OK in the last prompt to the filled box (200 exercises).
// usage: node scripts/bench-web.mjs [build/web/velnorka.html]
import { mkdtempSync, readFileSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { gzipSync } from 'node:zlib';
import { answer, click, launch, openPage, pageUrl, waitDialog } from '../tests/web/browser.mjs';

const root = new URL('..', import.meta.url).pathname;
const pagePath = resolve(process.argv[2] || join(root, 'build/web/velnorka.html'));
const warmUps = 2;
const runs = 15;

const median = (values) => {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
};
const ms = (value) => `${value.toFixed(1)} ms`;

const html = readFileSync(pagePath);
const size = statSync(pagePath).size;
console.log(`velnorka.html: ${size} bytes (${(size / 1024).toFixed(1)} KiB), gzipped ${gzipSync(html, { level: 9 }).length} bytes`);

// The shell without the module: the page with its one script left out.
const work = mkdtempSync(join(tmpdir(), 'velnorka-bench-'));
const shellPath = join(work, 'shell.html');
writeFileSync(shellPath, html.toString('utf8').replace(/<script>[\s\S]*<\/script>/, ''));

// When the window takes input: Form_Load has run and the box is opened.
function noteReady() {
  new MutationObserver((records, observer) => {
    const form = document.getElementById('Form1');
    if (form && !form.hasAttribute('inert')) {
      window.velnorkaReadyAt = performance.now();
      observer.disconnect();
    }
  }).observe(document, { subtree: true, attributes: true, attributeFilter: ['inert'] });
}

// When OK is pressed, and when the box's text is set and then drawn.
function noteFill() {
  window.velnorkaFill = {};
  window.addEventListener('click', (event) => {
    if (event.target.id === 'DialogOk') window.velnorkaFill.ok = performance.now();
  }, true);
  const value = Object.getOwnPropertyDescriptor(HTMLTextAreaElement.prototype, 'value');
  Object.defineProperty(HTMLTextAreaElement.prototype, 'value', {
    get() { return value.get.call(this); },
    set(text) {
      value.set.call(this, text);
      window.velnorkaFill.set = performance.now();
      requestAnimationFrame(() => setTimeout(() => { window.velnorkaFill.drawn = performance.now(); }));
    },
  });
}

const browser = await launch('chromium');
try {
  const page = (await browser.pages())[0];
  await page.evaluateOnNewDocument(noteReady);
  const loads = { page: [], shell: [] };
  for (let i = 0; i < warmUps + runs; i++) {
    await page.goto(pageUrl(pagePath));
    await page.waitForFunction(() => window.velnorkaReadyAt !== undefined);
    const ready = await page.evaluate(() => window.velnorkaReadyAt);
    await page.goto(pageUrl(shellPath));
    const shell = await page.evaluate(() => performance.getEntriesByType('navigation')[0].loadEventEnd);
    if (i >= warmUps) {
      loads.page.push(ready);
      loads.shell.push(shell);
    }
  }
  const pageMedian = median(loads.page);
  const shellMedian = median(loads.shell);
  console.log(`load to ready, median of ${runs}: ${ms(pageMedian)} (worst ${ms(Math.max(...loads.page))}); ` +
    `the shell without the module ${ms(shellMedian)}; ratio ${(pageMedian / shellMedian).toFixed(2)}`);

  const filler = await openPage(browser, pageUrl(pagePath));
  await filler.evaluate(noteFill);
  await click(filler, 'Option3');
  const toSet = [];
  const toDrawn = [];
  for (let i = 0; i < warmUps + runs; i++) {
    await click(filler, 'Command1');
    const opened = await filler.evaluate(() => window.velnorkaTest.openings);
    await waitDialog(filler, opened);
    await answer(filler, '200');
    await waitDialog(filler, opened + 1);
    await filler.keyboard.type('9');
    await filler.evaluate(() => { window.velnorkaFill = {}; });
    await click(filler, 'DialogOk');
    await filler.waitForFunction(() => window.velnorkaFill.drawn !== undefined);
    const fill = await filler.evaluate(() => window.velnorkaFill);
    if (i >= warmUps) {
      toSet.push(fill.set - fill.ok);
      toDrawn.push(fill.drawn - fill.ok);
    }
  }
  console.log(`OK to the filled box, 200 exercises, median of ${runs}: ${ms(median(toSet))} ` +
    `(worst ${ms(Math.max(...toSet))}); to the next frame drawn ${ms(median(toDrawn))}`);
} finally {
  await browser.close();
  rmSync(work, { recursive: true, force: true });
}
