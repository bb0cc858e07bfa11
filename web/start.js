// The page's first script, in its head (the site and the floor link it, the
// single file holds it). Before the window's elements are parsed it
//  - starts fetching and compiling the site's wasm, which the module's
//    script takes when it runs (web/page.js);
//  - fits the window to a narrow page as soon as its elements are there;
//  - keeps the presses, taps and clicks made before web/page.js has wired
//    the window, which page.js then gives to the program in order;
//  - tells the pupil, in the program's words, when the program cannot
//    start; on the site it first has the service worker mend its cache
//    (web/sw.js.in) and loads the page again if that mended a file.
//
// Its element's data attributes: width and height (the window in CSS
// pixels), failed (the words for a start that failed, before the reason)
// and, on the site, wasm, module (the module's script) and worker (the
// service worker, registered once the page is idle).
var trivyrhnikStart = (function () {
  'use strict';
  var options = document.currentScript ? document.currentScript.dataset : {};
  var root = document.documentElement;
  var failed = false;

  // The window's fit to a narrow page: a transform of its container, and
  // the scale for the drawing surface (trivyrhnikFit).
  var width = Number(options.width), height = Number(options.height);
  var fit = function () {
    var frame = document.getElementById('fit'), form = document.getElementById('Trivyrhnik');
    if (!frame || !form || !(width > 0)) return false;
    var k = Math.min(1, root.clientWidth / width);
    form.style.transform = k < 1 ? 'scale(' + k + ')' : '';
    frame.style.width = width * k + 'px';
    frame.style.height = height * k + 'px';
    window.trivyrhnikFit = k;
    return true;
  };
  // Fitted before the window is first shown: an observer's call comes
  // before the browser next renders.
  if (!fit()) {
    var parsed = new MutationObserver(function () {
      if (fit()) parsed.disconnect();
    });
    parsed.observe(root, {childList: true, subtree: true});
  }
  window.addEventListener('resize', fit);

  // The events on the window before its handlers exist.
  var kept = [];
  var taken = false;
  var types = ['pointerdown', 'click', 'keydown'];
  var keep = function (event) {
    var target = event.target;
    if (taken || root.dataset.ready === 'true' || !(target instanceof Element) || !target.closest('#Trivyrhnik')) return;
    // A press maps to the surface as it was laid out then.
    kept.push({event: event, box: target.id === 'Picture1' ? target.getBoundingClientRect() : null});
  };
  types.forEach(function (type) { document.addEventListener(type, keep, true); });

  // Has the active service worker check every file it keeps against the
  // build's and fetch again those that differ; resolves to how many it
  // mended (0 without a worker, or when it does not answer).
  var heal = function () {
    var worker = navigator.serviceWorker && navigator.serviceWorker.controller;
    if (!worker || typeof MessageChannel === 'undefined') return Promise.resolve(0);
    return new Promise(function (resolve) {
      var channel = new MessageChannel();
      var timer = setTimeout(function () { resolve(0); }, 20000);
      channel.port1.onmessage = function (event) {
        clearTimeout(timer);
        resolve(Number(event.data) || 0);
      };
      worker.postMessage('heal', [channel.port2]);
    });
  };

  // The program could not start: with its cache mended, the page loads
  // again (once more only if the reload mends something again); otherwise
  // the pupil is told, in a message box as the program's failures are and
  // in the report box, and the busy cursor goes.
  var show = function (text) {
    var box = document.getElementById('Text1_0');
    if (box) box.value = text;
    root.dataset.failed = 'true';
    setTimeout(function () {
      try {
        window.alert(text);
      } catch (e) {
        // A page that may not show boxes (a sandboxed frame) has the report box.
      }
    }, 0);
  };
  var fail = function (reason) {
    if (failed || root.dataset.ready === 'true') return;
    failed = true;
    var text = (options.failed || '') + reason;
    console.error('trivyrhnik: ' + text);
    heal().then(function (mended) {
      if (mended > 0) {
        location.reload();
      } else if (document.readyState === 'loading') {
        document.addEventListener('DOMContentLoaded', function () { show(text); }, {once: true});
      } else {
        show(text);
      }
    });
  };
  var reasonOf = function (e) {
    return e instanceof Error && e.name === 'Error' ? e.message : String(e);
  };

  // The site's wasm. A 404 or a page in its place says so; a host that does
  // not send application/wasm gets the slower compile from the bytes.
  var wasm = options.wasm;
  if (wasm) {
    var fetched = function () {
      return fetch(wasm).then(function (response) {
        if (!response.ok) throw new Error(wasm + ': ' + response.status);
        return response;
      });
    };
    var fromBytes = function () {
      return fetched().then(function (r) { return r.arrayBuffer(); }).then(function (b) { return WebAssembly.compile(b); });
    };
    var compiled = fetched().then(function (response) {
      return WebAssembly.compileStreaming ? WebAssembly.compileStreaming(response).catch(fromBytes)
                                          : response.arrayBuffer().then(function (b) { return WebAssembly.compile(b); });
    });
    compiled.catch(function (e) { fail(reasonOf(e)); });
    window.Module = {
      instantiateWasm: function (imports, done) {
        compiled.then(function (module) { return WebAssembly.instantiate(module, imports); })
          .then(function (instance) { done(instance); })
          .catch(function (e) { fail(reasonOf(e)); });
        return {};
      },
    };
  }

  // The module's script that does not come or does not run whole (its end,
  // web/page.js, defines trivyrhnikRun), and any failure of the page's own
  // scripts before the program has started.
  var module = options.module;
  var isModule = function (target) {
    return module && target instanceof HTMLScriptElement && target.getAttribute('src') === module;
  };
  document.addEventListener('error', function (event) { if (isModule(event.target)) fail(module); }, true);
  document.addEventListener('load', function (event) {
    if (isModule(event.target) && typeof trivyrhnikRun !== 'function') fail(module);
  }, true);
  var here = location.href.replace(/[#?].*$/, '').replace(/[^/]*$/, '');
  window.addEventListener('error', function (event) {
    if (event.filename && event.filename.indexOf(here) === 0) fail(event.message || String(event.error));
  });
  window.addEventListener('unhandledrejection', function (event) { fail(reasonOf(event.reason)); });

  // Once the page is idle after its start: the service worker, which
  // fetches every file again to keep it, and a look at what it keeps.
  if (options.worker && 'serviceWorker' in navigator && location.protocol !== 'file:') {
    document.addEventListener('trivyrhnik-idle', function () {
      heal();
      navigator.serviceWorker.register(options.worker).catch(function () {});
    }, {once: true});
  }

  return {
    // The events kept so far, each with the surface's box for a press;
    // from now on web/page.js takes them itself.
    take: function () {
      taken = true;
      types.forEach(function (type) { document.removeEventListener(type, keep, true); });
      return kept;
    },
    heal: heal,
  };
})();
