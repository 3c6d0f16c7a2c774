// The folder for a web server, served from loopback to headless Chromium as a
// school's server would serve it: the page installs as an app, starts again
// with the server gone, and a new version served replaces the kept one.
// usage: node app_test.mjs SITE
import assert from 'node:assert/strict';
import { readFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join, normalize } from 'node:path';
import { boxText, generate, launch, openPage, waitReady } from './browser.mjs';

const [site] = process.argv.slice(2);
const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.png': 'image/png',
  '.webmanifest': 'application/manifest+json',
};
// offline: the server drops every connection, as a lost network would.
// newVersion: a changed page and service worker, as after a new release.
const server = { offline: false, newVersion: false };
const http = createServer((request, response) => {
  if (server.offline) return request.socket.destroy();
  let path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
  if (path.endsWith('/')) path += 'index.html';
  let body;
  try {
    body = readFileSync(join(site, path));
  } catch {
    response.writeHead(404).end();
    return;
  }
  if (server.newVersion && path === '/velnorka.html')
    body = body.toString().replace('<html lang="cs">', '<html lang="cs" class="new">');
  if (server.newVersion && path === '/sw.js')
    body = body.toString().replace(/const version = '([^']*)'/, "const version = '$1-new'");
  // Nothing kept by the browser's own cache: offline, only the worker can answer.
  response.writeHead(200, { 'Content-Type': types[extname(path)], 'Cache-Control': 'no-store' }).end(body);
});
await new Promise((listening) => http.listen(0, '127.0.0.1', listening));
const base = `http://127.0.0.1:${http.address().port}/`;

const browser = await launch('chromium');
try {
  // The folder's address leads to the page.
  const page = await openPage(browser, `${base}?seed=5`);
  const cdp = await page.createCDPSession();
  const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
  assert.deepEqual(installabilityErrors, [], 'installable');
  await page.waitForFunction(() => navigator.serviceWorker.controller);
  await generate(page, '7', '3');
  const sheet = await boxText(page);

  server.offline = true;
  await page.goto(`${base}?seed=5`);
  await waitReady(page);
  await generate(page, '7', '3');
  assert.equal(await boxText(page), sheet, 'offline: the page starts and generates the same sheet');

  server.offline = false;
  server.newVersion = true;
  await page.goto(`${base}velnorka.html?seed=5`);
  const release = () => page.$eval('html', (html) => html.className);
  assert.equal(await release(), 'new', 'the new version at the next start');
  // The new worker takes over and deletes the old cache.
  await page.waitForFunction(async () => {
    const names = await caches.keys();
    return names.length === 1 && names[0].endsWith('-new');
  }, { timeout: 20000 }).catch(async () =>
    assert.fail(`only the new version kept: ${await page.evaluate(() => caches.keys())}`));
  server.offline = true;
  await page.goto(`${base}velnorka.html?seed=5`);
  await waitReady(page);
  assert.equal(await release(), 'new', 'offline: the new version kept, not the old');
  console.log('chromium: the served folder installs, starts offline and updates');
} finally {
  await browser.close();
  http.closeAllConnections();
  http.close();
}
