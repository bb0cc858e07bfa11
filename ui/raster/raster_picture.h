#pragma once
// The drawing surface of every edition: the operations of ui::PictureBox on
// the shared pixel buffer (canvas.h), with the pen, the colours and the
// mouse handler. An edition shows canvas() at its screen's scale, sets the
// scale when the screen changes and passes presses to pressMouse(); it is
// told of every change through changed().

#include "ui/controls.h"
#include "ui/raster/canvas.h"

#include <cstddef>
#include <vector>

namespace ui::raster {

class RasterPicture : public PictureBox {
public:
    // A surface of width x height logical pixels at the given scale.
    explicit RasterPicture(int width = 0, int height = 0, double scale = 1.0);

    void setScaleMode(int mode) override { scaleMode_ = mode; }
    float scaleHeight() const override { return static_cast<float>(canvas_.height()); }
    void setAutoRedraw(bool on) override { autoRedraw_ = on; }
    void setBackColor(Rgb colour) override { backColor_ = colour; }
    void cls() override;
    void setDrawWidth(int pixels) override { drawWidth_ = pixels < 1 ? 1 : pixels; }
    void setDrawStyle(int style) override;
    int drawWidth() const override { return drawWidth_; }
    int drawStyle() const override { return drawStyle_; }
    void pset(float x, float y, std::optional<Rgb> colour) override;
    void line(float x1, float y1, float x2, float y2, std::optional<Rgb> colour) override;
    void circle(float x, float y, float radius, std::optional<Rgb> colour) override;
    void onMouseDown(MouseDownHandler handler) override { mouseDown_ = std::move(handler); }

    // The user presses a mouse button over the surface, at a logical pixel.
    void pressMouse(float x, float y, std::int16_t button = 1, std::int16_t shift = 0);

    // The colour of drawing calls without one; the edition sets its
    // system's button-text colour.
    void setForeColor(Rgb colour) { foreColor_ = colour; }
    Rgb foreColor() const { return foreColor_; }
    Rgb backColor() const { return backColor_; }
    int scaleMode() const { return scaleMode_; }
    bool autoRedraw() const { return autoRedraw_; }

    const Canvas& canvas() const { return canvas_; }
    // A new logical size or screen scale. The drawing since the last Cls is
    // drawn again at the new scale, crisp; only a drawing of more calls than
    // kReplayLimit is resampled from the old pixels instead. A size and
    // scale the surface has already (after Canvas::takenScale) change nothing.
    void resizeCanvas(int width, int height, double scale);
    static constexpr std::size_t kReplayLimit = 65536;

protected:
    // Called after every change of the pixels.
    virtual void changed() {}

private:
    // One drawing call with everything it needs to be drawn again.
    struct Shape {
        enum class Kind { Dot, Line, Circle } kind;
        double x1, y1, x2, y2, radius;
        int width, style;
        Rgb colour;
    };

    Rgb colourOf(std::optional<Rgb> colour) const { return colour.value_or(foreColor_); }
    void draw(const Shape& shape);
    void keep(const Shape& shape);

    Canvas canvas_;
    // What was drawn since the last Cls, on its background.
    std::vector<Shape> shapes_;
    bool tooManyShapes_ = false;
    Rgb clsColor_ = rgb(255, 255, 255);
    int scaleMode_ = 1;
    bool autoRedraw_ = false;
    Rgb backColor_ = rgb(255, 255, 255);
    Rgb foreColor_ = rgb(0, 0, 0);
    int drawWidth_ = 1;
    int drawStyle_ = 0;
    MouseDownHandler mouseDown_;
};

} // namespace ui::raster
