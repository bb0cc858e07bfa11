// The shared drawing surface's own pixels: circles exact at any radius, one
// pixel-centre convention for dots, lines and circles at every scale, far-off
// shapes clipped exactly, patterns in logical pixels, and no blending.

#include "ui/raster/canvas.h"
#include "ui/raster/raster_picture.h"

#include "fixed_drawings.h"
#include "report_fixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>
#include <string>
#include <string_view>
#include <vector>

using ui::raster::Canvas;
using ui::raster::toPixel;

namespace {

constexpr ui::Rgb kInk = ui::rgb(20, 110, 60);
const ui::raster::Pixel kInkPixel = toPixel(kInk);
const ui::raster::Pixel kPaper = toPixel(ui::rgb(255, 255, 255));

struct DevicePoint {
    int i, j;
};

// The inked device pixels; fails on any pixel that is neither ink nor paper.
std::vector<DevicePoint> inked(const Canvas& c)
{
    std::vector<DevicePoint> out;
    int blended = 0;
    for (int j = 0; j < c.deviceHeight(); ++j)
        for (int i = 0; i < c.deviceWidth(); ++i) {
            const auto p = c.pixels()[static_cast<size_t>(j * c.deviceWidth() + i)];
            if (p == kInkPixel)
                out.push_back({i, j});
            else if (p != kPaper)
                ++blended;
        }
    EXPECT_EQ(blended, 0) << "pixels neither ink nor paper";
    return out;
}

// A logical coordinate in device units: the middle of its pixel.
double device(double v, double scale) { return (v + 0.5) * scale; }

struct Circle {
    double x, y, r;
};

// The circle through three points, in double.
Circle through(double ax, double ay, double bx, double by, double cx, double cy)
{
    const double d = 2 * (ax * (by - cy) + bx * (cy - ay) + cx * (ay - by));
    const double a2 = ax * ax + ay * ay, b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
    const double x = (a2 * (by - cy) + b2 * (cy - ay) + c2 * (ay - by)) / d;
    const double y = (a2 * (cx - bx) + b2 * (ax - cx) + c2 * (bx - ax)) / d;
    return {x, y, std::hypot(ax - x, ay - y)};
}

// Checks every pixel of `c` against the circle's bound and that the drawn
// circle meets each of the dots of width `dot` at the given points.
void expectCircleThroughDots(const Circle& k, int width, double scale,
                             const std::vector<std::pair<double, double>>& vertices, const std::string& what)
{
    Canvas c(335, 229, scale);
    c.circle(k.x, k.y, k.r, width, ui::Solid, kInk);
    const double cx = device(k.x, scale), cy = device(k.y, scale), r = k.r * scale;
    const double bound = 0.5 + width * scale / 2;
    const auto pixels = inked(c);
    for (const auto& p : pixels) {
        const double d = std::hypot(p.i + 0.5 - cx, p.j + 0.5 - cy);
        ASSERT_LE(std::fabs(d - r), bound) << what << " pixel " << p.i << "," << p.j;
    }
    // A vertex dot 5 pixels wide: the circle crosses it.
    for (const auto& [vx, vy] : vertices) {
        const double ux = device(vx, scale), uy = device(vy, scale);
        bool met = false;
        for (const auto& p : pixels)
            met = met || std::hypot(p.i + 0.5 - ux, p.j + 0.5 - uy) < 2.5 * scale;
        EXPECT_TRUE(met) << what << " misses the vertex " << vx << "," << vy;
    }
}

class RasterScale : public testing::TestWithParam<double> {};

// "scale_1_25" for 1.25, in whole numbers: no locale reaches the name.
std::string scaleName(const testing::TestParamInfo<double>& info)
{
    const long hundredths = std::lround(info.param * 100);
    std::string s = "scale_";
    s += std::to_string(hundredths / 100);
    if (const long rest = hundredths % 100; rest != 0) {
        s += '_';
        s += std::to_string(rest % 10 == 0 ? rest / 10 : rest);
    }
    return s;
}

// Random triangles on the surface, nearly collinear ones with circumradii in
// the thousands to millions, and circles of radius up to 10^9 that cross the
// surface: every pixel lies within half a device pixel plus the pen's half
// width of the true circle, and the circumcircle crosses the vertex dots.
TEST_P(RasterScale, CircumcirclesAreExactAndMeetTheirVertices)
{
    const double scale = GetParam();
    std::mt19937 rng(20261209);
    std::uniform_int_distribution<int> px(5, 329), py(5, 223);
    for (int n = 0; n < 300; ++n) {
        const double ax = px(rng), ay = py(rng), bx = px(rng), by = py(rng);
        double cx = px(rng), cy = py(rng);
        if (n % 2 == 1) {
            // Almost on the line AB: a pixel or two beside its middle.
            cx = std::round((ax + bx) / 2) + (n % 4 == 1 ? 1 : 0);
            cy = std::round((ay + by) / 2) + (n % 4 == 3 ? 1 : 0);
        }
        const double area2 = (bx - ax) * (cy - ay) - (cx - ax) * (by - ay);
        if (area2 == 0)
            continue;
        const Circle k = through(ax, ay, bx, by, cx, cy);
        if (k.r > 1e9)
            continue;
        expectCircleThroughDots(k, 1, scale, {{ax, ay}, {bx, by}, {cx, cy}}, "triangle " + std::to_string(n));
        if (HasFatalFailure())
            return;
    }
    // Radii up to 10^9 whose circles pass through a point of the surface.
    std::uniform_real_distribution<double> angle(0, 6.283185307179586);
    for (double r = 10; r <= 1e9; r *= 7.3) {
        const double a = angle(rng);
        const double vx = px(rng), vy = py(rng);
        const Circle k{vx - r * std::cos(a), vy - r * std::sin(a), r};
        expectCircleThroughDots(k, 1, scale, {{vx, vy}}, "radius " + std::to_string(r));
        expectCircleThroughDots(k, 3, scale, {{vx, vy}}, "wide, radius " + std::to_string(r));
        if (HasFatalFailure())
            return;
    }
}

// A one-pixel circle has no gaps: its pixels form one 8-connected ring.
TEST_P(RasterScale, ThinCircleIsClosed)
{
    const double scale = GetParam();
    for (double r : {3.0, 10.5, 57.25, 100.0}) {
        Canvas c(335, 229, scale);
        c.circle(160, 110, r, 1, ui::Solid, kInk);
        const auto pixels = inked(c);
        ASSERT_FALSE(pixels.empty());
        std::vector<char> seen(static_cast<size_t>(c.deviceWidth() * c.deviceHeight()), 0);
        std::vector<DevicePoint> todo{pixels.front()};
        seen[static_cast<size_t>(pixels.front().j * c.deviceWidth() + pixels.front().i)] = 1;
        size_t reached = 0;
        while (!todo.empty()) {
            const auto p = todo.back();
            todo.pop_back();
            ++reached;
            for (int dj = -1; dj <= 1; ++dj)
                for (int di = -1; di <= 1; ++di) {
                    const int i = p.i + di, j = p.j + dj;
                    auto& s = seen[static_cast<size_t>(j * c.deviceWidth() + i)];
                    if (!s && c.devicePixel(i, j) == kInkPixel) {
                        s = 1;
                        todo.push_back({i, j});
                    }
                }
        }
        EXPECT_EQ(reached, pixels.size()) << "radius " << r;
    }
}

// A dot, a line through its point and a circle through it share their
// centre, the middle of the point's pixel. Where the shape crosses the
// point's device column (or row), its pixels there are centred on the point:
// exactly at whole scales for a whole point, where every shape is also
// mirror-symmetric about it, and within half a device pixel otherwise.
TEST_P(RasterScale, DotLineAndCircleShareTheirCentre)
{
    const double scale = GetParam();
    struct Shape {
        const char* name;
        bool alongX; // measured across its pixel column (else its row)
        bool symmetricInX; // mirror-symmetric across the point's column
        void (*draw)(Canvas&, double, double);
    };
    const Shape shapes[] = {
        {"dot 5", true, true,
         [](Canvas& c, double px, double py) {
             c.dot(px, py, 5, kInk);
         }},
        {"dot 4", false, true,
         [](Canvas& c, double px, double py) {
             c.dot(px, py, 4, kInk);
         }},
        {"horizontal line", true, true,
         [](Canvas& c, double px, double py) {
             c.line(px - 30, py, px + 30, py, 1, ui::Solid, kInk);
         }},
        {"vertical line", false, true,
         [](Canvas& c, double px, double py) {
             c.line(px, py - 20, px, py + 20, 1, ui::Solid, kInk);
         }},
        {"diagonal line", true, true,
         [](Canvas& c, double px, double py) {
             c.line(px - 15, py - 15, px + 15, py + 15, 1, ui::Solid, kInk);
         }},
        {"wide line", true, true,
         [](Canvas& c, double px, double py) {
             c.line(px - 20, py, px + 20, py, 3, ui::Solid, kInk);
         }},
        // Its leftmost point is the dot's point.
        {"circle through it", true, false,
         [](Canvas& c, double px, double py) {
             c.circle(px + 25, py, 25, 1, ui::Solid, kInk);
         }},
    };
    for (const auto& [x, y] : {std::pair{60.0, 40.0}, std::pair{52.5, 60.5}, std::pair{101.0, 77.5}}) {
        const double ux = device(x, scale), uy = device(y, scale);
        const bool exact = scale == std::floor(scale) && x == std::floor(x) && y == std::floor(y);
        for (const auto& shape : shapes) {
            Canvas c(335, 229, scale);
            shape.draw(c, x, y);
            const auto pixels = inked(c);
            // The device column (or row) that holds the point.
            const int line = static_cast<int>(std::floor(shape.alongX ? ux : uy));
            double sum = 0;
            int n = 0;
            for (const auto& p : pixels) {
                if ((shape.alongX ? p.i : p.j) == line) {
                    sum += (shape.alongX ? p.j : p.i) + 0.5;
                    ++n;
                }
                if (exact) {
                    // Mirrored across the point: i + 0.5 -> 2u - (i + 0.5).
                    const int mi = shape.symmetricInX ? static_cast<int>(std::lround(2 * ux - p.i - 1)) : p.i;
                    const int mj = static_cast<int>(std::lround(2 * uy - p.j - 1));
                    ASSERT_EQ(c.devicePixel(mi, mj), kInkPixel)
                        << shape.name << " at " << x << "," << y << ": " << p.i << "," << p.j;
                }
            }
            ASSERT_GT(n, 0) << shape.name << " at " << x << "," << y;
            EXPECT_NEAR(sum / n, shape.alongX ? uy : ux, exact ? 1e-9 : 0.5) << shape.name << " at " << x << "," << y;
        }
    }
}

// A segment toward a point millions of pixels away is drawn exactly up to
// the edge: one pixel per column at scale 1, on the true line, every column
// from its first point to the edge.
TEST_P(RasterScale, FarSegmentsAreClippedExactly)
{
    const double scale = GetParam();
    for (const auto& [fx, fy] :
         {std::pair{3.0e7, 1.1e7}, std::pair{2.5e6, -9.0e5}, std::pair{-4.0e8, 1.3e8}, std::pair{9.0e11, 3.5e11}}) {
        Canvas c(335, 229, scale);
        const double x0 = 170, y0 = 110;
        c.line(x0, y0, fx, fy, 1, ui::Solid, kInk);
        const double u0 = device(x0, scale), v0 = device(y0, scale);
        const double u1 = device(fx, scale), v1 = device(fy, scale);
        const double slope = (v1 - v0) / (u1 - u0);
        const auto pixels = inked(c);
        std::vector<int> perColumn(static_cast<size_t>(c.deviceWidth()), 0);
        for (const auto& p : pixels) {
            ++perColumn[static_cast<size_t>(p.i)];
            // Before its first point the line goes on straight for half a pen.
            const double along = fx > x0 ? std::max(p.i + 0.5, u0) : std::min(p.i + 0.5, u0);
            const double onLine = v0 + (along - u0) * slope;
            ASSERT_LE(std::fabs(p.j + 0.5 - onLine), scale / 2 + 1e-9) << p.i << "," << p.j;
        }
        const bool right = fx > x0;
        const int firstColumn = static_cast<int>(std::floor(u0)), edge = right ? c.deviceWidth() - 1 : 0;
        for (int i = std::min(firstColumn, edge) + 1; i < std::max(firstColumn, edge); ++i) {
            const double onLine = v0 + (i + 0.5 - u0) * slope;
            if (onLine < 1 || onLine > c.deviceHeight() - 1)
                break; // left through the top or bottom
            EXPECT_GE(perColumn[static_cast<size_t>(i)], 1) << "gap at column " << i;
            EXPECT_LE(perColumn[static_cast<size_t>(i)], static_cast<int>(std::ceil(scale))) << i;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Scales, RasterScale, testing::Values(1.0, 1.25, 1.5, 2.0, 3.0), scaleName);

// Patterns of a one-pixel pen, in logical pixels from the first point:
// "#" drawn, "." left out. Wider pens draw every pattern solid.
struct PatternCase {
    const char* name;
    int style;
    int width;
    const char* pixels;
    friend void PrintTo(const PatternCase& c, std::ostream* os) { *os << c.name; }
};

class LinePattern : public testing::TestWithParam<PatternCase> {};

TEST_P(LinePattern, HorizontalLineAtScalesOneAndTwo)
{
    const auto& p = GetParam();
    const std::string expected = p.pixels;
    for (const double scale : {1.0, 2.0}) {
        Canvas c(335, 229, scale);
        c.line(10, 20, 10 + static_cast<double>(expected.size()) - 1, 20, p.width, p.style, kInk);
        const auto s = static_cast<int>(scale);
        std::string drawn;
        for (size_t k = 0; k < expected.size(); ++k)
            drawn += c.devicePixel((10 + static_cast<int>(k)) * s, 20 * s) == kInkPixel ? '#' : '.';
        EXPECT_EQ(drawn, expected) << "scale " << scale;
        // Every device pixel of a logical pixel alike: never finer than it.
        for (int k = 0; k < static_cast<int>(expected.size()) * s; ++k)
            EXPECT_EQ(c.devicePixel(10 * s + k, 20 * s), c.devicePixel((10 * s + k) / s * s, 20 * s));
    }
}

INSTANTIATE_TEST_SUITE_P(Styles, LinePattern,
                         testing::Values(PatternCase{"solid", ui::Solid, 1, "################"},
                                         PatternCase{"dash", ui::Dash, 1, "####..####..####"},
                                         PatternCase{"dot", ui::Dot, 1, "#..#..#..#..#..#"},
                                         PatternCase{"dash_dot", ui::DashDot, 1, "####..#..####..#"},
                                         PatternCase{"dash_dot_dot", ui::DashDotDot, 1, "####..#..#..####"},
                                         PatternCase{"inside_solid", ui::InsideSolid, 1, "################"},
                                         PatternCase{"transparent", ui::Transparent, 1, "................"},
                                         PatternCase{"dot_wide_pen_is_solid", ui::Dot, 3, "################"}),
                         [](const auto& info) { return std::string(info.param.name); });

// A dotted line shows a dot every 3 steps along its major axis at any
// slope, from either end: on the segment from the midpoint of BC to the
// centre of the triangle (79, 30), (144, 192), (103, 219), and on random
// segments from whole and half pixels.
TEST(Raster, DottedLineHasADotEveryThreeSteps)
{
    std::mt19937 rng(25);
    std::uniform_int_distribution<int> half(0, 669), halfY(0, 457);
    std::vector<std::array<double, 4>> segments{{123.5, 205.5, 71, 126}, {71, 126, 123.5, 205.5}};
    for (int n = 0; n < 300; ++n)
        segments.push_back({half(rng) / 2.0, halfY(rng) / 2.0, half(rng) / 2.0, halfY(rng) / 2.0});
    for (const auto& [x1, y1, x2, y2] : segments) {
        Canvas c(335, 229, 1);
        c.line(x1, y1, x2, y2, 1, ui::Dot, kInk);
        const bool xMajor = std::fabs(x2 - x1) >= std::fabs(y2 - y1);
        std::vector<int> steps;
        for (const auto& p : inked(c))
            steps.push_back(xMajor ? p.i : p.j);
        std::sort(steps.begin(), steps.end());
        ASSERT_EQ(std::adjacent_find(steps.begin(), steps.end()), steps.end()) << "one pixel a step";
        for (size_t k = 1; k < steps.size(); ++k)
            ASSERT_EQ(steps[k] - steps[k - 1], 3) << x1 << "," << y1 << " - " << x2 << "," << y2;
        const double length = std::fabs(xMajor ? x2 - x1 : y2 - y1);
        EXPECT_GE(static_cast<double>(steps.size()), std::floor(length / 3)) << x1 << "," << y1;
    }
}

// A wide line has round ends: its pixels are those closer than half the pen
// to the segment.
TEST(Raster, WideLineIsTheSegmentWithRoundEnds)
{
    for (const double scale : {1.0, 1.5, 2.0}) {
        Canvas c(335, 229, scale);
        const double x0 = 40.5, y0 = 60, x1 = 140, y1 = 97.25;
        const int width = 6;
        c.line(x0, y0, x1, y1, width, ui::Dot, kInk);
        const double u0 = device(x0, scale), v0 = device(y0, scale);
        const double u1 = device(x1, scale), v1 = device(y1, scale);
        const double half = width * scale / 2;
        for (int j = 0; j < c.deviceHeight(); ++j)
            for (int i = 0; i < c.deviceWidth(); ++i) {
                const double px = i + 0.5 - u0, py = j + 0.5 - v0, dx = u1 - u0, dy = v1 - v0;
                const double t = std::clamp((px * dx + py * dy) / (dx * dx + dy * dy), 0.0, 1.0);
                const double d = std::hypot(px - t * dx, py - t * dy);
                if (std::fabs(d - half) < 1e-9)
                    continue; // on the rim: either way
                ASSERT_EQ(c.devicePixel(i, j) == kInkPixel, d < half) << scale << ": " << i << "," << j;
            }
    }
}

// Lines and circles agree on the pen: a wide axis-parallel line is w * s
// pixels thick, as a ring is, and its round end reaches half a pen past its
// last point.
TEST(Raster, WidePenThickness)
{
    for (const int scale : {1, 2, 3})
        for (const int width : {2, 3, 4, 5, 6}) {
            Canvas c(335, 229, scale);
            c.line(40, 100, 140, 100, width, ui::Solid, kInk);
            c.line(200, 40, 200, 140, width, ui::Dot, kInk);
            c.circle(260, 180, 30, width, ui::Solid, kInk);
            int across = 0, down = 0, ring = 0;
            for (int k = 0; k < c.deviceHeight(); ++k)
                across += c.devicePixel(90 * scale, k) == kInkPixel;
            for (int k = 0; k < c.deviceWidth(); ++k)
                down += c.devicePixel(k, 90 * scale) == kInkPixel;
            for (int k = 0; k < c.deviceHeight(); ++k)
                ring += c.devicePixel(260 * scale + scale / 2, k) == kInkPixel;
            EXPECT_EQ(across, width * scale) << "horizontal, width " << width << ", scale " << scale;
            EXPECT_EQ(down, width * scale) << "vertical, width " << width << ", scale " << scale;
            EXPECT_EQ(ring, 2 * width * scale) << "circle, width " << width << ", scale " << scale;
        }
}

// A dotted circle keeps its pattern in logical pixels from each axis: the
// same in all eight octants, and the same at scale 2 as at scale 1.
TEST(Raster, DottedCircleIsAlikeInEveryOctant)
{
    for (const int scale : {1, 2}) {
        Canvas c(335, 229, scale);
        const int x = 160, y = 110;
        c.circle(x, y, 40, 1, ui::Dot, kInk);
        // Along the top of the ring, from its top point outwards: one on, two off.
        std::string top;
        for (int k = 0; k < 7; ++k)
            top += c.at(x + k, y - 40) == kInk ? '#' : '.';
        EXPECT_EQ(top, "#..#..#") << "scale " << scale;
        // Mirrored across both axes and the diagonals through the centre.
        const double ux = device(x, scale), uy = device(y, scale);
        for (const auto& p : inked(c)) {
            const double dx = p.i + 0.5 - ux, dy = p.j + 0.5 - uy;
            for (const auto& [mx, my] : {std::pair{-dx, dy}, std::pair{dx, -dy}, std::pair{dy, dx}}) {
                const auto i = static_cast<int>(std::floor(ux + mx)), j = static_cast<int>(std::floor(uy + my));
                ASSERT_EQ(c.devicePixel(i, j), kInkPixel) << "scale " << scale << ": " << p.i << "," << p.j;
            }
        }
    }
}

// The drawing is drawn again at a new scale, crisp: the same pixels as if it
// had been drawn there; past the replay limit it is resampled instead.
TEST(Raster, NewScaleDrawsAgain)
{
    const auto draw = [](ui::raster::RasterPicture& p) {
        p.setBackColor(ui::rgb(250, 250, 210));
        p.cls();
        p.setDrawWidth(5);
        p.pset(30.5f, 40, std::nullopt);
        p.setDrawWidth(1);
        p.setDrawStyle(ui::Dot);
        p.line(10, 10, 300, 200, kInk);
        p.circle(150, 100, 80.25f, kInk);
    };
    ui::raster::RasterPicture moved(335, 229, 1), direct(335, 229, 2);
    draw(moved);
    draw(direct);
    moved.resizeCanvas(335, 229, 2);
    EXPECT_EQ(moved.canvas().pixels(), direct.canvas().pixels());

    ui::raster::RasterPicture busy(335, 229, 1);
    busy.setDrawWidth(1);
    for (std::size_t k = 0; k <= ui::raster::RasterPicture::kReplayLimit; ++k)
        busy.pset(static_cast<float>(k % 300), 7, kInk);
    busy.resizeCanvas(335, 229, 2);
    EXPECT_EQ(busy.canvas().deviceWidth(), 670);
    EXPECT_EQ(busy.canvas().devicePixel(20, 14), kInkPixel);
    EXPECT_EQ(busy.canvas().devicePixel(21, 15), kInkPixel); // an enlarged pixel
}

// Coordinates far beyond any surface, infinite or not a number draw nothing
// and harm nothing; a new scale keeps the drawing.
TEST(Raster, HopelessCoordinatesAndRescaling)
{
    Canvas c(335, 229, 1);
    const double inf = INFINITY;
    c.dot(inf, 10, 5, kInk);
    c.dot(1e300, -1e300, 5, kInk);
    c.line(NAN, 0, 10, 10, 1, ui::Solid, kInk);
    c.line(-1e300, 5, 1e300, 5.0000001, 1, ui::Solid, kInk); // crosses: drawn
    c.circle(10, 10, inf, 1, ui::Solid, kInk);
    c.circle(1e30, 1e30, 1e9, 3, ui::Solid, kInk);
    const auto pixels = inked(c);
    EXPECT_EQ(pixels.size(), 335u);
    for (const auto& p : pixels)
        EXPECT_EQ(p.j, 5);

    c.dot(100, 100, 4, kInk);
    c.resize(335, 229, 2);
    EXPECT_EQ(c.deviceWidth(), 670);
    EXPECT_EQ(c.at(100, 100), kInk);
    EXPECT_EQ(c.at(20, 5), kInk);
    EXPECT_EQ(c.at(20, 6), ui::rgb(255, 255, 255));
}

// One finest scale, whether the surface starts so fine or is made so later;
// a scale that is no positive number is 1.
struct ScaleCase {
    double asked, taken;
};

TEST(Raster, FinestScaleAtStartAndAfterAResize)
{
    const double fine = Canvas::kFinestScale;
    for (const ScaleCase& k :
         {ScaleCase{2, 2}, ScaleCase{fine, fine}, ScaleCase{fine + 0.5, fine}, ScaleCase{16, fine},
          ScaleCase{1e300, fine}, ScaleCase{INFINITY, 1}, ScaleCase{NAN, 1}, ScaleCase{0, 1}, ScaleCase{-3, 1}}) {
        const Canvas started(335, 229, k.asked);
        Canvas resized(335, 229, 1);
        resized.resize(335, 229, k.asked);
        for (const Canvas* c : {&started, static_cast<const Canvas*>(&resized)}) {
            EXPECT_EQ(c->scale(), k.taken) << "asked " << k.asked;
            EXPECT_EQ(c->deviceWidth(), std::lround(335 * k.taken)) << "asked " << k.asked;
        }
    }
}

// A surface asked for the size and scale it has already (once the finest
// scale is taken) neither draws anew nor tells its window of a change.
TEST(Raster, AnUnchangedSurfaceIsNotDrawnAgain)
{
    struct Counted final : ui::raster::RasterPicture {
        using RasterPicture::RasterPicture;
        int changes = 0;
        void changed() override { ++changes; }
    };
    struct Row {
        double asked;
        int changes;
    };
    const double fine = Canvas::kFinestScale;
    for (const Row& k : {Row{fine, 0}, Row{fine * 2, 0}, Row{fine / 2, 1}}) {
        Counted p(335, 229, fine);
        p.resizeCanvas(335, 229, k.asked);
        EXPECT_EQ(p.changes, k.changes) << "asked " << k.asked;
    }
    Counted p(335, 229, 1);
    p.resizeCanvas(336, 229, 1);
    EXPECT_EQ(p.changes, 1) << "a new width";
}

// ------------------------------------------------------------ exact pixels

// Small drawings with every device pixel written out: "#" ink, "." paper.
// The pictures follow the rules of canvas.h; the notes say which rule
// decides a pixel where it is a near thing (checked by hand).
struct PictureCase {
    const char* name;
    double scale;
    int width, height; // logical pixels
    void (*draw)(Canvas&);
    const char* rows; // device pixels, a line each
    friend void PrintTo(const PictureCase& c, std::ostream* os) { *os << c.name; }
};

// The canvas as rows of "#" (ink), "." (paper) and "?" (anything else).
std::vector<std::string> picture(const Canvas& c)
{
    std::vector<std::string> rows;
    for (int j = 0; j < c.deviceHeight(); ++j) {
        std::string row;
        for (int i = 0; i < c.deviceWidth(); ++i) {
            const auto p = c.devicePixel(i, j);
            row += p == kInkPixel ? '#' : p == kPaper ? '.' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

// The lines of a picture written as a raw string that starts on a new line.
std::vector<std::string> lines(std::string_view text)
{
    std::vector<std::string> out;
    for (size_t at = text.find('\n') + 1; at < text.size();) {
        const size_t end = text.find('\n', at);
        out.emplace_back(text.substr(at, end - at));
        at = end == std::string_view::npos ? text.size() : end + 1;
    }
    return out;
}

class ExactPixels : public testing::TestWithParam<PictureCase> {};

TEST_P(ExactPixels, EveryDevicePixel)
{
    const auto& p = GetParam();
    Canvas c(p.width, p.height, p.scale);
    p.draw(c);
    const auto expected = lines(p.rows);
    EXPECT_EQ(picture(c), expected);
    // A logical pixel reads as the device pixel under its middle.
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const auto i = static_cast<size_t>(std::floor((x + 0.5) * p.scale));
            const auto j = static_cast<size_t>(std::floor((y + 0.5) * p.scale));
            EXPECT_EQ(c.at(x, y) == kInk, expected.at(j).at(i) == '#') << "at(" << x << ", " << y << ")";
        }
}

// dot_width_1_scale_1, circle_radius_0_scale_1
constexpr const char* kDotWidth1Scale1 = R"(
...
.#.
...
)";
// dot_width_1_scale_1_5, circle_radius_0_scale_1_5
constexpr const char* kDotWidth1Scale15 = R"(
.....
.....
..#..
.....
.....
)";
// dot_width_1_scale_2, circle_radius_0_scale_2
constexpr const char* kDotWidth1Scale2 = R"(
......
......
..##..
..##..
......
......
)";
// dot_width_1_on_a_pixel_corner, circle_radius_0_on_a_pixel_corner
constexpr const char* kDotWidth1OnAPixelCorner = R"(
....
..#.
....
)";
// wide_2_level, wide_2_level_reversed
constexpr const char* kWide2Level = R"(
........
.######.
.######.
........
........
)";
// wide_3_sloped_scale_1_5, wide_3_sloped_reversed_scale_1_5
constexpr const char* kWide3SlopedScale15 = R"(
.###..........
######........
########......
##########....
..##########..
....#########.
......#######.
........#####.
..........###.
)";
// circle_radius_7, circle_radius_minus_7
constexpr const char* kCircleRadius7 = R"(
.................
......#####......
....##.....##....
...#.........#...
..#...........#..
..#...........#..
.#.............#.
.#.............#.
.#.............#.
.#.............#.
.#.............#.
..#...........#..
..#...........#..
...#.........#...
....##.....##....
......#####......
.................
)";

