#pragma once
// The web edition's controls: ui::Form on the elements of the page.
//
// Each control keeps its own state (texts, rows, selection, enabled state and
// the drawing surface's pixels) and shows it through the page's functions
// (dom.h). Each user event runs its handler as an event of the form
// (ui::FormCore), and the page is brought up to date once, after the
// outermost handler has ended: a report built by many appends costs one
// update of the text box, and a run that draws many shapes one copy of the
// surface. The keyboard focus is the document's active element; the form
// moves it by its rule.

#include "ui/controls.h"
#include "ui/form_core.h"
#include "ui/form_layout.h"
#include "ui/kept_text.h"
#include "ui/raster/raster_picture.h"
#include "ui/row_list.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace web {

// The core's form, controls, design and drawing surface, which this edition
// maps onto its toolkit.
using namespace ui;

class WebForm;

// The drawing surface: the shared pixel buffer at the screen's own scale,
// shown one device pixel for one canvas pixel.
class WebPicture final : public raster::RasterPicture {
public:
    WebPicture(WebForm& form, int width, int height, double scale);

    // Copies the buffer to the page if it changed since the last time.
    void sync();

protected:
    void changed() override;

private:
    WebForm& form_;
    std::vector<std::uint8_t> rgba_;
    bool dirty_ = true;
};

// A list box on the page: the rows and the click rules of ui::RowList,
// shown once the outermost event has ended.
class WebList final : public RowList {
public:
    WebList(WebForm& form, int index);

    void sync();

private:
    void changed() override;

    WebForm& form_;
    int index_;
    bool dirty_ = true;
};

// A multi-line text box. It keeps the exact text it was given (CR LF lines).
class WebText final : public KeptText {
public:
    // The page shows `text` already when `shown` (the page is written from
    // the same design); otherwise the first update brings it.
    WebText(WebForm& form, int index, std::string text, bool shown)
        : KeptText(std::move(text), shown)
        , form_(form)
        , index_(index)
    {
    }

private:
    void textKept() override;
    void display(const std::string& text) override;

    WebForm& form_;
    int index_;
};

class WebButton final : public FormButton {
public:
    WebButton(WebForm& form, int index);

    void sync();

private:
    void showEnabled(bool on) override;

    WebForm& form_;
    int index_;
    bool dirty_ = true;
};

class WebLabel final : public Label {
public:
    explicit WebLabel(std::string caption) : caption_(std::move(caption)) {}
    std::string caption() const override { return caption_; }

private:
    std::string caption_;
};

class WebForm final : public FormOf<WebPicture, WebList, WebText, WebButton, WebLabel> {
public:
    // The controls of the design, the drawing surface at the given scale.
    WebForm(const FormDesign& design, double scale);

    // The user presses over the drawing surface at a logical pixel; a press
    // outside it (a rounding at its very edge) lands on the nearest pixel.
    void pressSurface(int x, int y, int button, int shift);
    // The screen's scale changed (zoom, another screen, the fitted width).
    void setSurfaceScale(double scale);
    // Whether one of the form's controls has the keyboard focus.
    bool hasFocus() { return focusedControl().has_value(); }

private:
    std::optional<ControlRef> focusedControl() override;
    void focusControl(ControlRef c) override;
    void showControl(ControlRef c, bool on) override;
    void reportFailure(const std::string& what) override;
};

// The id of a control's element on the page, which takes its focus; the
// drawing surface's element stands in a frame of its own (frameId).
std::string elementId(ControlRef c);
std::string frameId(ControlRef c);

} // namespace web
