// The page's service worker: keeps the page, its manifest and icons, so that
// once opened the page starts without a network. Whenever the server answers,
// its files are used and kept, so a new version replaces the kept one at the
// next start; the kept ones serve only while the server cannot be reached or
// fails.

// The release and a hash of the folder's files: every new build installs a
// new worker with a new cache, and its activation deletes the old caches.
const version = '@VELNORKA_SITE_VERSION@';
const files = ['velnorka.html', 'index.html', 'velnorka.webmanifest',
  'velnorka-192.png', 'velnorka-512.png', 'velnorka-maskable.png'];

const scope = self.registration.scope;
const prefix = `velnorka ${scope} `;  // only this folder's caches: others may share the server
const cacheName = prefix + version;
// What a request is kept as: its file, whatever the query (?seed=...).
const keys = new Map(files.map((file) => [new URL(file, scope).href, file]));
keys.set(scope, 'index.html');

function keyOf(request) {
  const url = new URL(request.url);
  url.search = '';
  url.hash = '';
  return keys.get(url.href);
}

self.addEventListener('install', (event) => {
  // Past the server's and the browser's caches, straight from the server.
  event.waitUntil(caches.open(cacheName)
    .then((cache) => cache.addAll(files.map((file) => new Request(file, { cache: 'reload' }))))
    .then(() => self.skipWaiting()));
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

async function fromServerOrKept(event, key) {
  const cache = await caches.open(cacheName);
  let response = null;
  try {
    // Revalidated with the server, never a browser cache's older copy.
    response = await fetch(event.request, { cache: 'no-cache' });
  } catch (offline) {
    // The kept copy below.
  }
  if (response && response.status < 500) {
    if (response.ok && response.type === 'basic') event.waitUntil(cache.put(key, response.clone()));
    return response;
  }
  return (await cache.match(key)) || response || Response.error();
}
