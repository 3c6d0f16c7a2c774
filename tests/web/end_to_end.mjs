// Drives the real page from file:// in headless Chromium (everything) or
// Firefox ESR (a sheet that fills a page and one with a line wider than the
// paper, printed: a second engine), as a person would,
// and compares it with velnorka-cli under a Czech locale.
// usage: node end_to_end.mjs chromium|firefox PAGE CLI
// (tests/web/web_test.sh compiles the locale and sets LOCPATH)
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import {
  answer, boxText, click, generate, launch, openPage, openings, pageUrl, waitDialog, waitReady,
} from './browser.mjs';
import { print, printFaults } from './print_check.mjs';

const [engine, pagePath, cliPath] = process.argv.slice(2);
const work = mkdtempSync(join(tmpdir(), 'velnorka-web-test-'));

function cli(mode, count, group, seed, format = 'text', locale = 'cs_CZ.UTF-8') {
  return execFileSync(cliPath, ['--mode', mode, '--count', count, '--group', group, '--seed', seed, '--format', format],
    { env: { ...process.env, LC_ALL: locale }, encoding: 'utf8' });
}

// The printed sheet has no fault (tests/web/print_check.mjs says which it
// looks for); gives the number of pages.
function checkPrint(pdf, sheet, name) {
  const file = join(work, `${name}.pdf`);
  writeFileSync(file, pdf);
  const { pages, faults } = printFaults(file, sheet);
  assert.deepEqual(faults, [], `${name}: the print`);
  return pages;
}

// A name line that teachers type on top of a sheet, wider than the paper.
const nameLine = `Jméno: ${'_'.repeat(90)}\r\n`;

// A seeded page gives the tool's sheet for the same mode and replies.
// clicks: 2 to start with a double-click on Generuj, which must leave the
// prompt's field focused with its text selected.
async function sheetOfMode(browser, mode, count, group, seed, clicks = 1) {
  const page = await openPage(browser, pageUrl(pagePath, `?seed=${seed}`));
  if (mode !== '1') await click(page, `Option${mode}`);
  await generate(page, count, group, clicks);
  const expected = cli(mode, count, group, seed);
  assert.equal(await boxText(page), expected.replace(/\r\n/g, '\n'), `mode ${mode}: the box holds the tool's sheet`);
  return { page, expected };
}

const focused = (page) => page.evaluate(() => document.activeElement.closest('[id]')?.id ?? 'the body');

