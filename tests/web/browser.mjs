// Starts Debian's browsers headless for the page's tests, measurements and
// screenshot, and drives the page as a person would. Nothing is downloaded;
// each browser gets a fresh profile of its own and no network.
import { mkdirSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';

export const chromiumPath = process.env.VELNORKA_CHROMIUM || '/usr/bin/chromium';
export const firefoxPath = process.env.VELNORKA_FIREFOX || '/usr/bin/firefox-esr';

// A browser whose language is Czech ("cs": a decimal comma), closed and its
// profile removed by close(). minimumFontSize (Chromium): the reader's
// setting "Minimum font size", in CSS pixels.
export async function launch(engine, language = 'cs', { minimumFontSize } = {}) {
  const profile = mkdtempSync(join(tmpdir(), `velnorka-${engine}-`));
  let browser;
  if (engine === 'chromium') {
    if (minimumFontSize) {
      mkdirSync(join(profile, 'Default'));
      writeFileSync(join(profile, 'Default', 'Preferences'),
        JSON.stringify({ webkit: { webprefs: { minimum_font_size: minimumFontSize } } }));
    }
    browser = await puppeteer.launch({
      executablePath: chromiumPath,
      headless: true,
      userDataDir: profile,
      args: [
        '--no-sandbox',  // CI runs as root
        '--headless',
        '--disable-gpu',
        '--no-first-run',
        '--disable-background-networking',
        '--disable-component-update',
        '--disable-sync',
        `--accept-lang=${language}`,
        '--allow-file-access-from-files',
      ],
    });
  } else {
    browser = await puppeteer.launch({
      browser: 'firefox',
      executablePath: firefoxPath,
      headless: true,
      userDataDir: profile,
      extraPrefsFirefox: {
        'intl.accept_languages': language,
        'intl.locale.requested': language,
        'network.proxy.type': 0,
      },
    });
  }
  const close = browser.close.bind(browser);
  browser.close = async () => {
    try {
      await close();
    } finally {
      rmSync(profile, { recursive: true, force: true });
    }
  };
  return browser;
}

export function pageUrl(file, query = '') {
  return pathToFileURL(file).href + query;
}

// Counts the openings of the page's dialog: the same <dialog> closes and
// opens again within one step, so "open" alone cannot tell the second prompt
// from the first.
function countDialogOpenings() {
  window.velnorkaTest = { openings: 0 };
  new MutationObserver((records) => {
    for (const record of records)
      if (record.oldValue === null && record.target.hasAttribute('open')) window.velnorkaTest.openings++;
  }).observe(document, { subtree: true, attributes: true, attributeFilter: ['open'], attributeOldValue: true });
}

// Opens the page and waits until Form_Load has run (the window takes input).
const counting = new WeakSet();

export async function openPage(browser, url) {
  const page = (await browser.pages())[0] || (await browser.newPage());
  if (!counting.has(page)) {
    counting.add(page);
    await page.evaluateOnNewDocument(countDialogOpenings);
  }
  await page.goto(url);
  await waitReady(page);
  return page;
}

export async function waitReady(page) {
  await page.waitForFunction(() => {
    const form = document.getElementById('Form1');
    return form && !form.hasAttribute('inert') && document.activeElement?.id === 'Text1';
  });
}

export async function openings(page) {
  return page.evaluate(() => window.velnorkaTest.openings);
}

// Waits for the dialog's opening number `count`; returns its text.
export async function waitDialog(page, count) {
  await page.waitForFunction(
    (n) => window.velnorkaTest.openings >= n && document.getElementById('Dialog').open, {}, count);
  return page.$eval('#DialogText', (label) => label.textContent);
}

export async function click(page, id) {
  await page.click(`#${id}`);
}

// Answers the prompt that is open as a person would: typing replaces the
// selected default reply, Enter presses OK.
export async function answer(page, reply) {
  await page.keyboard.type(reply);
  await page.keyboard.press('Enter');
}

// "Generuj" with the two replies; resolves when the handler has ended.
// clicks: 2 for a double-click, whose second click lands beside the prompt.
export async function generate(page, count, group, clicks = 1) {
  const before = await openings(page);
  await page.click('#Command1', { count: clicks });
  await waitDialog(page, before + 1);
  await answer(page, count);
  await waitDialog(page, before + 2);
  await answer(page, group);
  await page.waitForFunction(() => !document.getElementById('Dialog').open);
}

export async function boxText(page) {
  return page.$eval('#Text1', (box) => box.value);
}
