// The page's service worker: keeps the page, its manifest and icons, so that
// once opened the page starts without a network. Whenever the server answers
// with the file itself, that answer is used and kept, so a new version
// replaces the kept one at the next start. The kept copy serves while the
// server cannot be reached, stays silent, breaks off, or answers with
// anything but the file (an error, a maintenance or login page, the page as
// plain text).

// The release and a hash of the folder's files: every new build installs a
// new worker with a new cache, and its activation deletes the old caches.
const version = '@VELNORKA_SITE_VERSION@';
const page = 'velnorka.html';
const files = [page, 'index.html', 'velnorka.webmanifest',
  'velnorka-192.png', 'velnorka-512.png', 'velnorka-maskable.png'];
// How long a server may stay silent, before its answer or within it, while a
// kept copy waits: long enough for a slow server, short for a hung one.
const patience = 3000;

const scope = self.registration.scope;
const prefix = `velnorka ${scope} `;  // only this folder's caches: others may share the server
const cacheName = prefix + version;
// What a request is kept as: its file, whatever the query (?seed=...). The
// pages also under their names without ".html", where a server's "pretty
// addresses" redirect them.
const keys = new Map([[scope, 'index.html']]);
for (const file of files) {
  keys.set(new URL(file, scope).href, file);
  if (file.endsWith('.html')) keys.set(new URL(file.slice(0, -'.html'.length), scope).href, file);
}

function keyOf(request) {
  const url = new URL(request.url);
  url.search = '';
  url.hash = '';
  return keys.get(url.href);
}

self.addEventListener('install', (event) => {
  // Each file on its own: one that the server refuses (a manifest type it
  // does not serve, an icon that fails) leaves the others kept. Without the
  // page nothing could start offline, and the worker does not install.
  event.waitUntil(caches.open(cacheName)
    .then((cache) => Promise.all(files.map((file) => {
      const kept = keep(cache, file);
      return file === page ? kept : kept.catch(() => {});
    })))
    .then(() => self.skipWaiting(), (failed) => caches.delete(cacheName).then(() => { throw failed; })));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names
      .filter((name) => name.startsWith(prefix) && name !== cacheName)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const key = keyOf(event.request);
  if (event.request.method !== 'GET' || !key) return;
  event.respondWith(fromServerOrKept(event, key));
});

// A file fetched past the server's and the browser's caches, and kept if it
// is the file.
async function keep(cache, file) {
  const { response, body } = await download(new Request(file, { cache: 'reload' }), {}, true);
  if (!body || !isTheFile(file, response, body)) throw new Error(`${file}: the server's answer is not the file`);
  await cache.put(file, rebuilt(response, body));
}

async function fromServerOrKept(event, key) {
  const cache = await caches.open(cacheName);
  const kept = await cache.match(key);
  let answer = null;
  try {
    // Revalidated with the server, never a browser cache's older copy.
    answer = await download(event.request, { cache: 'no-cache' }, Boolean(kept));
  } catch (lost) {
    // No answer in time, or one that broke off: the kept copy below.
  }
  if (answer && answer.body && isTheFile(key, answer.response, answer.body)) {
    const file = rebuilt(answer.response, answer.body);
    event.waitUntil(cache.put(key, file.clone()));
    return file;
  }
  // A redirect of the page's address is the browser's to follow: it leads to
  // an address that is kept as the same file.
  if (answer && answer.response.type === 'opaqueredirect') return answer.response;
  if (kept) return kept;
  if (answer) return answer.body ? rebuilt(answer.response, answer.body) : answer.response;
  return event.request.mode === 'navigate' ? connectionFailed() : Response.error();
}

// The server's answer with its whole body, read as it arrives. Patient: with
// a kept copy to fall back on, a server silent for `patience` is given up.
// A body that breaks off rejects, as a lost connection does. Bodies that
// cannot be read (a redirect not followed, another origin's answer) are null.
async function download(request, init, patient) {
  const giveUp = new AbortController();
  let silence;
  const heard = () => {
    clearTimeout(silence);
    if (patient) silence = setTimeout(() => giveUp.abort(), patience);
  };
  heard();
  try {
    const response = await fetch(request, { ...init, signal: giveUp.signal });
    if (!response.body || !['basic', 'cors', 'default'].includes(response.type)) return { response, body: null };
    const reader = response.body.getReader();
    const parts = [];
    for (;;) {
      heard();
      const { done, value } = await reader.read();
      if (done) break;
      parts.push(value);
    }
    const body = new Uint8Array(parts.reduce((length, part) => length + part.length, 0));
    parts.reduce((offset, part) => (body.set(part, offset), offset + part.length), 0);
    return { response, body };
  } finally {
    clearTimeout(silence);
  }
}

// Whether the server's answer is the file asked for: the page as a page and
// with its mark (not a maintenance page answered 200, not the page as text
// or as a download), an icon as a PNG, the manifest as JSON.
const pageMark = /<meta\b[^>]*\bapplication-name\b[^>]*\bVelnorka\b/i;
const pngSignature = [0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a];

function isTheFile(file, response, body) {
  if (response.status !== 200) return false;
  const text = () => new TextDecoder().decode(body);
  if (file.endsWith('.html'))
    return /^text\/html\b/i.test(response.headers.get('Content-Type') || '') && pageMark.test(text());
  if (file.endsWith('.png')) return pngSignature.every((byte, i) => body[i] === byte);
  try {
    return JSON.parse(text()).start_url !== undefined;
  } catch (notJson) {
    return false;
  }
}

// The answer as the browser gets it and as it is kept: its status, type and
// body, and none of the headers about its transfer or a redirect, which the
// body already read and the stored copy do not have.
function rebuilt(response, body) {
  const type = response.headers.get('Content-Type');
  return new Response(body, {
    status: response.status,
    statusText: response.statusText,
    headers: type ? { 'Content-Type': type } : {},
  });
}

// Where nothing is kept yet and the server cannot be reached, the page says
// so in Czech instead of the browser's own error.
function connectionFailed() {
  return new Response('<!doctype html><html lang="cs"><meta charset="utf-8">' +
    '<meta name="viewport" content="width=device-width, initial-scale=1"><title>Velnorka</title>' +
    '<p>Velnorku se nepodařilo načíst: spojení se serverem selhalo. Zkuste to znovu, až bude síť fungovat.</p>',
  { status: 503, headers: { 'Content-Type': 'text/html; charset=utf-8' } });
}
