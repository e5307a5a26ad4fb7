// SPDX-License-Identifier: GPL-3.0-or-later
// Keeps the site's files for use without a network. The list and the
// version are filled in when the site is built; a new version (another
// sw.js, found by the browser on a visit with the network on) fetches the
// new files, drops the old ones and takes over the open page.
'use strict';
const version = '@VERSION@';
const files = [@FILES@];
const cacheName = `velitar-${version}`;

self.addEventListener('install', event => {
  event.waitUntil(caches.open(cacheName)
    .then(cache => cache.addAll(files.map(file => new Request(file, {cache: 'reload'}))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', event => {
  event.waitUntil(caches.keys()
    .then(names => Promise.all(names.filter(name => name !== cacheName).map(name => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', event => {
  const url = new URL(event.request.url);
  if (event.request.method !== 'GET' || url.origin !== self.location.origin)
    return;
  // The page itself is "./" as well as "./index.html".
  const path = url.pathname.endsWith('/') ? url.pathname + 'index.html' : url.pathname;
  event.respondWith(caches.open(cacheName)
    .then(cache => cache.match(path, {ignoreSearch: true}))
    .then(cached => cached ?? fetch(event.request)));
});
