#include "web/web_controls.h"

#include "web/dom.h"

#include <algorithm>
#include <array>
#include <stdexcept>

namespace web {

std::string elementId(ControlRef c)
{
    const std::string name = arrayName(c.kind);
    return c.kind == ControlKind::Picture ? name : name + "_" + std::to_string(c.index);
}

std::string frameId(ControlRef c) { return c.kind == ControlKind::Picture ? elementId(c) + "_frame" : elementId(c); }

// ---------------------------------------------------------------- surface

WebPicture::WebPicture(WebForm& form, int width, int height, double scale)
    : RasterPicture(width, height, scale)
    , form_(form)
{
}

void WebPicture::changed()
{
    dirty_ = true;
    form_.settle();
}

void WebPicture::sync()
{
    if (!dirty_)
        return;
    // 0xFFRRGGBB words to the bytes red, green, blue, alpha of the canvas.
    const auto& c = canvas();
    const auto& pixels = c.pixels();
    rgba_.resize(pixels.size() * 4);
    std::uint8_t* out = rgba_.data();
    for (const raster::Pixel p : pixels) {
        out[0] = static_cast<std::uint8_t>(p >> 16U);
        out[1] = static_cast<std::uint8_t>(p >> 8U);
        out[2] = static_cast<std::uint8_t>(p);
        out[3] = 0xFF;
        out += 4;
    }
    trivyrhnik_dom_paint(rgba_.data(), c.deviceWidth(), c.deviceHeight(), c.scale());
    dirty_ = false;
}

// ------------------------------------------------------------------ lists

WebList::WebList(WebForm& form, int index) : RowList(&form), form_(form), index_(index) {}

void WebList::changed()
{
    dirty_ = true;
    form_.settle();
}

void WebList::sync()
{
    if (!dirty_)
        return;
    std::string joined;
    for (size_t i = 0; i < rows().size(); ++i) {
        if (i > 0)
            joined += '\n';
        joined += rows()[i];
    }
    trivyrhnik_dom_set_list(index_, joined.c_str(), listCount(), listIndex());
    dirty_ = false;
}

// ------------------------------------------------------------------- text

void WebText::textKept() { form_.settle(); }

void WebText::display(const std::string& text) { trivyrhnik_dom_set_text(index_, text.c_str()); }

// ---------------------------------------------------------------- buttons

WebButton::WebButton(WebForm& form, int index) : FormButton(form, index), form_(form), index_(index) {}

void WebButton::showEnabled(bool /*on*/)
{
    dirty_ = true;
    form_.settle();
}

void WebButton::sync()
{
    if (!dirty_)
        return;
    trivyrhnik_dom_set_enabled(index_, isEnabled() ? 1 : 0);
    dirty_ = false;
}

// ------------------------------------------------------------------- form

WebForm::WebForm(const FormDesign& design, double scale) : FormOf(design)
{
    const ControlDesign* picture = design.find(arrayName(ControlKind::Picture), 0);
    if (!picture)
        throw std::invalid_argument("the design has no drawing surface");
    const PixelSize area = drawingArea(*picture);
    adopt(0, std::make_unique<WebPicture>(*this, area.width, area.height, scale));
    for (int i = 0; i < kLists; ++i)
        adopt(i, std::make_unique<WebList>(*this, i));
    for (int i = 0; i < kButtons; ++i)
        adopt(i, std::make_unique<WebButton>(*this, i));
    for (const auto& c : design.controls) {
        // The page holds the boxes' design texts from the start (web/page.cpp).
        if (c.kind == ControlKind::Text)
            adopt(c.index, std::make_unique<WebText>(*this, c.index, c.text, true));
        else if (c.kind == ControlKind::Label)
            adopt(c.index, std::make_unique<WebLabel>(c.text));
    }
}

std::optional<ControlRef> WebForm::focusedControl()
{
    std::array<char, 32> id{};
    if (trivyrhnik_dom_focused(id.data(), static_cast<int>(id.size())) <= 0)
        return std::nullopt;
    for (const ControlRef c : tabOrder())
        if (elementId(c) == id.data())
            return c;
    return std::nullopt;
}

void WebForm::focusControl(ControlRef c) { trivyrhnik_dom_focus(elementId(c).c_str()); }

void WebForm::showControl(ControlRef c, bool on) { trivyrhnik_dom_set_hidden(frameId(c).c_str(), on ? 0 : 1); }

void WebForm::reportFailure(const std::string& what) { trivyrhnik_dom_report_error(failureMessage(what).c_str()); }

void WebForm::pressSurface(int x, int y, int button, int shift)
{
    const auto& c = Picture1().canvas();
    if (c.width() <= 0 || c.height() <= 0)
        return;
    const int px = std::clamp(x, 0, c.width() - 1);
    const int py = std::clamp(y, 0, c.height() - 1);
    dispatch([&] {
        Picture1().pressMouse(static_cast<float>(px), static_cast<float>(py), static_cast<std::int16_t>(button),
                              static_cast<std::int16_t>(shift));
    });
}

void WebForm::setSurfaceScale(double scale)
{
    // A zoomed page can ask for a very fine surface: the canvas takes its
    // finest scale then, as it did at the start; an unchanged one is kept.
    if (!(scale > 0))
        return;
    const auto& c = Picture1().canvas();
    Picture1().resizeCanvas(c.width(), c.height(), scale);
}

} // namespace web
