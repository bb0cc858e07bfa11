#include "ui/raster/raster_picture.h"

namespace ui::raster {

RasterPicture::RasterPicture(int width, int height, double scale) : canvas_(width, height, scale) {}

void RasterPicture::cls()
{
    canvas_.fill(backColor_);
    changed();
}

void RasterPicture::setDrawStyle(int style)
{
    if (style >= Solid && style <= InsideSolid)
        drawStyle_ = style;
}

void RasterPicture::pset(float x, float y, std::optional<Rgb> colour)
{
    canvas_.dot(x, y, drawWidth_, colourOf(colour));
    changed();
}

void RasterPicture::line(float x1, float y1, float x2, float y2, std::optional<Rgb> colour)
{
    canvas_.line(x1, y1, x2, y2, drawWidth_, drawStyle_, colourOf(colour));
    changed();
}

void RasterPicture::circle(float x, float y, float radius, std::optional<Rgb> colour)
{
    canvas_.circle(x, y, radius, drawWidth_, drawStyle_, colourOf(colour));
    changed();
}

void RasterPicture::pressMouse(float x, float y, std::int16_t button, std::int16_t shift)
{
    if (mouseDown_)
        mouseDown_(button, shift, x, y);
}

void RasterPicture::resizeCanvas(int width, int height, double scale)
{
    canvas_.resize(width, height, scale);
    changed();
}

} // namespace ui::raster