const PictureCase kPictures[] = {
    {"dot_width_1_scale_1", 1, 3, 3, [](Canvas& c) { c.dot(1, 1, 1, kInk); }, kDotWidth1Scale1},
    {"dot_width_1_scale_1_5", 1.5, 3, 3, [](Canvas& c) { c.dot(1, 1, 1, kInk); }, kDotWidth1Scale15},
    {"dot_width_1_scale_2", 2, 3, 3, [](Canvas& c) { c.dot(1, 1, 1, kInk); }, kDotWidth1Scale2},
    // The point (1.5, 0.5) is the corner of device pixels: no centre lies
    // closer than half a pixel to it, so the dot takes the pixel under it.
    {"dot_width_1_on_a_pixel_corner", 1, 4, 3, [](Canvas& c) { c.dot(1.5, 0.5, 1, kInk); }, kDotWidth1OnAPixelCorner},
    {"dot_width_5_scale_1", 1, 7, 7, [](Canvas& c) { c.dot(3, 3, 5, kInk); }, R"(
.......
..###..
.#####.
.#####.
.#####.
..###..
.......
)"},
    // The point's middle (5.25, 5.25) lies off the grid of centres: the dot is
    // lopsided, and the centres of row 1, exactly 3.75 above it on the rim,
    // stay out.
    {"dot_width_5_scale_1_5", 1.5, 7, 7, [](Canvas& c) { c.dot(3, 3, 5, kInk); }, R"(
...........
...........
...#####...
..#######..
..#######..
..#######..
..#######..
..######...
...####....
...........
...........
)"},
    {"dot_width_5_scale_2", 2, 7, 7, [](Canvas& c) { c.dot(3, 3, 5, kInk); }, R"(
..............
..............
.....####.....
...########...
...########...
..##########..
..##########..
..##########..
..##########..
...########...
...########...
.....####.....
..............
..............
)"},
    // A dot every 3 steps from the first point: 1, 4, 7, 10 one way,
    // 11, 8, 5, 2 the other.
    {"dotted_slope_0", 1, 13, 3, [](Canvas& c) { c.line(1, 1, 11, 1, 1, ui::Dot, kInk); }, R"(
.............
.#..#..#..#..
.............
)"},
    {"dotted_slope_0_reversed", 1, 13, 3, [](Canvas& c) { c.line(11, 1, 1, 1, 1, ui::Dot, kInk); }, R"(
.............
..#..#..#..#.
.............
)"},
    {"dotted_slope_0_5", 1, 13, 8, [](Canvas& c) { c.line(1, 1, 11, 6, 1, ui::Dot, kInk); }, R"(
.............
.#...........
.............
....#........
.......#.....
..........#..
.............
.............
)"},
    {"dotted_slope_0_5_reversed", 1, 13, 8, [](Canvas& c) { c.line(11, 6, 1, 1, 1, ui::Dot, kInk); }, R"(
.............
.............
..#..........
.....#.......
........#....
.............
...........#.
.............
)"},
    // From a half pixel the first row's centre lies a whole pixel past the
    // pen's edge, in the pattern's gap: the dots come every 3 rows after it.
    {"dotted_slope_1_2", 1, 13, 15, [](Canvas& c) { c.line(1, 1.5, 11, 13.5, 1, ui::Dot, kInk); }, R"(
.............
.............
.............
.............
...#.........
.............
.............
......#......
.............
.............
........#....
.............
.............
...........#.
.............
)"},
    {"dotted_slope_1_2_reversed", 1, 13, 15, [](Canvas& c) { c.line(11, 13.5, 1, 1.5, 1, ui::Dot, kInk); }, R"(
.............
.............
.#...........
.............
.............
....#........
.............
.............
......#......
.............
.............
.........#...
.............
.............
.............
)"},
    {"dotted_slope_3", 1, 7, 15, [](Canvas& c) { c.line(1, 1.5, 5, 13.5, 1, ui::Dot, kInk); }, R"(
.......
.......
.......
.......
..#....
.......
.......
...#...
.......
.......
....#..
.......
.......
.....#.
.......
)"},
    {"dotted_slope_3_reversed", 1, 7, 15, [](Canvas& c) { c.line(5, 13.5, 1, 1.5, 1, ui::Dot, kInk); }, R"(
.......
.......
.#.....
.......
.......
..#....
.......
.......
...#...
.......
.......
....#..
.......
.......
.......
)"},
    // At 1.5 a logical pixel of the pattern is one or two device steps.
    {"dotted_slope_0_5_scale_1_5", 1.5, 9, 6, [](Canvas& c) { c.line(1, 1, 7, 4, 1, ui::Dot, kInk); }, R"(
..............
..............
..#...........
..............
......#.......
..............
..........##..
..............
..............
)"},
    {"dotted_slope_1_2_reversed_scale_1_5", 1.5, 7, 8, [](Canvas& c) { c.line(5, 6, 1, 1, 1, ui::Dot, kInk); }, R"(
...........
...........
...........
...........
...........
....##.....
...........
...........
...........
.......##..
...........
...........
)"},
    {"dotted_slope_3_scale_2", 2, 4, 9, [](Canvas& c) { c.line(1, 1, 3, 7, 1, ui::Dot, kInk); }, R"(
........
........
..##....
..##....
........
........
........
........
....##..
....##..
........
........
........
........
......##
......##
........
........
)"},
    {"dotted_slope_0_reversed_scale_2", 2, 9, 3, [](Canvas& c) { c.line(7, 1, 1, 1, 1, ui::Dot, kInk); }, R"(
..................
..................
..##....##....##..
..##....##....##..
..................
..................
)"},
    // Pixel 1's centre lies exactly half a pen before 1.5 (device 2.0): the
    // extent is open there, so both lines are 5 pixels long.
    {"solid_from_a_half_pixel", 1, 8, 3,
     [](Canvas& c) {
         c.line(1.5, 1, 6, 1, 1, ui::Solid, kInk);
         c.line(6, 2, 1.5, 2, 1, ui::Solid, kInk);
     },
     R"(
........
..#####.
..#####.
)"},
    {"solid_sloped_scale_1_5", 1.5, 8, 5, [](Canvas& c) { c.line(1, 1, 6, 3, 1, ui::Solid, kInk); }, R"(
............
............
..###.......
...####.....
......####..
.........#..
............
............
)"},
    // The pattern counts from the first point, off the surface.
    {"clipped_dotted", 1, 8, 5, [](Canvas& c) { c.line(-7, -3, 13, 7, 1, ui::Dot, kInk); }, R"(
........
........
..#.....
.....#..
........
)"},
    {"clipped_solid_scale_1_5", 1.5, 6, 4, [](Canvas& c) { c.line(2, 1, 30, 9, 1, ui::Solid, kInk); }, R"(
.........
.........
...####..
.....####
.........
.........
)"},
    // The pen's edges pass through the centres of rows 1 and 3: the band is
    // closed on top, so rows 1 and 2, in either order of the ends; column 0 is
    // exactly half a pen from the end point and stays out.
    {"wide_2_level", 1, 8, 5, [](Canvas& c) { c.line(1, 2, 6, 2, 2, ui::Solid, kInk); }, kWide2Level},
    {"wide_2_level_reversed", 1, 8, 5, [](Canvas& c) { c.line(6, 2, 1, 2, 2, ui::Solid, kInk); }, kWide2Level},
    {"wide_3_sloped_scale_1_5", 1.5, 9, 6, [](Canvas& c) { c.line(1, 1, 7, 4, 3, ui::Solid, kInk); },
     kWide3SlopedScale15},
    {"wide_3_sloped_reversed_scale_1_5", 1.5, 9, 6, [](Canvas& c) { c.line(7, 4, 1, 1, 3, ui::Solid, kInk); },
     kWide3SlopedScale15},
    {"wide_2_upright_scale_2", 2, 4, 6, [](Canvas& c) { c.line(1, 1, 1, 4, 2, ui::Solid, kInk); }, R"(
........
..##....
.####...
.####...
.####...
.####...
.####...
.####...
.####...
.####...
..##....
........
)"},
    // A circle of radius 0 is the pen's dot.
    {"circle_radius_0_scale_1", 1, 3, 3, [](Canvas& c) { c.circle(1, 1, 0, 1, ui::Solid, kInk); }, kDotWidth1Scale1},
    {"circle_radius_1_scale_1", 1, 5, 5, [](Canvas& c) { c.circle(2, 2, 1, 1, ui::Solid, kInk); }, R"(
.....
.###.
.#.#.
.###.
.....
)"},
    {"circle_radius_0_scale_1_5", 1.5, 3, 3, [](Canvas& c) { c.circle(1, 1, 0, 1, ui::Solid, kInk); },
     kDotWidth1Scale15},
    {"circle_radius_1_scale_1_5", 1.5, 5, 5, [](Canvas& c) { c.circle(2, 2, 1, 1, ui::Solid, kInk); }, R"(
........
........
..####..
..#.##..
..####..
..###...
........
........
)"},
    {"circle_radius_0_scale_2", 2, 3, 3, [](Canvas& c) { c.circle(1, 1, 0, 1, ui::Solid, kInk); }, kDotWidth1Scale2},
    {"circle_radius_1_scale_2", 2, 5, 5, [](Canvas& c) { c.circle(2, 2, 1, 1, ui::Solid, kInk); }, R"(
..........
..........
...####...
..######..
..##..##..
..##..##..
..######..
...####...
..........
..........
)"},
    {"circle_radius_1_dotted", 1, 5, 5, [](Canvas& c) { c.circle(2, 2, 1, 1, ui::Dot, kInk); }, R"(
.....
..#..
.#.#.
..#..
.....
)"},
    // Columns 2 and 3 of row 2 lie exactly on the inner rim, half a pixel from
    // the middle (3, 2.5): the ring is closed there on both sides, and open on
    // the outer rim (columns 1 and 4).
    {"circle_radius_1_at_a_half_pixel", 1, 6, 5, [](Canvas& c) { c.circle(2.5, 2, 1, 1, ui::Solid, kInk); }, R"(
......
..##..
..##..
..##..
......
)"},
    // Rows 1 and 4 of column 2 lie exactly on the outer rim, 1.5 above and
    // below the middle (2.5, 3): they stay out.
    {"circle_radius_1_half_a_pixel_down", 1, 5, 6, [](Canvas& c) { c.circle(2, 2.5, 1, 1, ui::Solid, kInk); }, R"(
.....
.....
.###.
.###.
.....
.....
)"},
    // A dotted circle of radius 0 is the pen's dot too, which takes the pixel
    // under its point where it covers no centre.
    {"circle_radius_0_on_a_pixel_corner", 1, 4, 3, [](Canvas& c) { c.circle(1.5, 0.5, 0, 1, ui::Dot, kInk); },
     kDotWidth1OnAPixelCorner},
    // The ring is 4 <= d < 5 from the middle of (5, 5): the pixels 3 across
    // and 4 down from it (or 4 across, 3 down) lie exactly on the outer rim and
    // stay out; those 4 straight across or down lie on the inner rim and are in.
    {"circle_radius_4_5", 1, 11, 11, [](Canvas& c) { c.circle(5, 5, 4.5, 1, ui::Solid, kInk); }, R"(
...........
...#####...
..#.....#..
.#.......#.
.#.......#.
.#.......#.
.#.......#.
.#.......#.
..#.....#..
...#####...
...........
)"},
    {"circle_radius_7", 1, 17, 17, [](Canvas& c) { c.circle(8, 8, 7, 1, ui::Solid, kInk); }, kCircleRadius7},
    // A negative radius draws as its magnitude.
    {"circle_radius_minus_7", 1, 17, 17, [](Canvas& c) { c.circle(8, 8, -7, 1, ui::Solid, kInk); }, kCircleRadius7},
    {"circle_radius_3_scale_1_5", 1.5, 9, 9, [](Canvas& c) { c.circle(4, 4, 3, 1, ui::Solid, kInk); }, R"(
..............
..............
....######....
...##....##...
..##......#...
..#.......##..
..#.......##..
..#.......##..
..#.......##..
..##.....##...
...#######....
.....####.....
..............
..............
)"},
    {"circle_radius_7_dotted", 1, 17, 17, [](Canvas& c) { c.circle(8, 8, 7, 1, ui::Dot, kInk); }, R"(
.................
........#........
.....#.....#.....
.................
.................
..#...........#..
.................
.................
.#.............#.
.................
.................
..#...........#..
.................
.................
.....#.....#.....
........#........
.................
)"},
    // The pattern counts logical pixels from the axes: the top point's logical
    // pixel is device columns 8 and 9 (dx -0.5 and 0.5 from the middle, step
    // 0.75), on; columns 7 and 10 (dx -1.5 and 1.5, step 1.25) are off.
    {"circle_radius_3_dotted_scale_2", 2, 9, 9, [](Canvas& c) { c.circle(4, 4, 3, 1, ui::Dot, kInk); }, R"(
..................
..................
........##........
........##........
..................
..................
..................
..................
..##..........##..
..##..........##..
..................
..................
..................
..................
........##........
........##........
..................
..................
)"},
    // Below scale 1 a device pixel is a step of the pattern and a pen is one
    // device pixel wide.
    {"dotted_level_scale_0_5", 0.5, 12, 4, [](Canvas& c) { c.line(0, 1, 11, 1, 1, ui::Dot, kInk); }, R"(
#..#..
......
)"},
    {"solid_sloped_scale_0_5", 0.5, 14, 8, [](Canvas& c) { c.line(0, 0, 13, 6, 1, ui::Solid, kInk); }, R"(
##.....
..##...
....##.
......#
)"},
    {"circle_radius_5_scale_0_5", 0.5, 13, 13, [](Canvas& c) { c.circle(6, 6, 5, 1, ui::Solid, kInk); }, R"(
..##...
.#..##.
#....#.
#....#.
.#...#.
.####..
.......
)"},
    {"circle_radius_5_dotted_scale_0_5", 0.5, 13, 13, [](Canvas& c) { c.circle(6, 6, 5, 1, ui::Dot, kInk); }, R"(
...#...
.......
.......
#....#.
.......
...#...
.......
)"},
};

