// Keeps the page working offline once it has been opened from a web server: every file of
// the folder is kept in the browser's cache and answered from there at once, and fetched
// anew in the background, so that a new version of the folder is used from the next visit.
'use strict';

const CACHE = 'izolcalc';
// The folder's files; a file added to the folder is added here.
const FOLDER = [
  './', 'index.html', 'izolcalc.js', 'manifest.webmanifest', 'pictures/app-icon.svg',
  'src/app.js', 'src/style.css', 'src/report.js', 'src/report.css', 'src/schedule.js',
  'src/schedule.css', 'src/install.js',
  'reference/index.html', 'reference/style.css', 'reference/channel.svg', 'reference/cylinder.svg',
];

self.addEventListener('install', (event) => {
  // A file the folder does not have is left out rather than failing the whole install.
  event.waitUntil(
    caches.open(CACHE).then((cache) => Promise.all(FOLDER.map((f) => cache.add(f).catch(() => {}))))
  );
  self.skipWaiting();
});

self.addEventListener('activate', (event) => event.waitUntil(self.clients.claim()));

self.addEventListener('fetch', (event) => {
  let request = event.request;
  const url = new URL(request.url);
  if (request.method !== 'GET' || url.origin !== self.location.origin) return;
  // The browser asks for an icon of its own for a page that names none (the reference).
  if (url.pathname.endsWith('/favicon.ico')) request = new Request('pictures/app-icon.svg');
  event.respondWith(
    caches.open(CACHE).then(async (cache) => {
      const cached = await cache.match(request, { ignoreSearch: true });
      const fresh = fetch(request)
        .then((response) => {
          if (response.ok) cache.put(request, response.clone());
          return response;
        })
        .catch(() => null);
      if (cached) {
        event.waitUntil(fresh);
        return cached;
      }
      return (await fresh) || Response.error();
    })
  );
});
