#pragma once
// The page's side of the web edition: the functions the controls call to show
// their state in the document (web/library.js implements them in JavaScript).
// C++ keeps every control's state; the document only shows it.

#include <cstdint>

extern "C" {

// The decimal separator of the browser's first language, as UTF-8 into buf
// (NUL-terminated); returns its length in bytes.
int trivyrhnik_dom_decimal_separator(char* buf, int size);
// Device pixels per logical pixel of the drawing surface as the screen shows
// it now: the device pixel ratio times the scale that fits the window to the
// page's width.
double trivyrhnik_dom_surface_scale();

// Text1(index) shows the UTF-8 text (lines separated by CR LF).
void trivyrhnik_dom_set_text(int index, const char* text);
// List1(index) shows `count` rows, the UTF-8 texts separated by line feeds,
// with row `selected` selected (-1: none).
void trivyrhnik_dom_set_list(int index, const char* rows, int count, int selected);
// Command1(index) is enabled or disabled.
void trivyrhnik_dom_set_enabled(int index, int on);
// The drawing surface shows width x height device pixels, 4 bytes each in the
// order red, green, blue, alpha, at `scale` device pixels to a logical one.
void trivyrhnik_dom_paint(const std::uint8_t* rgba, int width, int height, double scale);
// The id of the element that has the keyboard focus (document.activeElement)
// as UTF-8 into buf (NUL-terminated); returns its length in bytes, 0 for none.
int trivyrhnik_dom_focused(char* buf, int size);
// The element of that id takes the keyboard focus.
void trivyrhnik_dom_focus(const char* id);
// The element of that id is hidden or shown.
void trivyrhnik_dom_set_hidden(const char* id, int hidden);
// The window has run its load handler: the page takes user events from now on.
void trivyrhnik_dom_ready();
// A handler ended with an exception that nothing caught.
void trivyrhnik_dom_report_error(const char* what);
}