INSTANTIATE_TEST_SUITE_P(Drawings, ExactPixels, testing::ValuesIn(kPictures),
                         [](const auto& info) { return std::string(info.param.name); });

// The surface's own rules, pixel for pixel: "#" ink, "o" the colour of the
// last Cls, "." white.
constexpr ui::Rgb kClsColour = ui::rgb(250, 250, 210);

struct SurfaceCase {
    const char* name;
    void (*draw)(ui::raster::RasterPicture&);
    double newScale; // the surface is 3 x 3 at scale 1, then takes this one
    const char* rows;
    friend void PrintTo(const SurfaceCase& c, std::ostream* os) { *os << c.name; }
};

class SurfacePixels : public testing::TestWithParam<SurfaceCase> {};

TEST_P(SurfacePixels, AfterANewScale)
{
    const auto& p = GetParam();
    ui::raster::RasterPicture surface(3, 3, 1);
    p.draw(surface);
    surface.resizeCanvas(3, 3, p.newScale);
    const auto& c = surface.canvas();
    std::vector<std::string> rows;
    for (int j = 0; j < c.deviceHeight(); ++j) {
        std::string row;
        for (int i = 0; i < c.deviceWidth(); ++i) {
            const auto px = c.devicePixel(i, j);
            row += px == kInkPixel ? '#' : px == toPixel(kClsColour) ? 'o' : px == kPaper ? '.' : '?';
        }
        rows.push_back(row);
    }
    EXPECT_EQ(rows, lines(p.rows));
}

