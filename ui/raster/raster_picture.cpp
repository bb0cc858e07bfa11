#include "ui/raster/raster_picture.h"

namespace ui::raster {

RasterPicture::RasterPicture(int width, int height, double scale) : canvas_(width, height, scale) {}

void RasterPicture::cls()
{
    canvas_.fill(backColor_);
    clsColor_ = backColor_;
    shapes_.clear();
    tooManyShapes_ = false;
    changed();
}

void RasterPicture::setDrawStyle(int style)
{
    if (style >= Solid && style <= InsideSolid)
        drawStyle_ = style;
}

void RasterPicture::draw(const Shape& s)
{
    switch (s.kind) {
    case Shape::Kind::Dot: canvas_.dot(s.x1, s.y1, s.width, s.colour); break;
    case Shape::Kind::Line: canvas_.line(s.x1, s.y1, s.x2, s.y2, s.width, s.style, s.colour); break;
    case Shape::Kind::Circle: canvas_.circle(s.x1, s.y1, s.radius, s.width, s.style, s.colour); break;
    }
}

void RasterPicture::keep(const Shape& shape)
{
    draw(shape);
    if (shapes_.size() < kReplayLimit)
        shapes_.push_back(shape);
    else
        tooManyShapes_ = true;
    changed();
}

void RasterPicture::pset(float x, float y, std::optional<Rgb> colour)
{
    keep({Shape::Kind::Dot, x, y, 0, 0, 0, drawWidth_, drawStyle_, colourOf(colour)});
}

void RasterPicture::line(float x1, float y1, float x2, float y2, std::optional<Rgb> colour)
{
    keep({Shape::Kind::Line, x1, y1, x2, y2, 0, drawWidth_, drawStyle_, colourOf(colour)});
}

void RasterPicture::circle(float x, float y, float radius, std::optional<Rgb> colour)
{
    keep({Shape::Kind::Circle, x, y, 0, 0, radius, drawWidth_, drawStyle_, colourOf(colour)});
}

void RasterPicture::pressMouse(float x, float y, std::int16_t button, std::int16_t shift)
{
    if (mouseDown_)
        mouseDown_(button, shift, x, y);
}

void RasterPicture::resizeCanvas(int width, int height, double scale)
{
    // The same buffer again: nothing to draw anew.
    if (width == canvas_.width() && height == canvas_.height() && Canvas::takenScale(scale) == canvas_.scale())
        return;
    if (tooManyShapes_) {
        canvas_.resize(width, height, scale);
    } else {
        canvas_ = Canvas(width, height, scale);
        canvas_.fill(clsColor_);
        for (const Shape& shape : shapes_)
            draw(shape);
    }
    changed();
}

} // namespace ui::raster
