// The page's side of the controls (web/dom.h): shows the state that C++
// keeps in the elements whose ids are the controls' names.
mergeInto(LibraryManager.library, {
  trivyrhnik_dom_decimal_separator: function (buf, size) {
    // The separator of the browser's first language; "." if it names none.
    var separator = '.';
    try {
      var langs = navigator.languages && navigator.languages.length ? navigator.languages : [navigator.language];
      var parts = new Intl.NumberFormat(langs[0]).formatToParts(1.5);
      for (var i = 0; i < parts.length; i++) {
        if (parts[i].type === 'decimal') separator = parts[i].value;
      }
    } catch (e) {
      separator = '.';
    }
    return stringToUTF8(separator, buf, size);
  },

  trivyrhnik_dom_surface_scale: function () {
    return (window.devicePixelRatio || 1) * (window.trivyrhnikFit || 1);
  },

  trivyrhnik_dom_set_text: function (index, text) {
    var box = document.getElementById('Text1_' + index);
    // A text area keeps line feeds; the exact CR LF text stays in C++.
    box.value = UTF8ToString(text);
    // A new value keeps the box's scroll position, and scrolling lays the
    // document out at once: only a box that was scrolled (web/page.js) goes
    // back to the top.
    if (box.trivyrhnikScrolled) {
      box.trivyrhnikScrolled = false;
      box.scrollTop = 0;
    }
  },

  trivyrhnik_dom_set_list: function (index, rows, count, selected) {
    var list = document.getElementById('List1_' + index);
    var texts = count > 0 ? UTF8ToString(rows).split('\n') : [];
    while (list.children.length > texts.length) list.removeChild(list.lastChild);
    for (var r = 0; r < texts.length; r++) {
      var row = list.children[r];
      if (!row) {
        row = document.createElement('div');
        row.setAttribute('role', 'option');
        row.id = list.id + '_' + r;
        list.appendChild(row);
      }
      if (row.textContent !== texts[r]) row.textContent = texts[r];
      row.setAttribute('aria-selected', r === selected ? 'true' : 'false');
    }
    if (selected >= 0) {
      list.setAttribute('aria-activedescendant', list.id + '_' + selected);
      list.children[selected].scrollIntoView({block: 'nearest'});
    } else {
      list.removeAttribute('aria-activedescendant');
    }
  },

  trivyrhnik_dom_set_enabled: function (index, on) {
    document.getElementById('Command1_' + index).disabled = !on;
  },

  trivyrhnik_dom_focused: function (buf, size) {
    var active = document.activeElement;
    return active && active !== document.body && active.id ? stringToUTF8(active.id, buf, size) : 0;
  },

  // The focus moves as the program's rule says, before the control that had
  // it is disabled or hidden; the browser would leave it on the body.
  trivyrhnik_dom_focus: function (id) {
    var element = document.getElementById(UTF8ToString(id));
    if (element) element.focus({preventScroll: true});
  },

  trivyrhnik_dom_set_hidden: function (id, hidden) {
    var element = document.getElementById(UTF8ToString(id));
    if (element) element.hidden = !!hidden;
  },

  trivyrhnik_dom_paint: function (rgba, width, height, scale) {
    var canvas = document.getElementById('Picture1');
    if (canvas.width !== width) canvas.width = width;
    if (canvas.height !== height) canvas.height = height;
    if (width === 0 || height === 0) return;
    var pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    canvas.getContext('2d').putImageData(new ImageData(pixels, width, height), 0, 0);
    canvas.dataset.scale = String(scale);
  },

  trivyrhnik_dom_ready: function () {
    // The events that came while the program started reach it first.
    trivyrhnikHasStarted();
    document.documentElement.dataset.ready = 'true';
    if (typeof performance !== 'undefined' && performance.mark) performance.mark('trivyrhnik-interactive');
    // The work that can wait for the first quiet moment (web/main.cpp), and
    // the page's own (the service worker's registration).
    // At the latest after a second: a page kept busy has no idle time.
    var idle = window.requestIdleCallback || function (f) { return setTimeout(f, 1); };
    idle(function () {
      trivyrhnikRun(function () { Module._web_idle(); });
      document.dispatchEvent(new Event('trivyrhnik-idle'));
    }, {timeout: 1000});
  },

  // A failure of the program itself, or of the page while it showed the
  // program's state: the pupil sees the message in a message box, as in the
  // desktop edition, and the window goes on with its state as it is.
  trivyrhnik_dom_report_error: function (message) {
    var text = UTF8ToString(message);
    console.error('trivyrhnik: ' + text);
    try {
      window.alert(text);
    } catch (e) {
      // A page that may not show boxes (a sandboxed frame) still has the console.
    }
  },
});