async function chromium(browser) {
  // The window as laid out, named and ordered for the keyboard.
  const page = await openPage(browser, pageUrl(pagePath, '?seed=11'));
  const boxes = await page.evaluate(() => {
    const origin = document.getElementById('Form1').getBoundingClientRect();
    const frame = document.getElementById('Frame1').getBoundingClientRect();
    return Object.fromEntries([...document.querySelectorAll('.control')].map((control) => {
      const box = control.getBoundingClientRect();
      const from = control.parentElement.id === 'Frame1' ? frame : origin;
      return [control.id, [box.left - from.left - (from === origin ? 1 : 0), box.top - from.top - (from === origin ? 1 : 0),
        box.width, box.height].map(Math.round)];
    }));
  });
  assert.deepEqual(boxes, {
    Text1: [8, 8, 401, 217], Command1: [424, 8, 145, 33], Command2: [424, 48, 145, 33],
    Command3: [424, 88, 145, 33], Frame1: [424, 128, 145, 105],
    Option1: [8, 24, 121, 17], Option2: [8, 48, 121, 25], Option3: [8, 72, 97, 25],
  }, 'the controls at 96 DPI');
  const tabbed = [];
  for (let i = 0; i < 4; i++) {
    await page.keyboard.press('Tab');
    tabbed.push(await focused(page));
  }
  assert.deepEqual(tabbed, ['Command1', 'Command2', 'Command3', 'Option1'], 'the tab order');
  const tree = await page.accessibility.snapshot({ interestingOnly: false });
  const named = [];
  (function walk(node) {
    named.push(`${node.role}: ${node.name}`);
    (node.children || []).forEach(walk);
  })(tree);
  for (const node of ['textbox: Pracovní list', 'group: Výběr činností', 'radio: Jen přirozená čísla', 'button: Kopíruj'])
    assert.ok(named.includes(node), `a screen reader finds "${node}"`);
  await page.keyboard.down('Shift');
  for (let i = 0; i < 3; i++) await page.keyboard.press('Tab');  // back on Generuj
  await page.keyboard.up('Shift');
  assert.equal(await focused(page), 'Command1', 'Shift+Tab goes back');
  // Space presses the focused button.
  await page.keyboard.press('Space');
  await waitDialog(page, 1);
  const prompt = await page.evaluate(() => {
    const reply = document.getElementById('Reply');
    return [reply.value, reply.selectionStart, reply.selectionEnd, document.activeElement === reply];
  });
  assert.deepEqual(prompt, ['10', 0, 2, true], 'the prompt offers "10", selected');
  const labelled = (await page.accessibility.snapshot({ root: await page.$('#Reply') })).name;
  assert.equal(labelled, 'Zadejte počet příkladů (max.200)', 'the reply is named by the prompt');
  await answer(page, '50');
  await waitDialog(page, 2);
  await answer(page, '5');
  await page.waitForFunction(() => !document.getElementById('Dialog').open);
  const filling = cli('1', '50', '5', '11');
  assert.equal(await boxText(page), filling.replace(/\r\n/g, '\n'), 'mode 1: the tool\'s sheet');
  assert.equal(await focused(page), 'Command1', 'the focus back on Generuj');
  // Ten groups of five questions fill an A4 page exactly, and so does the key.
  assert.equal(checkPrint(await print(page), filling, 'chromium-filling'), 2, 'a page of questions, a page of key');

  // Decimal numbers: the question's numbers and the reply read the Czech way.
  await sheetOfMode(browser, '2', ' 12,5 ', '3', '22', 2);
  const { page: mix, expected } = await sheetOfMode(browser, '3', '200', '9', '33');

  // Kopíruj: the whole box, also where only a part was selected; both
  // flavours byte for byte what the tool prints.
  const cdp = await mix.createCDPSession();
  await cdp.send('Browser.grantPermissions', { permissions: ['clipboardReadWrite', 'clipboardSanitizedWrite'] });
  const copy = async () => {
    await click(mix, 'Command3');
    return mix.evaluate(async () => {
      const [item] = await navigator.clipboard.read({ unsanitized: ['text/html'] });
      return {
        plain: await (await item.getType('text/plain')).text(),
        html: await (await item.getType('text/html')).text(),
      };
    });
  };
  await mix.$eval('#Text1', (box) => box.setSelectionRange(50, 120));
  const copied = await copy();
  assert.equal(copied.plain, expected, 'Kopíruj: the plain text');
  assert.equal(copied.html, cli('3', '200', '9', '33', 'html'), 'Kopíruj: the HTML');

  const setBox = (text) => mix.$eval('#Text1', (box, value) => { box.value = value; }, text);
  // A U+0000 and a lone surrogate cut nothing off.
  await setBox('x\u0000y\ud800z\nend');
  const odd = await copy();
  assert.equal(odd.plain, 'x\u0000y\ufffdz\r\nend', 'Kopíruj after U+0000 and U+D800: the plain text');
  assert.match(odd.html, /xy\ufffdz<\/p><p [^>]*>end/, 'Kopíruj after U+0000 and U+D800: the HTML');

  // A name line wider than the paper, typed on top, wraps.
  await setBox(nameLine + expected);
  checkPrint(await print(mix), nameLine + expected, 'chromium-name-line');

  // What must leave the box as it was.
  await setBox(expected);
  const sheet = await boxText(mix);
  let opened = await openings(mix);
  const unchanged = async (what) => {
    await mix.waitForFunction(() => !document.getElementById('Dialog').open);
    assert.equal(await boxText(mix), sheet, `${what}: the box unchanged`);
    assert.equal(await focused(mix), 'Command1', `${what}: the focus back on Generuj`);
  };
  await click(mix, 'Command1');
  await waitDialog(mix, ++opened);
  // Printing during the prompt prints the box, not the last print's sheet.
  checkPrint(await print(mix), expected, 'chromium-during-prompt');
  await mix.keyboard.press('Escape');
  await unchanged('Escape in the first prompt');

  await click(mix, 'Command1');
  await waitDialog(mix, ++opened);
  await answer(mix, '5');
  await waitDialog(mix, ++opened);
  await click(mix, 'DialogCancel');
  await unchanged('Storno in the second prompt');

  for (const [reply, message] of [
    ['abc', '„abc“ není číslo. Zadejte celé číslo, například 10.'],
    ['201', 'Tolik příkladů nelze vygenerovat'],
  ]) {
    await click(mix, 'Command1');
    await waitDialog(mix, ++opened);
    await answer(mix, reply);
    assert.equal(await waitDialog(mix, ++opened), message, `the message for "${reply}"`);
    assert.equal(await mix.$eval('#Reply', (input) => input.hidden), true, 'a message has no reply field');
    await click(mix, 'DialogText');  // leaves the focus on OK
    await mix.keyboard.press('Enter');
    await unchanged(`"${reply}"`);
    assert.equal(await openings(mix), opened, `"${reply}": no prompt after the message`);
  }

  // Clicks while a prompt is open start nothing, not even Smaž.
  await click(mix, 'Command1');
  await waitDialog(mix, ++opened);
  for (const id of ['Command2', 'Command1']) {
    const box = await mix.$eval(`#${id}`, (button) => {
      const { x, y, width, height } = button.getBoundingClientRect();
      return { x: x + width / 2, y: y + height / 2 };
    });
    await mix.mouse.click(box.x, box.y);
  }
  await mix.keyboard.press('Escape');
  await unchanged('clicks during the prompt');
  assert.equal(await openings(mix), opened, 'no second Generuj from a click during its prompt');

  await click(mix, 'Command2');
  assert.equal(await boxText(mix), '', 'Smaž empties the box');

  // A seed that is no number: a message at start, then the page works.
  for (const seed of ['12x', '5%00x']) {
    await mix.goto(pageUrl(pagePath, `?seed=${seed}`));
    assert.match(await waitDialog(mix, 1), /^Parametr seed v adrese stránky musí být celé číslo/, `seed ${seed}`);
    await mix.keyboard.press('Enter');
    await waitReady(mix);
  }

  // A phone: the controls reflow so that all of them are in view at load,
  // none smaller than a finger's 24 px, and the prompt fits the screen.
  const phone = { width: 360, height: 640 };
  const outside = (boxes) => Object.keys(boxes).filter((id) => {
    const [left, top, width, height] = boxes[id];
    return left < 0 || top < 0 || left + width > phone.width || top + height > phone.height || width < 24 || height < 24;
  });
  const boxesOf = (page, selector) => page.$$eval(selector, (elements) => Object.fromEntries(elements.map((element) => {
    const { left, top, width, height } = element.getBoundingClientRect();
    return [element.id, [left, top, width, height]];
  })));
  await mix.setViewport({ ...phone, isMobile: true, hasTouch: true });
  await openPage(browser, pageUrl(pagePath, '?seed=11'));
  assert.deepEqual(outside(await boxesOf(mix, 'button.control, label.control')), [], 'on a phone: the controls in view, large enough');
  await mix.tap('#Command1');
  await waitDialog(mix, 1);
  assert.deepEqual(outside(await boxesOf(mix, '#Dialog, #Dialog button')), [], 'on a phone: the prompt on the screen');
  await mix.keyboard.press('Escape');

  // Without WebAssembly the page says so instead of loading for ever.
  const bare = await browser.newPage();
  await bare.evaluateOnNewDocument(() => { delete window.WebAssembly; });
  await bare.goto(pageUrl(pagePath));
  assert.match(await bare.$eval('#Loading', (text) => text.textContent),
    /^Tento prohlížeč nespouští WebAssembly.* Použijte aktuální Chrome, Edge, Firefox nebo Safari/, 'the message without WebAssembly');

  // A browser that reports the language "C" (WebKitGTK on a desktop without
  // a language setting) gets the C locale's sheet, a decimal point.
  const posixContext = await browser.createBrowserContext();
  const posix = await posixContext.newPage();
  await posix.evaluateOnNewDocument(() => Object.defineProperty(Navigator.prototype, 'language', { get: () => 'C' }));
  await openPage(posixContext, pageUrl(pagePath, '?seed=7'));
  await click(posix, 'Option2');
  await generate(posix, '12', '4');
  assert.equal(await boxText(posix), cli('2', '12', '4', '7', 'text', 'C').replace(/\r\n/g, '\n'), 'the language "C": the C locale\'s sheet');
  await posixContext.close();

  // Without the browser's modal dialog (older iPads), the page's own: a
  // screen reader finds only the dialog, and with the focus outside it (as
  // back from the browser's toolbar) Tab returns into it, Enter is OK and
  // Escape is Storno.
  const own = await browser.newPage();
  await own.evaluateOnNewDocument(() => { delete HTMLDialogElement.prototype.showModal; });
  await own.goto(pageUrl(pagePath, '?seed=11'));
  await waitReady(own);
  const ownPrompt = (text) => own.waitForFunction((previous) => document.getElementById('Dialog').hasAttribute('open')
    && document.getElementById('DialogText').textContent !== previous, {}, text);
  const leave = () => own.evaluate(() => document.activeElement.blur());
  await own.click('#Command1');
  await ownPrompt('');
  const reachable = [];
  (function walk(node) {
    reachable.push(`${node.role}: ${node.name}`);
    (node.children || []).forEach(walk);
  })(await own.accessibility.snapshot());
  assert.deepEqual(reachable.filter((node) => /^(button|textbox|radio)/.test(node)),
    ['textbox: Zadejte počet příkladů (max.200)', 'button: OK', 'button: Storno'], 'own dialog: only the dialog for a screen reader');
  await leave();
  await own.keyboard.press('Tab');
  assert.equal(await focused(own), 'Reply', 'own dialog: Tab from outside goes into it');
  const countPrompt = await own.$eval('#DialogText', (label) => label.textContent);
  await leave();
  await own.keyboard.press('Enter');
  await ownPrompt(countPrompt);
  await leave();
  await own.keyboard.press('Escape');
  await own.waitForFunction(() => !document.getElementById('Dialog').hasAttribute('open'));
  assert.equal(await focused(own), 'Command1', 'own dialog: Enter answered the count, Escape closed the group prompt');
  await own.close();
}

