#include "web/web_controls.h"

#include "web/dom.h"

#include <algorithm>
#include <stdexcept>

namespace ui::web {

namespace {

const ControlDesign& designOf(const FormDesign& design, const char* name, int index)
{
    const ControlDesign* c = design.find(name, index);
    if (!c)
        throw std::invalid_argument(std::string("the design has no ") + name + "(" + std::to_string(index) + ")");
    return *c;
}

} // namespace

int surfaceWidth(const FormDesign& design)
{
    return std::max(0, twipsToPixels(designOf(design, "Picture1", 0).width) - 2 * kPictureBorder);
}

int surfaceHeight(const FormDesign& design)
{
    return std::max(0, twipsToPixels(designOf(design, "Picture1", 0).height) - 2 * kPictureBorder);
}

// ---------------------------------------------------------------- surface

WebPicture::WebPicture(WebForm& form, int width, int height, double scale)
    : RasterPicture(width, height, scale)
    , form_(form)
{
}

void WebPicture::changed()
{
    dirty_ = true;
    form_.sync();
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

void WebList::changed()
{
    dirty_ = true;
    form_.sync();
}

void WebList::raiseClick()
{
    if (clickHandler())
        form_.dispatch(clickHandler());
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

void WebText::textKept() { form_.sync(); }

void WebText::display(const std::string& text) { trivyrhnik_dom_set_text(index_, text.c_str()); }

// ---------------------------------------------------------------- buttons

void WebButton::setEnabled(bool on)
{
    if (on == enabled_)
        return;
    enabled_ = on;
    dirty_ = true;
    form_.sync();
}

void WebButton::userClick()
{
    if (enabled_ && click_)
        form_.dispatch(click_);
}

void WebButton::sync()
{
    if (!dirty_)
        return;
    trivyrhnik_dom_set_enabled(index_, enabled_ ? 1 : 0);
    dirty_ = false;
}

// ------------------------------------------------------------------- form

WebForm::WebForm(const FormDesign& design, double scale)
{
    picture_ = std::make_unique<WebPicture>(*this, surfaceWidth(design), surfaceHeight(design), scale);
    for (int i = 0; i < 3; ++i) {
        lists_.at(static_cast<size_t>(i)) = std::make_unique<WebList>(*this, i);
        buttons_.at(static_cast<size_t>(i)) = std::make_unique<WebButton>(*this, i);
    }
    // The page holds the boxes' design texts from the start (web/page.cpp).
    for (int i = 0; i < 2; ++i) {
        const auto& c = designOf(design, "Text1", i);
        texts_.at(static_cast<size_t>(i)) = std::make_unique<WebText>(*this, i, c.text, true);
    }
    for (int i = 0; i < 4; ++i)
        labels_.at(static_cast<size_t>(i)) = std::make_unique<WebLabel>(designOf(design, "Label1", i).text);
}

void WebForm::dispatch(const std::function<void()>& handler)
{
    depth_.run(
        handler, [this] { sync(); },
        [](const std::string& what) { trivyrhnik_dom_report_error(failureMessage(what).c_str()); });
}

// Each control forgets a change only once the page shows it: a change that
// the page failed to show is shown when the form next settles.
void WebForm::sync()
{
    if (depth_.busy())
        return;
    for (auto& t : texts_)
        t->sync();
    for (auto& l : lists_)
        l->sync();
    for (auto& b : buttons_)
        b->sync();
    picture_->sync();
}

void WebForm::pressSurface(int x, int y, int button, int shift)
{
    const auto& c = picture_->canvas();
    if (c.width() <= 0 || c.height() <= 0)
        return;
    const int px = std::clamp(x, 0, c.width() - 1);
    const int py = std::clamp(y, 0, c.height() - 1);
    dispatch([&] {
        picture_->pressMouse(static_cast<float>(px), static_cast<float>(py), static_cast<std::int16_t>(button),
                             static_cast<std::int16_t>(shift));
    });
}

void WebForm::setSurfaceScale(double scale)
{
    // A zoomed page can ask for a very fine surface: the canvas takes its
    // finest scale then, as it did at the start.
    if (!(scale > 0))
        return;
    scale = std::min(scale, raster::Canvas::kFinestScale);
    const auto& c = picture_->canvas();
    if (scale == c.scale())
        return;
    picture_->resizeCanvas(c.width(), c.height(), scale);
}

} // namespace ui::web