// A dot 2 pixels wide at (1, 1), then `count` drawing calls in all.
void dotsInAll(ui::raster::RasterPicture& s, std::size_t count)
{
    s.setDrawWidth(2);
    s.pset(1, 1, kInk);
    s.setDrawWidth(1);
    for (std::size_t k = 1; k < count; ++k)
        s.pset(1, 1, kInk);
}

constexpr std::size_t kLimit = ui::raster::RasterPicture::kReplayLimit;

const SurfaceCase kSurfaces[] = {
    SurfaceCase{"cls_in_its_colour",
                [](ui::raster::RasterPicture& s) {
                    s.setBackColor(kClsColour);
                    s.cls();
                    s.pset(1, 1, kInk);
                },
                1,
                R"(
ooo
o#o
ooo
)"},
    // Redrawn on the colour of the last Cls, not on the back colour set since.
    SurfaceCase{"redrawn_on_the_cls_colour",
                [](ui::raster::RasterPicture& s) {
                    s.setBackColor(kClsColour);
                    s.cls();
                    s.setBackColor(ui::rgb(0, 0, 255));
                    s.pset(1, 1, kInk);
                },
                2,
                R"(
oooooo
oooooo
oo##oo
oo##oo
oooooo
oooooo
)"},
    // Up to the limit the drawing is drawn again: the dot of width 2 at 1.5
    // has its middle at (2.25, 2.25) and a radius of 1.5; the centre (3.5,
    // 3.5) lies 1.77 from it.
    SurfaceCase{"replay_up_to_the_limit", [](ui::raster::RasterPicture& s) { dotsInAll(s, kLimit); }, 1.5,
                R"(
.....
.###.
.###.
.##..
.....
)"},
    // One call more and the old pixels are resampled: at scale 1 the dot was
    // the one pixel (1, 1), and a new pixel takes the old one under its
    // centre, (i + 0.5) / 1.5: columns and rows 1 and 2 take old 1, 3 takes
    // old 2, and 4 lies past the old buffer and stays white.
    SurfaceCase{"resampled_past_the_limit", [](ui::raster::RasterPicture& s) { dotsInAll(s, kLimit + 1); }, 1.5,
                R"(
.....
.##..
.##..
.....
.....
)"},
    // Cls forgets the drawing, and with it that it was too long to replay.
    SurfaceCase{"cls_ends_the_resampling",
                [](ui::raster::RasterPicture& s) {
                    dotsInAll(s, kLimit + 1);
                    s.setBackColor(kClsColour);
                    s.cls();
                    dotsInAll(s, 1);
                },
                1.5,
                R"(
ooooo
o###o
o###o
o##oo
ooooo
)"},
    // Inside solid is a style of its own: a one-pixel line is solid.
    SurfaceCase{"inside_solid_after_dot",
                [](ui::raster::RasterPicture& s) {
                    s.setDrawStyle(ui::Dot);
                    s.setDrawStyle(ui::InsideSolid);
                    s.line(0, 1, 2, 1, kInk);
                },
                1,
                R"(
...
###
...
)"},
};

