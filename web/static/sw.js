// Keeps the whole site in a cache named after its content, so the page works offline after the
// first visit; a new version (a new name) replaces the old cache once it is installed.
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

// Network first, the cache when the network fails: online, every load gets the site as it is
// now (a new version at once, never a mix of old and new files); offline, the cached version.
self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET' || new URL(event.request.url).origin !== self.location.origin) return;
  event.respondWith((async () => {
    try {
      return await fetch(event.request);
    } catch (error) {
      const cached = await caches.match(event.request, { ignoreSearch: true });
      if (cached) return cached;
      throw error;
    }
  })());
});
