// Keeps the whole site in a cache named after its content, so the page works offline after the
// first visit and a new version (a new name) replaces the old one on the next load.
const kVersion = '@SITE_VERSION@';
const kCache = `halyx-${kVersion}`;

self.addEventListener('install', (event) => {
  event.waitUntil((async () => {
    const list = await (await fetch('files.json', { cache: 'no-store' })).json();
    const cache = await caches.open(kCache);
    await cache.addAll(list.files);
    await self.skipWaiting();
  })());
});

self.addEventListener('activate', (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) {
      if (name !== kCache) await caches.delete(name);
    }
    await self.clients.claim();
  })());
});

// Cache first: every file of a version is in the cache once it is installed.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET' || new URL(event.request.url).origin !== self.location.origin) return;
  event.respondWith((async () => {
    const cached = await caches.match(event.request, { ignoreSearch: true });
    return cached ?? fetch(event.request);
  })());
});
