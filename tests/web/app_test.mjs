// The folder for a web server, served from loopback to headless Chromium as a
// school's server would serve it: the page installs as an app, starts again
// with the server gone, a new version served replaces the kept one, and
// servers that misbehave (a file refused, a wrong answer, a hang, redirects)
// leave a usable kept copy.
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
// quirk: how a real server misbehaves; given the path asked for, its query
// and the response, it answers and returns true, or leaves the path to the folder.
const server = { offline: false, newVersion: false, quirk: null };
const http = createServer((request, response) => {
  if (server.offline) return request.socket.destroy();
  const url = new URL(request.url, 'http://x');
  let path = normalize(decodeURIComponent(url.pathname));
  if (server.quirk?.(path, url.search, response)) return;
  if (path.endsWith('/')) path += 'index.html';
  serve(path, response);
});

function serve(path, response, type = types[extname(path)]) {
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
  response.writeHead(200, { 'Content-Type': type, 'Cache-Control': 'no-store' }).end(body);
}
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
  await serversThatMisbehave();
  console.log('chromium: the served folder installs, starts offline, updates, and outlives servers that misbehave');
} finally {
  await browser.close();
  http.closeAllConnections();
  http.close();
}

// Schools' servers that misbehave, each met by a browser profile of its own
// that installs the app and then starts it with the server gone, or hung.
async function serversThatMisbehave() {
  const installed = async (address, quirk = null) => {
    server.offline = false;
    server.quirk = quirk;
    const context = await browser.createBrowserContext();
    const page = await openPage(context, address);
    page.setDefaultTimeout(10000);
    await page.waitForFunction(() => navigator.serviceWorker.controller)
      .catch(() => assert.fail(`${address}: the worker installs`));
    return page;
  };
  const startsOffline = async (page, address, what) => {
    server.offline = true;
    await page.goto(address);
    await waitReady(page).catch(() => assert.fail(`${what}: ${address} starts offline`));
  };
  const maintenance = '<!doctype html><html lang="cs"><meta charset="utf-8"><title>Údržba</title><h1>Údržba serveru</h1>';

  // IIS serves no file of a type it does not know: the page is kept without its manifest.
  let page = await installed(`${base}velnorka.html`, (path, query, response) => {
    if (path !== '/velnorka.webmanifest') return false;
    response.writeHead(404).end();
    return true;
  });
  await startsOffline(page, `${base}velnorka.html`, 'a manifest answered 404');
  await page.browserContext().close();

  // Answers that are not the file replace nothing kept.
  page = await installed(`${base}velnorka.html`);
  for (const [what, quirk] of [
    ['a maintenance page answered 200', (path, query, response) => {
      response.writeHead(200, { 'Content-Type': 'text/html; charset=utf-8' }).end(maintenance);
      return true;
    }],
    ['the page as text/plain', (path, query, response) => {
      if (path !== '/velnorka.html') return false;
      serve(path, response, 'text/plain; charset=utf-8');
      return true;
    }],
  ]) {
    server.quirk = quirk;
    server.offline = false;
    await page.goto(`${base}velnorka.html`);
    await startsOffline(page, `${base}velnorka.html`, what);
  }
  await page.browserContext().close();

  // A server that takes the connection and never answers: the kept copy in time.
  page = await installed(base);
  server.quirk = () => true;
  const started = Date.now();
  await page.goto(base);
  await waitReady(page);
  const waited = Date.now() - started;
  assert.ok(waited < 10000, `a server that never answers: the kept copy within 10 s, not ${waited} ms`);
  await page.browserContext().close();

  // "Pretty addresses": the page redirected to its name without ".html".
  page = await installed(base, (path, query, response) => {
    if (path === '/velnorka.html') response.writeHead(308, { Location: `velnorka${query}` }).end();
    else if (path === '/velnorka') serve('/velnorka.html', response);
    else return false;
    return true;
  });
  for (const address of [`${base}velnorka.html`, base, `${base}velnorka`])
    await startsOffline(page, address, 'velnorka.html redirected to velnorka');
  await page.browserContext().close();
  server.quirk = null;
}