// A reader's minimum font size of 24 px: the frame's caption and the option
// buttons, as drawn, overlap nothing and stay inside the frame.
async function largeText() {
  const browser = await launch('chromium', 'cs', { minimumFontSize: 24 });
  try {
    const page = await openPage(browser, pageUrl(pagePath));
    const drawn = await page.evaluate(() => {
      const inked = (element) => {
        const range = document.createRange();
        range.selectNodeContents(element);
        const { left, top, right, bottom } = range.getBoundingClientRect();
        return { left, top, right, bottom };
      };
      const frame = document.getElementById('Frame1').getBoundingClientRect();
      return {
        size: getComputedStyle(document.querySelector('legend')).fontSize,
        frame: { left: frame.left, top: frame.top, right: frame.right, bottom: frame.bottom },
        parts: [document.querySelector('legend'), ...document.querySelectorAll('label.control')].map(inked),
      };
    });
    assert.equal(drawn.size, '24px', 'the minimum font size applies');
    const { frame, parts } = drawn;
    parts.forEach((part, i) => {
      assert.ok(part.left >= frame.left && part.right <= frame.right && part.top >= frame.top && part.bottom <= frame.bottom,
        `large text: part ${i} of the frame inside it`);
      parts.slice(i + 1).forEach((other, j) => assert.ok(
        part.right <= other.left || other.right <= part.left || part.bottom <= other.top || other.bottom <= part.top,
        `large text: parts ${i} and ${i + 1 + j} of the frame apart`));
    });
  } finally {
    await browser.close();
  }
}

