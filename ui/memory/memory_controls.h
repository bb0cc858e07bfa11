#pragma once
// In-memory controls: keep texts, rows, selections, enabled states and the
// keyboard focus, draw on the shared pixel buffer and record every drawing
// call with the pen in effect, and raise the user's events on request. The
// logic's tests run the whole window on them.

#include "ui/controls.h"
#include "ui/form_core.h"
#include "ui/form_layout.h"
#include "ui/raster/raster_picture.h"
#include "ui/row_list.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace ui::memory {

struct DrawCall {
    enum class Op { Cls, PSet, Line, Circle };
    Op op = Op::PSet;
    float x1 = 0, y1 = 0, x2 = 0, y2 = 0, radius = 0;
    std::optional<Rgb> colour;
    int width = 1;
    int style = 0;

    friend bool operator==(const DrawCall&, const DrawCall&) = default;
};

std::string describe(const DrawCall& call);

// The drawing surface of the tests: it draws into the shared pixel buffer as
// every edition does, and records each call with the pen in effect.
class MemoryPicture final : public raster::RasterPicture {
public:
    // The design's drawing area: 335 x 229 pixels.
    explicit MemoryPicture(int width = 335, int height = 229, double scale = 1.0) : RasterPicture(width, height, scale)
    {
    }

    void cls() override;
    void pset(float x, float y, std::optional<Rgb> colour) override;
    void line(float x1, float y1, float x2, float y2, std::optional<Rgb> colour) override;
    void circle(float x, float y, float radius, std::optional<Rgb> colour) override;

    const std::vector<DrawCall>& calls() const { return calls_; }
    void forgetCalls() { calls_.clear(); }

private:
    // Keeps the call with the pen in effect.
    void record(DrawCall call);

    std::vector<DrawCall> calls_;
};

class MemoryList final : public RowList {
public:
    explicit MemoryList(FormCore& form) : RowList(&form) {}
    // Whether selecting a different row from code raises the click (toolkits
    // differ; the logic must end in the same state either way).
    void setRaisesOnCodeChange(bool on) { raisesOnCodeChange_ = on; }
};

class MemoryText final : public TextBox {
public:
    std::string text() const override { return text_; }
    void setText(std::string text) override
    {
        text_ = std::move(text);
        ++writes_;
    }
    long writes() const { return writes_; }

private:
    std::string text_;
    long writes_ = 0;
};

class MemoryButton final : public FormButton {
public:
    MemoryButton(FormCore& form, int index) : FormButton(form, index) {}
    // The user clicks the button; a disabled button gets no click.
    void userClick() { userPress(); }

private:
    void showEnabled(bool /*on*/) override {}
};

class MemoryLabel final : public Label {
public:
    explicit MemoryLabel(std::string caption = {}) : caption_(std::move(caption)) {}
    std::string caption() const override { return caption_; }

private:
    std::string caption_;
};

// A whole window of in-memory controls, optionally with design texts. With
// a design it has the design's Tab order and a keyboard focus, which starts
// where the window's does and which the user moves with setFocus.
class MemoryForm final : public FormOf<MemoryPicture, MemoryList, MemoryText, MemoryButton, MemoryLabel> {
public:
    MemoryForm();
    explicit MemoryForm(const FormDesign& design);

    // The control that has the focus, if any.
    std::optional<ControlRef> focused() const { return focus_; }
    // The user puts the focus on a control (a click or Tab).
    void setFocus(ControlRef c) { focus_ = c; }

private:
    std::optional<ControlRef> focusedControl() override { return focus_; }
    void focusControl(ControlRef c) override { focus_ = c; }
    void showControl(ControlRef /*c*/, bool /*on*/) override {}
    // A failure of the program itself goes on to the test that raised the
    // event.
    void reportFailure(const std::string& what) override;
    void create();

    std::optional<ControlRef> focus_;
};

} // namespace ui::memory
