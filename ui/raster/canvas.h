#pragma once
// The drawing surface's own pixels: one buffer of device pixels that every
// edition shows as it is, so the drawing is the same everywhere.
//
// Convention. Drawing coordinates are logical pixels, origin top-left, y
// downwards. A logical point (x, y) stands for the middle of its logical
// pixel: at scale s it lies at ((x + 0.5) * s, (y + 0.5) * s) in device
// coordinates, where device pixel (i, j) covers [i, i + 1) x [j, j + 1) and
// has its centre at (i + 0.5, j + 0.5). Dots, lines and circles all use this
// one mapping, so at every scale a line through a dot's point runs through
// the dot's middle and a circle through it crosses it there.
//
// A pen w logical pixels wide is p = w * s device pixels wide, and never
// narrower than one device pixel (below scale 1), so that a line or a ring
// has no gaps across it.
// A shape covers a device pixel when the pixel's centre lies in the shape:
//  - a dot of width w: the centre lies closer than w * s / 2 to the point
//    (a dot that covers no centre still takes the pixel under its point);
//  - a wide line (w > 1): the band of width p along the segment, closed
//    on one side and open on the other (closed on the top of a level line
//    and on the left of an upright one, whichever end comes first), so that
//    an axis-parallel line is p pixels thick, with round ends: the
//    centres closer than p / 2 to an end point;
//  - a one-pixel line: along its major axis every pixel column (or row)
//    whose centre lies strictly between half a pen before the first point
//    and half a pen past the last (a line from a half pixel is then as long
//    at both ends; only where that leaves none, the column at the first
//    end's edge), and across it the p pixels around the line there (beyond
//    an end, around the end point): one pixel per step at scale 1; a
//    centre on the pen's edge goes to the side toward the line's middle, so
//    that a line is symmetric about its middle point;
//  - a circle of radius r: at a distance d from the centre with
//    r * s - p / 2 <= d < r * s + p / 2, so every pixel lies within half a
//    device pixel plus the pen's half width of the true circle. A negative
//    radius draws as its magnitude; radius 0 draws the pen's dot.
// The patterns of a one-pixel pen count steps in logical pixels: a line's
// along its major axis from its first point, a circle's from the nearest
// axis through its centre, alike in all eight octants. A step covers at
// most one logical pixel of the pattern, so no "on" run is ever stepped
// over: a dotted line shows a dot every 3 steps along its major axis, 3
// pixels apart on an axis-parallel line and at most 3 * sqrt(2) apart along
// a diagonal. Below scale 1 each device pixel counts as one logical pixel.
// Only the part of a shape that crosses the buffer is visited: a circle of
// radius 10^9 or a segment that ends millions of pixels away costs no more
// than one on the surface, and is drawn exactly up to the edge (for ends up
// to about 10^12 pixels away, far beyond what a calculation can give; a
// segment whose two ends both lie further off loses precision). There is no
// anti-aliasing: every drawn pixel has exactly the shape's colour. Every step
// is exactly rounded (+, -, *, /, sqrt), so the pixels are the same on every
// toolchain.

#include "ui/controls.h"

#include <cstdint>
#include <vector>

namespace ui::raster {

// A pixel of the buffer: 0xFFRRGGBB, as toolkits' 32-bit RGB images take it.
using Pixel = std::uint32_t;

constexpr Pixel toPixel(Rgb c) { return 0xFF000000U | (Pixel{c.r} << 16U) | (Pixel{c.g} << 8U) | Pixel{c.b}; }

constexpr Rgb toRgb(Pixel p)
{
    return Rgb{static_cast<std::uint8_t>(p >> 16U), static_cast<std::uint8_t>(p >> 8U), static_cast<std::uint8_t>(p)};
}

class Canvas {
public:
    // The finest scale a surface takes, at its start and after any change:
    // beyond it a zoomed page's buffer would only grow (335 x 229 logical
    // pixels are about 20 MB at 8).
    static constexpr double kFinestScale = 8.0;
    // The scale a surface takes when asked for this one: a scale that is not
    // a positive number is 1, one finer than kFinestScale is kFinestScale.
    static double takenScale(double asked);

    // A surface of width x height logical pixels at the given scale factor,
    // filled white.
    explicit Canvas(int width = 0, int height = 0, double scale = 1.0);

    // A new logical size or scale; the drawing so far is kept, resampled to
    // the nearest device pixel. The scale is takenScale(scale).
    void resize(int width, int height, double scale);

    int width() const { return width_; }
    int height() const { return height_; }
    double scale() const { return scale_; }
    int deviceWidth() const { return deviceWidth_; }
    int deviceHeight() const { return deviceHeight_; }
    // The rows of device pixels, top to bottom, deviceWidth() each.
    const std::vector<Pixel>& pixels() const { return pixels_; }
    Pixel devicePixel(int i, int j) const;
    // The colour at the middle of logical pixel (x, y); white outside.
    Rgb at(int x, int y) const;

    void fill(Rgb colour);
    // A filled dot of diameter `width` logical pixels centred on (x, y).
    void dot(double x, double y, int width, Rgb colour);
    // A segment from (x1, y1) to (x2, y2) with a pen `width` logical pixels
    // wide; the style (DrawStyleKind) patterns only a one-pixel pen.
    void line(double x1, double y1, double x2, double y2, int width, int style, Rgb colour);
    // The outline of the circle of radius r around (x, y).
    void circle(double x, double y, double r, int width, int style, Rgb colour);

private:
    // Colours the device pixels first..last (inclusive, clipped) of row j.
    void span(long long j, long long first, long long last, Pixel colour);
    void thinLine(double u0, double v0, double u1, double v1, int style, Pixel colour);
    void wideLine(double u0, double v0, double u1, double v1, double half, Pixel colour);

    int width_ = 0, height_ = 0;
    double scale_ = 1.0;
    int deviceWidth_ = 0, deviceHeight_ = 0;
    std::vector<Pixel> pixels_;
};

} // namespace ui::raster
