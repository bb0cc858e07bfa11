// The web edition's start-up: the window built from its design on the page's
// elements, the window's logic wired to it, then Form_Load before the page
// takes any user event. The page reports its events through the web_*
// functions below; C++ keeps the whole state.
//
// The decimal separator comes from the browser's number formatting, whose
// first use in a page costs tens of milliseconds (the browser loads its
// locale data). The window shows no number before its first event, so the
// start does without it: the window gets the page's separator when the page
// is next idle (web_idle) or before its first event, whichever comes first.

#include "app/layout.h"
#include "app/trivyrhnik.h"
#include "geometry/number_text.h"
#include "ui/kept_text.h"
#include "web/dom.h"
#include "web/web_controls.h"

#include <emscripten/emscripten.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

namespace {

std::unique_ptr<web::WebForm> form;
std::unique_ptr<app::Trivyrhnik> window;
bool separatorKnown = false;

// Gives the window the page's decimal separator, once. It runs before any
// event has reached the window, which is then exactly as its load handler
// left it; a window made with the page's separator and loaded again takes
// its place.
void learnSeparator()
{
    if (separatorKnown || !form)
        return;
    separatorKnown = true;
    std::array<char, 16> separator{};
    geometry::NumberFormat format;
    if (trivyrhnik_dom_decimal_separator(separator.data(), static_cast<int>(separator.size())) <= 0)
        return;
    const std::string usable = geometry::usableDecimalSeparator(separator.data());
    if (usable == format.decimalSeparator)
        return;
    format.decimalSeparator = usable;
    // The new window wires the handlers to itself before the old one goes,
    // so no handler is ever left pointing at a window that is gone.
    window = std::make_unique<app::Trivyrhnik>(*form, format);
    form->dispatch([] { window->Form_Load(); });
}

// Runs a call from the page as one event of the form: the form settles once
// after it, and a failure is reported as a handler's is, leaving the page
// working with the state as it is.
void guarded(const std::function<void()>& event)
{
    if (!form)
        return;
    form->dispatch([&] {
        learnSeparator();
        event();
    });
}

bool validIndex(int index, int count) { return index >= 0 && index < count; }

} // namespace

extern "C" {

// A press over the drawing surface at the logical pixel (x, y).
EMSCRIPTEN_KEEPALIVE void web_press(int x, int y, int button, int shift)
{
    guarded([&] { form->pressSurface(x, y, button, shift); });
}

// The user selects a row of a list.
EMSCRIPTEN_KEEPALIVE void web_select(int list, int row)
{
    if (validIndex(list, 3))
        guarded([&] { form->List1(list).userSelect(row); });
}

// The user clicks a button.
EMSCRIPTEN_KEEPALIVE void web_click(int button)
{
    if (validIndex(button, 3))
        guarded([&] { form->Command1(button).userPress(); });
}

// The screen's scale of the drawing surface changed.
EMSCRIPTEN_KEEPALIVE void web_scale(double scale)
{
    guarded([&] { form->setSurfaceScale(scale); });
}

// The page is idle after its start.
EMSCRIPTEN_KEEPALIVE void web_idle()
{
    guarded([] {});
}

// A failure that the page raised while it showed the program's state
// (web/page.js), told to the user as the program's own are.
EMSCRIPTEN_KEEPALIVE void web_failed(const char* what)
{
    trivyrhnik_dom_report_error(ui::failureMessage(what ? what : "").c_str());
}

// The exact text of a text box (CR LF lines), which the page's text area
// shows with its own line breaks.
EMSCRIPTEN_KEEPALIVE const char* web_text(int index)
{
    static std::string copy;
    copy = form && validIndex(index, 2) ? form->Text1(index).text() : std::string();
    return copy.c_str();
}

} // extern "C"

int main()
{
    form = std::make_unique<web::WebForm>(app::trivyrhnikDesign(), trivyrhnik_dom_surface_scale());
    window = std::make_unique<app::Trivyrhnik>(*form, geometry::NumberFormat{});
    form->dispatch([] { window->Form_Load(); });
    // The page's own autofocus puts the focus where the window starts it;
    // this only where the browser did not.
    if (!form->hasFocus())
        form->giveFocus();
    trivyrhnik_dom_ready();
    return 0;
}
