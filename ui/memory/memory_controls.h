#pragma once
// In-memory controls: keep texts, rows, selections and enabled states, draw
// on the shared pixel buffer and record every drawing call with the pen in
// effect, and raise the user's events on request. The logic's tests run the whole window on them.

#include "ui/controls.h"
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

class MemoryButton final : public CommandButton {
public:
    void setEnabled(bool on) override { enabled_ = on; }
    bool isEnabled() const override { return enabled_; }
    void onClick(ClickHandler handler) override { click_ = std::move(handler); }
    // The user clicks the button; a disabled button gets no click.
    void userClick();

private:
    bool enabled_ = true;
    ClickHandler click_;
};

class MemoryLabel final : public Label {
public:
    explicit MemoryLabel(std::string caption = {}) : caption_(std::move(caption)) {}
    std::string caption() const override { return caption_; }

private:
    std::string caption_;
};

// A whole window of in-memory controls, optionally with design texts.
class MemoryForm final : public Form {
public:
    MemoryForm();
    explicit MemoryForm(const FormDesign& design);

    MemoryPicture& Picture1() override { return picture_; }
    MemoryList& List1(int index) override { return lists_.at(static_cast<size_t>(index)); }
    MemoryText& Text1(int index) override { return texts_.at(static_cast<size_t>(index)); }
    MemoryButton& Command1(int index) override { return buttons_.at(static_cast<size_t>(index)); }
    MemoryLabel& Label1(int index) override { return labels_.at(static_cast<size_t>(index)); }

private:
    MemoryPicture picture_;
    std::array<MemoryList, 3> lists_;
    std::array<MemoryText, 2> texts_;
    std::array<MemoryButton, 3> buttons_;
    std::array<MemoryLabel, 4> labels_;
};

} // namespace ui::memory
