#include "ui/memory/memory_controls.h"

#include <cstdio>

namespace ui::memory {

std::string describe(const DrawCall& c)
{
    char buf[160];
    std::string colour = "fore";
    if (c.colour) {
        std::snprintf(buf, sizeof buf, "RGB(%d,%d,%d)", c.colour->r, c.colour->g, c.colour->b);
        colour = buf;
    }
    switch (c.op) {
    case DrawCall::Op::Cls:
        return "Cls";
    case DrawCall::Op::PSet:
        std::snprintf(buf, sizeof buf, "PSet (%g,%g) w%d s%d ", c.x1, c.y1, c.width, c.style);
        break;
    case DrawCall::Op::Line:
        std::snprintf(buf, sizeof buf, "Line (%g,%g)-(%g,%g) w%d s%d ", c.x1, c.y1, c.x2, c.y2, c.width,
                      c.style);
        break;
    case DrawCall::Op::Circle:
        std::snprintf(buf, sizeof buf, "Circle (%g,%g) r%g w%d s%d ", c.x1, c.y1, c.radius, c.width, c.style);
        break;
    }
    return buf + colour;
}

void MemoryPicture::record(DrawCall call)
{
    call.width = drawWidth_;
    call.style = drawStyle_;
    calls_.push_back(call);
}

void MemoryPicture::cls()
{
    DrawCall c;
    c.op = DrawCall::Op::Cls;
    c.colour = backColor_;
    record(c);
}

void MemoryPicture::setDrawStyle(int style)
{
    if (style >= 0 && style <= 6)
        drawStyle_ = style;
}

void MemoryPicture::pset(float x, float y, std::optional<Rgb> colour)
{
    record({DrawCall::Op::PSet, x, y, 0, 0, 0, colour});
}

void MemoryPicture::line(float x1, float y1, float x2, float y2, std::optional<Rgb> colour)
{
    record({DrawCall::Op::Line, x1, y1, x2, y2, 0, colour});
}

void MemoryPicture::circle(float x, float y, float radius, std::optional<Rgb> colour)
{
    record({DrawCall::Op::Circle, x, y, 0, 0, radius, colour});
}

void MemoryPicture::pressMouse(float x, float y, std::int16_t button, std::int16_t shift)
{
    if (mouseDown_)
        mouseDown_(button, shift, x, y);
}

void MemoryList::removeItem(int row)
{
    if (row < 0 || row >= listCount())
        return;
    rows_.erase(rows_.begin() + row);
    selected_ = -1;
}

void MemoryList::clear()
{
    rows_.clear();
    selected_ = -1;
}

std::string MemoryList::list(int row) const
{
    if (row < 0 || row >= listCount())
        return {};
    return rows_[static_cast<size_t>(row)];
}

void MemoryList::setListIndex(int row)
{
    if (row < -1 || row >= listCount())
        return;
    if (row == selected_)
        return;
    selected_ = row;
    if (raiseOnCode_ && row >= 0 && click_)
        click_();
}

void MemoryList::userSelect(int row)
{
    if (row < 0 || row >= listCount())
        return;
    selected_ = row;
    if (click_)
        click_();
}

void MemoryButton::userClick()
{
    if (enabled_ && click_)
        click_();
}

MemoryForm::MemoryForm() = default;

MemoryForm::MemoryForm(const FormDesign& design)
{
    for (const auto& c : design.controls) {
        if (c.kind == ControlKind::Text && c.index >= 0 && c.index < 2)
            texts_[static_cast<size_t>(c.index)].setText(c.text);
        else if (c.kind == ControlKind::Label && c.index >= 0 && c.index < 4)
            labels_[static_cast<size_t>(c.index)] = MemoryLabel(c.text);
        else if (c.kind == ControlKind::Picture)
            picture_ = MemoryPicture(static_cast<float>(twipsToPixels(c.height) - 2 * kPictureBorder));
    }
}

} // namespace ui::memory
