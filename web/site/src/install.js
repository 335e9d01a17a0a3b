// Served over http(s), the page can be installed as an app (the browser offers
// «Установить») and works offline; opened from disk it is a page as it is, since browsers
// give neither to files.
'use strict';

(() => {
  if (!/^https?:$/.test(location.protocol) || !('serviceWorker' in navigator)) return;
  const manifest = document.createElement('link');
  manifest.rel = 'manifest';
  manifest.href = 'manifest.webmanifest';
  document.head.append(manifest);
  window.addEventListener('load', () => {
    navigator.serviceWorker.register('sw.js').catch(() => {
      // Without it the page works as before, only not offline.
    });
  });
})();