// A minimum font size of 36 px on a 360×640 phone: no caption wider than its
// control, no page wider than the screen, and the prompt on it.
async function largeTextOnPhone() {
  const browser = await launch('chromium', 'cs', { minimumFontSize: 36 });
  try {
    const screen = 360;
    await (await browser.pages())[0].setViewport({ width: screen, height: 640, isMobile: true, hasTouch: true });
    const page = await openPage(browser, pageUrl(pagePath));
    const overflowing = () => page.evaluate((screen) => {
      const shown = [...document.querySelectorAll('button, legend, label.control, #Dialog, #DialogText')]
        .filter((element) => element.getClientRects().length);
      const wide = shown.filter((element) => {
        const box = element.getBoundingClientRect();
        const range = document.createRange();
        range.selectNodeContents(element);
        const text = range.getBoundingClientRect();
        return box.left < 0 || box.right > screen || text.left < box.left - 0.5 || text.right > box.right + 0.5;
      }).map((element) => element.id || element.textContent);
      return document.documentElement.scrollWidth > screen ? [...wide, 'the page'] : wide;
    }, screen);
    assert.deepEqual(await overflowing(), [], 'minimum font 36 px on a phone: within their controls and the screen');
    await page.tap('#Command1');
    await waitDialog(page, 1);
    assert.deepEqual(await overflowing(), [], 'minimum font 36 px on a phone: the prompt too');
  } finally {
    await browser.close();
  }
}

