#include "ui/memory/memory_controls.h"

#include "number/float_chars.h"

#include <array>
#include <stdexcept>
#include <string>

namespace ui::memory {

namespace {

// A coordinate as printf's %g writes it in the C locale, whatever the
// process's locale: the recorded calls read the same everywhere.
std::string num(double v)
{
    std::array<char, 32> buf{};
    const auto res = number::toCharsGeneral(buf.data(), buf.data() + buf.size(), v, 6);
    return std::string(buf.data(), res.ptr);
}

std::string num(int v) { return std::to_string(v); }

} // namespace

std::string describe(const DrawCall& c)
{
    std::string colour = "fore";
    if (c.colour)
        colour = "RGB(" + num(c.colour->r) + "," + num(c.colour->g) + "," + num(c.colour->b) + ")";
    const std::string pen = " w" + num(c.width) + " s" + num(c.style) + " ";
    switch (c.op) {
    case DrawCall::Op::Cls: return "Cls";
    case DrawCall::Op::PSet: return "PSet (" + num(c.x1) + "," + num(c.y1) + ")" + pen + colour;
    case DrawCall::Op::Line:
        return "Line (" + num(c.x1) + "," + num(c.y1) + ")-(" + num(c.x2) + "," + num(c.y2) + ")" + pen + colour;
    case DrawCall::Op::Circle: return "Circle (" + num(c.x1) + "," + num(c.y1) + ") r" + num(c.radius) + pen + colour;
    }
    return {};
}

void MemoryPicture::record(DrawCall call)
{
    call.width = drawWidth();
    call.style = drawStyle();
    calls_.push_back(call);
}

void MemoryPicture::cls()
{
    DrawCall c;
    c.op = DrawCall::Op::Cls;
    c.colour = backColor();
    record(c);
    RasterPicture::cls();
}

void MemoryPicture::pset(float x, float y, std::optional<Rgb> colour)
{
    record({DrawCall::Op::PSet, x, y, 0, 0, 0, colour});
    RasterPicture::pset(x, y, colour);
}

void MemoryPicture::line(float x1, float y1, float x2, float y2, std::optional<Rgb> colour)
{
    record({DrawCall::Op::Line, x1, y1, x2, y2, 0, colour});
    RasterPicture::line(x1, y1, x2, y2, colour);
}

void MemoryPicture::circle(float x, float y, float radius, std::optional<Rgb> colour)
{
    record({DrawCall::Op::Circle, x, y, 0, 0, radius, colour});
    RasterPicture::circle(x, y, radius, colour);
}

void MemoryForm::create()
{
    adopt(0, std::make_unique<MemoryPicture>());
    for (int i = 0; i < kLists; ++i)
        adopt(i, std::make_unique<MemoryList>(*this));
    for (int i = 0; i < kTexts; ++i)
        adopt(i, std::make_unique<MemoryText>());
    for (int i = 0; i < kButtons; ++i)
        adopt(i, std::make_unique<MemoryButton>(*this, i));
    for (int i = 0; i < kLabels; ++i)
        adopt(i, std::make_unique<MemoryLabel>());
}

MemoryForm::MemoryForm() { create(); }

MemoryForm::MemoryForm(const FormDesign& design) : FormOf(design)
{
    create();
    for (const auto& c : design.controls) {
        if (c.kind == ControlKind::Text && c.index >= 0 && c.index < kTexts)
            Text1(c.index).setText(c.text);
        else if (c.kind == ControlKind::Label && c.index >= 0 && c.index < kLabels)
            Label1(c.index) = MemoryLabel(c.text);
        else if (c.kind == ControlKind::Picture) {
            const PixelSize area = drawingArea(c);
            Picture1() = MemoryPicture(area.width, area.height);
        }
    }
    focus_ = focusReturn(std::nullopt);
}

void MemoryForm::reportFailure(const std::string& what) { throw std::runtime_error(what); }

} // namespace ui::memory