INSTANTIATE_TEST_SUITE_P(Surfaces, SurfacePixels, testing::ValuesIn(kSurfaces),
                         [](const auto& info) { return std::string(info.param.name); });

// The whole drawings every edition must show, on the in-memory window.
class FixedDrawing : public testing::TestWithParam<testing_support::FixedDrawing> {};

TEST_P(FixedDrawing, HasItsPixels)
{
    const auto& d = GetParam();
    testing_support::MemoryWindow w;
    auto& picture = w.form.Picture1();
    picture.resizeCanvas(335, 229, d.scale);
    for (int k = 0; k < 3; ++k)
        w.press(d.points[2 * k], d.points[2 * k + 1]);
    w.calculate();
    const auto& c = picture.canvas();
    ASSERT_EQ(c.deviceWidth(), d.deviceWidth);
    ASSERT_EQ(c.deviceHeight(), d.deviceHeight);
    EXPECT_EQ(testing_support::pixelHash(c.pixels().data(), c.pixels().size()), d.hash)
        << std::hex << testing_support::pixelHash(c.pixels().data(), c.pixels().size());
}

INSTANTIATE_TEST_SUITE_P(Drawings, FixedDrawing, testing::ValuesIn(testing_support::fixedDrawings()),
                         [](const auto& info) { return info.param.name; });

} // namespace