// A double-click on OK answers only the prompt it was pressed on: its second
// click neither answers the group prompt that opened under it nor, after a
// message, takes the focus from Generuj.
async function doubleClickOk(browser) {
  const page = await openPage(browser, pageUrl(pagePath, '?seed=9'));
  const dialog = () => page.evaluate(() => [document.getElementById('Dialog').open,
    document.getElementById('DialogText').textContent, document.activeElement.id, window.velnorkaTest.openings]);
  await click(page, 'Command1');
  await waitDialog(page, 1);
  await page.keyboard.type('12');
  await page.click('#DialogOk', { count: 2 });
  assert.deepEqual(await dialog(), [true, 'Zadejte po kolika odsazovat', 'Reply', 2], 'double-click on OK: the group prompt open');
  await answer(page, '4');
  await page.waitForFunction(() => !document.getElementById('Dialog').open);
  assert.equal(await boxText(page), cli('1', '12', '4', '9').replace(/\r\n/g, '\n'), 'double-click on OK: groups of 4');

  await click(page, 'Command1');
  await waitDialog(page, 3);
  await answer(page, 'abc');
  const message = await waitDialog(page, 4);
  await page.click('#DialogOk', { count: 2 });
  assert.deepEqual(await dialog(), [false, message, 'Command1', 4], 'double-click on a message\'s OK: the focus on Generuj');
}

async function firefox(browser) {
  const { page, expected } = await sheetOfMode(browser, '3', '50', '5', '44', 2);
  assert.equal(checkPrint(await print(page), expected, 'firefox-filling'), 2, 'a page of questions, a page of key');
  await page.$eval('#Text1', (box, value) => { box.value = value; }, nameLine + expected);
  checkPrint(await print(page), nameLine + expected, 'firefox-name-line');
}

const browser = await launch(engine);
try {
  if (engine === 'chromium') await doubleClickOk(browser);
  await (engine === 'chromium' ? chromium : firefox)(browser);
  if (engine === 'chromium') {
    await largeText();
    await largeTextOnPhone();
  }
  console.log(`${engine}: the page passes`);
} finally {
  await browser.close();
  rmSync(work, { recursive: true, force: true });
}
