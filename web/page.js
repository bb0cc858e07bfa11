// The page's events, reported to C++ (web/main.cpp) once the window has run
// its load handler; those that come earlier, from the start of the page
// (web/start.js keeps them until this script has wired the window), wait
// and reach the program in their order as soon as it has started. Appended
// to the module's script by the build.
//
// The page puts the module's script after the window's elements (the site
// links it, the single file holds it), so the program can start as soon as
// its module is ready, without waiting for the rest of the document; the
// program's start (main) waits for the elements (a run dependency of the
// module) only where the script came earlier.

// The calls for the program made before it has started, in order.
var trivyrhnikWaiting = [];
var trivyrhnikStarted = false;

// Makes a call for the user's event now, or once the program has started
// and those before it have run; none once the program could not start.
function trivyrhnikSend(call) {
  'use strict';
  if (document.documentElement.dataset.failed === 'true') return;
  if (trivyrhnikStarted && trivyrhnikWaiting.length === 0) trivyrhnikRun(call);
  else trivyrhnikWaiting.push(call);
}

// The program has started (web/library.js): the waiting calls run, once the
// start's own call has returned and before anything else can happen.
function trivyrhnikHasStarted() {
  'use strict';
  trivyrhnikStarted = true;
  Promise.resolve().then(function () {
    while (trivyrhnikWaiting.length > 0) trivyrhnikRun(trivyrhnikWaiting.shift());
  });
}

(function () {
  'use strict';
  addRunDependency('document');
  var script = document.currentScript;
  var window_ = document.getElementById('fit');
  var after = script && window_ && window_.compareDocumentPosition(script) === Node.DOCUMENT_POSITION_FOLLOWING;
  if (after || document.readyState !== 'loading') start();
  else document.addEventListener('DOMContentLoaded', start, {once: true});

  function start() {
    wire();
    removeRunDependency('document');
  }
})();

// Runs a call into the program. The program reports its own failures
// (web/library.js); one that the page raised while it showed the program's
// state crosses the module as a JavaScript exception, and the program
// reports it the same way (web_failed): the page goes on, and shows that state when the program next
// settles. Such an exception leaves the module's frames without ending them,
// so the module's own stack is set back to where the call began.
function trivyrhnikRun(call) {
  'use strict';
  var stack = stackSave();
  try {
    call();
  } catch (e) {
    stackRestore(stack);
    Module._web_failed(allocateUTF8OnStack(e && e.message ? e.message : String(e)));
    stackRestore(stack);
  }
}

function wire() {
  'use strict';
  var canvas = document.getElementById('Picture1');
  // The drawing context is made now, while the module still compiles, and
  // not on the start's first picture.
  canvas.getContext('2d');
  var ready = function () { return document.documentElement.dataset.ready === 'true'; };
  // Each handler also takes the events that web/start.js kept, with the
  // surface's box of the time for a press.
  var handlers = [];
  var listen = function (element, type, handler) {
    element.addEventListener(type, function (event) { handler(event, null); });
    handlers.push({element: element, type: type, handler: handler});
  };

  // A press maps to the logical pixel under the pointer, from the canvas's
  // box as laid out (zoomed or fitted to a phone's width) and its size in
  // points; offsetX would come rounded.
  listen(canvas, 'pointerdown', function (event, kept) {
    var box = kept || canvas.getBoundingClientRect();
    if (box.width <= 0 || box.height <= 0) return;
    var x = Math.floor((event.clientX - box.left) * Number(canvas.dataset.width) / box.width);
    var y = Math.floor((event.clientY - box.top) * Number(canvas.dataset.height) / box.height);
    // Left 1, right 2, middle 4; shift 1, control 2, alt 4.
    var button = event.button === 2 ? 2 : event.button === 1 ? 4 : 1;
    var shift = (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0) | (event.altKey ? 4 : 0);
    trivyrhnikSend(function () { Module._web_press(x, y, button, shift); });
  });
  canvas.addEventListener('contextmenu', function (event) { event.preventDefault(); });

  for (var i = 0; i < 3; i++) {
    (function (index) {
      var list = document.getElementById('List1_' + index);
      listen(list, 'click', function (event) {
        var row = event.target.closest('[role=option]');
        if (!row || row.parentNode !== list) return;
        var at = Array.prototype.indexOf.call(list.children, row);
        trivyrhnikSend(function () { Module._web_select(index, at); });
      });
      listen(list, 'keydown', function (event) {
        var count = list.children.length;
        if (count === 0) return;
        var current = -1;
        for (var r = 0; r < count; r++) {
          if (list.children[r].getAttribute('aria-selected') === 'true') current = r;
        }
        var next = -1;
        if (event.key === 'ArrowDown') next = Math.min(count - 1, current + 1);
        else if (event.key === 'ArrowUp') next = current < 0 ? 0 : Math.max(0, current - 1);
        else if (event.key === 'Home') next = 0;
        else if (event.key === 'End') next = count - 1;
        else return;
        event.preventDefault();
        // The keyboard selects only a different row, as in the desktop list.
        if (next !== current) trivyrhnikSend(function () { Module._web_select(index, next); });
      });
      listen(document.getElementById('Command1_' + index), 'click', function () {
        trivyrhnikSend(function () { Module._web_click(index); });
      });
    })(i);
  }

  // The events from before this script ran, as their handlers take them.
  // Without the start script (a broken copy in the offline cache) the
  // service worker mends its cache for the next visit.
  if (typeof trivyrhnikStart === 'undefined') {
    if (navigator.serviceWorker && navigator.serviceWorker.controller) navigator.serviceWorker.controller.postMessage('heal');
  } else {
    trivyrhnikStart.take().forEach(function (kept) {
      handlers.forEach(function (h) {
        if (h.type === kept.event.type && h.element.contains(kept.event.target)) h.handler(kept.event, kept.box);
      });
    });
  }

  // Whether a text box was scrolled away from its top (web/library.js),
  // also before this script ran.
  for (var t = 0; t < 2; t++) {
    var text = document.getElementById('Text1_' + t);
    text.trivyrhnikScrolled = text.scrollTop !== 0;
    text.addEventListener('scroll', function (event) {
      event.target.trivyrhnikScrolled = event.target.scrollTop !== 0;
    });
  }

  // The surface follows the screen's scale: zoom, another screen, the width
  // that the window is fitted to.
  var scale = function () { return (window.devicePixelRatio || 1) * (window.trivyrhnikFit || 1); };
  var rescale = function () { if (ready()) trivyrhnikRun(function () { Module._web_scale(scale()); }); };
  window.addEventListener('resize', rescale);
  var watchRatio = function () {
    var query = window.matchMedia('(resolution: ' + (window.devicePixelRatio || 1) + 'dppx)');
    var onChange = function () { query.removeEventListener('change', onChange); rescale(); watchRatio(); };
    query.addEventListener('change', onChange);
  };
  watchRatio();

  // For the page's tests and tools: the exact text of a text box.
  window.trivyrhnik = {
    text: function (index) { return UTF8ToString(Module._web_text(index)); },
  };
}
