// The page's events, reported to C++ (web/main.cpp) once the window has run
// its load handler. Appended to the module's script by the build.
//
// The page puts the module's script after the window's elements (the site
// links it, the single file holds it), so the program can start as soon as
// its module is ready, without waiting for the rest of the document; the
// program's start (main) waits for the elements (a run dependency of the
// module) only where the script came earlier.
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

  // A press maps to the logical pixel under the pointer, from the canvas's
  // box as laid out (zoomed or fitted to a phone's width) and its size in
  // points; offsetX would come rounded.
  canvas.addEventListener('pointerdown', function (event) {
    if (!ready()) return;
    var box = canvas.getBoundingClientRect();
    if (box.width <= 0 || box.height <= 0) return;
    var x = Math.floor((event.clientX - box.left) * Number(canvas.dataset.width) / box.width);
    var y = Math.floor((event.clientY - box.top) * Number(canvas.dataset.height) / box.height);
    // Left 1, right 2, middle 4; shift 1, control 2, alt 4.
    var button = event.button === 2 ? 2 : event.button === 1 ? 4 : 1;
    var shift = (event.shiftKey ? 1 : 0) | (event.ctrlKey ? 2 : 0) | (event.altKey ? 4 : 0);
    trivyrhnikRun(function () { Module._web_press(x, y, button, shift); });
  });
  canvas.addEventListener('contextmenu', function (event) { event.preventDefault(); });

  for (var i = 0; i < 3; i++) {
    (function (index) {
      var list = document.getElementById('List1_' + index);
      list.addEventListener('click', function (event) {
        if (!ready()) return;
        var row = event.target.closest('[role=option]');
        if (!row || row.parentNode !== list) return;
        var at = Array.prototype.indexOf.call(list.children, row);
        trivyrhnikRun(function () { Module._web_select(index, at); });
      });
      list.addEventListener('keydown', function (event) {
        if (!ready()) return;
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
        if (next !== current) trivyrhnikRun(function () { Module._web_select(index, next); });
      });
      document.getElementById('Command1_' + index).addEventListener('click', function () {
        if (ready()) trivyrhnikRun(function () { Module._web_click(index); });
      });
    })(i);
  }

  // Whether a text box was scrolled away from its top (web/library.js).
  for (var t = 0; t < 2; t++) {
    document.getElementById('Text1_' + t).addEventListener('scroll', function (event) {
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
