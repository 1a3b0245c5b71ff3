// Threads in a page need cross-origin isolation, which the server gives with
// two headers. Where a host cannot send them, this file, registered as the
// page's service worker, adds them to every response of the page's folder.
// In the page it sets window.vindleIsolation, a promise of whether the page
// is isolated (reloading it once, when the worker first takes over).
if (typeof window === 'undefined') {
  self.addEventListener('install', function () { self.skipWaiting(); });
  self.addEventListener('activate', function (event) { event.waitUntil(self.clients.claim()); });
  self.addEventListener('fetch', function (event) {
    var request = event.request;
    if (request.cache === 'only-if-cached' && request.mode !== 'same-origin') return;
    event.respondWith(fetch(request).then(function (response) {
      if (response.status === 0) return response;
      var headers = new Headers(response.headers);
      headers.set('Cross-Origin-Opener-Policy', 'same-origin');
      headers.set('Cross-Origin-Embedder-Policy', 'require-corp');
      headers.set('Cross-Origin-Resource-Policy', 'same-origin');
      return new Response(response.body, {status: response.status, statusText: response.statusText, headers: headers});
    }));
  });
} else {
  window.vindleIsolation = new Promise(function (resolve) {
    var tried = 'vindle-isolation-reload';
    if (window.crossOriginIsolated) {
      sessionStorage.removeItem(tried);
      return resolve(true);
    }
    if (!window.isSecureContext || !navigator.serviceWorker || sessionStorage.getItem(tried)) {
      sessionStorage.removeItem(tried);
      return resolve(false);
    }
    navigator.serviceWorker.register(document.currentScript.src).then(function (registration) {
      var reload = function () { sessionStorage.setItem(tried, '1'); location.reload(); };
      if (navigator.serviceWorker.controller) return reload();
      navigator.serviceWorker.addEventListener('controllerchange', reload);
    }, function () { resolve(false); });
  });
}
