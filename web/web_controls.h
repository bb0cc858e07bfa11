#pragma once
// The web edition's controls: ui::Form on the elements of the page.
//
// Each control keeps its own state (texts, rows, selection, enabled state and
// the drawing surface's pixels) and shows it through the page's functions
// (dom.h). Each user event runs its handler through WebForm::dispatch, and the
// page is brought up to date once, after the outermost handler has ended: a
// report built by many appends costs one update of the text box, and a run
// that draws many shapes one copy of the surface.

#include "ui/controls.h"
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

namespace ui::web {

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
    WebList(WebForm& form, int index) : form_(form), index_(index) {}

    void sync();

private:
    void changed() override;
    void raiseClick() override;

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

class WebButton final : public CommandButton {
public:
    WebButton(WebForm& form, int index) : form_(form), index_(index) {}

    void setEnabled(bool on) override;
    bool isEnabled() const override { return enabled_; }
    void onClick(ClickHandler handler) override { click_ = std::move(handler); }

    // The user clicks the button; a disabled button does nothing.
    void userClick();
    void sync();

private:
    WebForm& form_;
    int index_;
    bool enabled_ = true;
    ClickHandler click_;
    bool dirty_ = true;
};

class WebLabel final : public Label {
public:
    explicit WebLabel(std::string caption) : caption_(std::move(caption)) {}
    std::string caption() const override { return caption_; }

private:
    std::string caption_;
};

class WebForm final : public Form {
public:
    // The controls of the design, the drawing surface at the given scale.
    WebForm(const FormDesign& design, double scale);

    WebPicture& Picture1() override { return *picture_; }
    WebList& List1(int index) override { return *lists_.at(static_cast<size_t>(index)); }
    WebText& Text1(int index) override { return *texts_.at(static_cast<size_t>(index)); }
    WebButton& Command1(int index) override { return *buttons_.at(static_cast<size_t>(index)); }
    WebLabel& Label1(int index) override { return *labels_.at(static_cast<size_t>(index)); }

    // Runs one event's handler; the page shows the new state once the
    // outermost handler has ended, also when it ended with an exception.
    void dispatch(const std::function<void()>& handler);
    // Shows every pending change on the page, unless a handler is running.
    void sync();

    // The user presses over the drawing surface at a logical pixel; a press
    // outside it (a rounding at its very edge) lands on the nearest pixel.
    void pressSurface(int x, int y, int button, int shift);
    // The screen's scale changed (zoom, another screen, the fitted width).
    void setSurfaceScale(double scale);

private:
    std::unique_ptr<WebPicture> picture_;
    std::array<std::unique_ptr<WebList>, 3> lists_;
    std::array<std::unique_ptr<WebText>, 2> texts_;
    std::array<std::unique_ptr<WebButton>, 3> buttons_;
    std::array<std::unique_ptr<WebLabel>, 4> labels_;
    EventDepth depth_;
};

// The logical size of a drawing surface's drawing area: the design's size
// less its frame.
int surfaceWidth(const FormDesign& design);
int surfaceHeight(const FormDesign& design);

} // namespace ui::web
