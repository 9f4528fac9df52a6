// Keeps Cubewright's site for use without the network: registers the site's service worker
// (service-worker.js, written by the build with the list of the site's files and a version
// taken from their contents). Both pages load it. The browser looks for a newer worker as
// the site is visited, past its HTTP cache; when a new build's worker takes over a page
// that an older one served, the page loads again, so that it never runs a mix of old and
// new files.
'use strict';

(() => {
  if (!('serviceWorker' in navigator)) {
    return;
  }
  const servedBefore = navigator.serviceWorker.controller !== null;
  let reloading = false;
  navigator.serviceWorker.addEventListener('controllerchange', () => {
    if (servedBefore && !reloading) {
      reloading = true;
      location.reload();
    }
  });
  window.addEventListener('load', () => {
    navigator.serviceWorker.register('service-worker.js', {updateViaCache: 'none'}).catch((error) => {
      console.warn(`Cubewright will not work offline: ${error.message}`);
    });
  });
})();
