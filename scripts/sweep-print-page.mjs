#!/usr/bin/env node
// Sweeps the page's print (a script, not a test): for every count and group,
// puts velnorka-cli's sheet (mode 1, seed 1, Czech locale) in the box with
// LF line breaks, as a teacher's pasted sheet lands, prints it as Ctrl+P
// does in headless Chromium and Firefox ESR, and reads the paper back with
// the end-to-end test's checks. Reports one line per failing sheet and, per
// browser and in total, the sheets with a blank page, with a lost or cut
// line, and whose key is not on its own page; a progress line every 50
// sheets. `kill PID` or `kill -USR2 PID` stops it early and still reports
// what was covered (Ctrl+C ends it at once). Exits 0 when it ran, whatever it
// found.
// usage: node scripts/sweep-print-page.mjs [--page build/web/velnorka.html]
//   [--cli build/linux/cli/velnorka-cli] [--browsers chromium,firefox]
//   [--counts 1-200] [--groups 1,3,5,10] [--name-line]
// Counts and groups take numbers and ranges: 1-50,120,199-200. --name-line
// puts a name line wider than the paper on top of each sheet, as teachers
// type one.
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { parseArgs } from 'node:util';
import { launch, openPage, pageUrl } from '../tests/web/browser.mjs';
import { print, printFaults } from '../tests/web/print_check.mjs';

const root = new URL('..', import.meta.url).pathname;
const { values: options } = parseArgs({
  options: {
    page: { type: 'string', default: join(root, 'build/web/velnorka.html') },
    cli: { type: 'string', default: join(root, 'build/linux/cli/velnorka-cli') },
    browsers: { type: 'string', default: 'chromium,firefox' },
    counts: { type: 'string', default: '1-200' },
    groups: { type: 'string', default: '1,3,5,10' },
    'name-line': { type: 'boolean', default: false },
  },
});

function numbers(list) {
  return list.split(',').flatMap((part) => {
    const [first, last = first] = part.split('-').map(Number);
    if (!Number.isInteger(first) || !Number.isInteger(last) || first > last) throw new Error(`not a number or range: ${part}`);
    return Array.from({ length: last - first + 1 }, (_, i) => first + i);
  });
}

const pagePath = resolve(options.page);
const cliPath = resolve(options.cli);
const browsers = options.browsers.split(',');
const counts = numbers(options.counts);
const groups = numbers(options.groups);
for (const file of [pagePath, cliPath]) if (!existsSync(file)) throw new Error(`missing: ${file}`);
for (const engine of browsers) if (!['chromium', 'firefox'].includes(engine)) throw new Error(`no such browser: ${engine}`);

// The Czech locale compiled for the tool, as its tests do: no locale needs
// to be installed on the machine.
const work = mkdtempSync(join(tmpdir(), 'velnorka-sweep-'));
try {
  execFileSync('localedef', ['-i', 'cs_CZ', '-f', 'UTF-8', join(work, 'cs_CZ.UTF-8')], { stdio: 'ignore' });
} catch {
  // localedef warns about details of some sources; the compiled locale is what counts.
}
if (!existsSync(join(work, 'cs_CZ.UTF-8', 'LC_NUMERIC'))) throw new Error('localedef could not compile cs_CZ.UTF-8');

const nameLine = options['name-line'] ? `Jméno: ${'_'.repeat(90)}\n` : '';

function sheet(count, group) {
  return nameLine + execFileSync(cliPath, ['--mode', '1', '--count', count, '--group', group, '--seed', '1'],
    { env: { ...process.env, LOCPATH: work, LC_ALL: 'cs_CZ.UTF-8' }, encoding: 'utf8' }).replace(/\r\n/g, '\n');
}

// The three figures the sweep reports, and what else the checks can find.
const kinds = {
  blank: 'a blank page',
  line: 'a lost or cut line',
  key: 'key not on its own page',
  margin: 'a line off the left margin',
  font: 'another font',
  error: 'print failed',
};
const tally = () => ({ sheets: 0, ...Object.fromEntries(Object.keys(kinds).map((kind) => [kind, 0])) });
const results = Object.fromEntries(browsers.map((engine) => [engine, { ...tally(), seconds: 0 }]));
let stopping = false;

async function sweep(engine) {
  const result = results[engine];
  const started = Date.now();
  const browser = await launch(engine);
  try {
    const page = await openPage(browser, pageUrl(pagePath));
    for (const group of groups) {
      for (const count of counts) {
        if (stopping) return;
        const text = sheet(count, group);
        const file = join(work, `${engine}.pdf`);
        let faults;
        try {
          await page.$eval('#Text1', (box, value) => { box.value = value; }, text);
          writeFileSync(file, await print(page));
          faults = printFaults(file, text).faults;
        } catch (error) {
          if (!browser.connected || stopping) {
            console.log(`${engine}: the browser is gone (${error.message.split('\n')[0]}); stopped at ${count}/${group}`);
            return;
          }
          faults = [{ kind: 'error', message: error.message.split('\n')[0] }];
        }
        result.sheets++;
        const found = [...new Set(faults.map((fault) => fault.kind))];
        for (const kind of found) result[kind]++;
        if (found.length > 0) {
          const seen = found.map((kind) => `${kinds[kind]} (${faults.find((fault) => fault.kind === kind).message})`);
          console.log(`${engine} ${count}/${group}: ${seen.join('; ')}`);
        }
        result.seconds = (Date.now() - started) / 1000;
        if (result.sheets % 50 === 0) console.log(`${engine}: ${result.sheets} sheets in ${Math.round(result.seconds)} s`);
      }
    }
  } finally {
    await browser.close();
  }
}

function report() {
  const rows = Object.entries(results);
  const total = tally();
  for (const [, result] of rows) for (const key of Object.keys(total)) total[key] += result[key];
  const table = [...rows, ['total', total]].map(([name, result]) => [
    name, result.sheets, result.blank, result.line, result.key, result.margin, result.font, result.error,
    result.seconds === undefined ? '' : `${Math.round(result.seconds)} s`]);
  const head = ['browser', 'sheets', 'blank page', 'lost/cut line', 'key not alone', 'off margin', 'font', 'failed', 'time'];
  const widths = head.map((title, i) => Math.max(title.length, ...table.map((row) => String(row[i]).length)));
  const line = (row) => row.map((cell, i) => String(cell).padStart(widths[i])).join('  ');
  const planned = counts.length * groups.length;
  const named = nameLine ? ', a name line on top' : '';
  console.log(`\n${pagePath}: counts ${options.counts}, groups ${options.groups}${named}, ${planned} sheets per browser`);
  console.log(line(head));
  for (const row of table) console.log(line(row));
}

// puppeteer closes the browsers on SIGTERM; the sweep then stops and reports.
for (const signal of ['SIGUSR2', 'SIGTERM']) {
  process.on(signal, () => {
    stopping = true;
  });
}
try {
  await Promise.all(browsers.map(sweep));
} finally {
  report();
  rmSync(work, { recursive: true, force: true });
}
