#include "ui/raster/canvas.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>
#include <span>
#include <utility>

namespace ui::raster {

namespace {

constexpr Pixel kWhite = 0xFFFFFFFFU;
constexpr double kInf = std::numeric_limits<double>::infinity();

// The device pixel index range in which pixel centres (i + 0.5) satisfy a
// bound. The values are clamped to +-2^52 first, so that any finite
// coordinate converts safely; indices that far are clipped anyway.
// Not a number (an overflow inside) gives an index beyond any buffer.
double clampIndex(double v) { return std::isnan(v) ? 4.5e15 : std::clamp(v, -4.5e15, 4.5e15); }
// Smallest i with i + 0.5 > a.
long long firstAbove(double a) { return static_cast<long long>(clampIndex(std::floor(a - 0.5) + 1)); }
// Smallest i with i + 0.5 >= a.
long long firstAtOrAbove(double a) { return static_cast<long long>(clampIndex(std::ceil(a - 0.5))); }
// Largest i with i + 0.5 < b.
long long lastBelow(double b) { return static_cast<long long>(clampIndex(std::ceil(b - 0.5) - 1)); }
// Largest i with i + 0.5 <= b.
long long lastAtOrBelow(double b) { return static_cast<long long>(clampIndex(std::floor(b - 0.5))); }

bool finite(std::initializer_list<double> values)
{
    return std::all_of(values.begin(), values.end(), [](double v) { return std::isfinite(v); });
}

// A pen's width in device pixels: never narrower than one, so that below
// scale 1 a line or a ring has no gaps across it.
double penOf(int width, double scale) { return std::max(std::max(1, width) * scale, 1.0); }

// The dash patterns of a one-pixel pen, in logical pixels: on, off, on, ...
std::span<const int> patternOf(int style)
{
    static constexpr std::array<int, 2> dash{4, 2};
    static constexpr std::array<int, 2> dot{1, 2};
    static constexpr std::array<int, 4> dashDot{4, 2, 1, 2};
    static constexpr std::array<int, 6> dashDotDot{4, 2, 1, 2, 1, 2};
    switch (style) {
    case Dash: return dash;
    case Dot: return dot;
    case DashDot: return dashDot;
    case DashDotDot: return dashDotDot;
    default: return {};
    }
}

// Whether the pattern is on at the distance t (logical pixels) from its start.
bool patternOn(std::span<const int> pattern, double t)
{
    if (pattern.empty())
        return true;
    int period = 0;
    for (int n : pattern)
        period += n;
    auto at = static_cast<long long>(std::fmod(std::floor(std::max(0.0, t)), static_cast<double>(period)));
    for (size_t k = 0; k < pattern.size(); ++k) {
        if (at < pattern[k])
            return k % 2 == 0;
        at -= pattern[k];
    }
    return false;
}

// The pixels across a one-pixel line at m: the pen's width of pixel centres
// around it, clipped to [0, count). A centre exactly on the pen's edge goes
// with the side toward the line's middle (`before` it: the upper side), so
// that a line is symmetric about its middle point.
std::pair<long long, long long> penAcross(double m, double half, bool before, long long count)
{
    const long long from = before ? firstAbove(m - half) : firstAtOrAbove(m - half);
    const long long to = before ? lastAtOrBelow(m + half) : lastBelow(m + half);
    return {std::max(from, 0LL), std::min(to, count - 1)};
}

// An interval of x with closed or open ends; empty when nothing lies in it.
struct Interval {
    double lo = -kInf, hi = kInf;
    bool loClosed = true, hiClosed = true;

    bool empty() const { return lo > hi || (lo == hi && !(loClosed && hiClosed)); }
    // The pixel centres inside it.
    std::pair<long long, long long> indices() const
    {
        return {loClosed ? firstAtOrAbove(lo) : firstAbove(lo), hiClosed ? lastAtOrBelow(hi) : lastBelow(hi)};
    }
    // Keeps the x where a * x + b lies between low and high, each end closed
    // or open as given.
    void keep(double a, double b, double low, bool lowClosed, double high, bool highClosed)
    {
        if (a == 0) {
            const bool inside = (b > low || (lowClosed && b == low)) && (b < high || (highClosed && b == high));
            if (!inside)
                *this = {kInf, -kInf, false, false};
            return;
        }
        double x1 = (low - b) / a, x2 = (high - b) / a;
        bool c1 = lowClosed, c2 = highClosed;
        if (a < 0) {
            std::swap(x1, x2);
            std::swap(c1, c2);
        }
        if (x1 > lo || (x1 == lo && !c1)) {
            lo = x1;
            loClosed = c1;
        }
        if (x2 < hi || (x2 == hi && !c2)) {
            hi = x2;
            hiClosed = c2;
        }
    }
};

} // namespace

Canvas::Canvas(int width, int height, double scale) { resize(width, height, scale); }

double Canvas::takenScale(double asked)
{
    if (!(asked > 0) || !std::isfinite(asked))
        return 1.0;
    return std::min(asked, kFinestScale);
}

void Canvas::resize(int width, int height, double scale)
{
    scale = takenScale(scale);
    // Sizes beyond any screen are cut down rather than overflowing.
    width = std::clamp(width, 0, 1 << 15);
    height = std::clamp(height, 0, 1 << 15);
    const int dw = static_cast<int>(std::lround(width * scale));
    const int dh = static_cast<int>(std::lround(height * scale));
    if (dw == deviceWidth_ && dh == deviceHeight_ && scale == scale_) {
        width_ = width;
        height_ = height;
        return;
    }
    std::vector<Pixel> fresh(static_cast<size_t>(dw) * static_cast<size_t>(dh), kWhite);
    // The old drawing, each new device pixel taking the old one under its
    // centre.
    const double ratio = scale_ / scale;
    for (int j = 0; j < dh; ++j) {
        const auto oj = static_cast<int>(std::floor((j + 0.5) * ratio));
        if (oj >= deviceHeight_)
            break;
        for (int i = 0; i < dw; ++i) {
            const auto oi = static_cast<int>(std::floor((i + 0.5) * ratio));
            if (oi >= deviceWidth_)
                break;
            fresh[static_cast<size_t>(j) * static_cast<size_t>(dw) + static_cast<size_t>(i)]
                = pixels_[static_cast<size_t>(oj) * static_cast<size_t>(deviceWidth_) + static_cast<size_t>(oi)];
        }
    }
    width_ = width;
    height_ = height;
    scale_ = scale;
    deviceWidth_ = dw;
    deviceHeight_ = dh;
    pixels_ = std::move(fresh);
}

Pixel Canvas::devicePixel(int i, int j) const
{
    if (i < 0 || j < 0 || i >= deviceWidth_ || j >= deviceHeight_)
        return kWhite;
    return pixels_[static_cast<size_t>(j) * static_cast<size_t>(deviceWidth_) + static_cast<size_t>(i)];
}

Rgb Canvas::at(int x, int y) const
{
    if (x < 0 || y < 0 || x >= width_ || y >= height_)
        return toRgb(kWhite);
    const auto i = static_cast<int>(std::floor((x + 0.5) * scale_));
    const auto j = static_cast<int>(std::floor((y + 0.5) * scale_));
    return toRgb(devicePixel(i, j));
}

void Canvas::fill(Rgb colour) { std::fill(pixels_.begin(), pixels_.end(), toPixel(colour)); }

void Canvas::span(long long j, long long first, long long last, Pixel colour)
{
    if (j < 0 || j >= deviceHeight_)
        return;
    first = std::max(first, 0LL);
    last = std::min(last, static_cast<long long>(deviceWidth_) - 1);
    if (first > last)
        return;
    const auto row = pixels_.begin() + static_cast<std::ptrdiff_t>(j * deviceWidth_);
    std::fill(row + static_cast<std::ptrdiff_t>(first), row + static_cast<std::ptrdiff_t>(last) + 1, colour);
}

void Canvas::dot(double x, double y, int width, Rgb colour)
{
    const double r = std::max(1, width) / 2.0 * scale_;
    const double cx = (x + 0.5) * scale_, cy = (y + 0.5) * scale_;
    if (!finite({cx, cy}))
        return;
    const Pixel c = toPixel(colour);
    const long long top = std::max(firstAbove(cy - r), 0LL);
    const long long bottom = std::min(lastBelow(cy + r), static_cast<long long>(deviceHeight_) - 1);
    bool painted = false;
    for (long long j = top; j <= bottom; ++j) {
        const double dy = static_cast<double>(j) + 0.5 - cy;
        // A pixel centre exactly on the rim stays outside: less than half
        // of that pixel is covered, and it would stick out alone.
        if (dy * dy >= r * r)
            continue;
        const double half = std::sqrt(r * r - dy * dy);
        const long long first = firstAbove(cx - half), last = lastBelow(cx + half);
        span(j, first, last, c);
        painted = painted || first <= last;
    }
    // A dot narrower than the gap between pixel centres still shows: it
    // takes the device pixel under its point.
    if (!painted) {
        const double i = std::floor(cx), j = std::floor(cy);
        if (i >= 0 && j >= 0 && i < deviceWidth_ && j < deviceHeight_)
            span(static_cast<long long>(j), static_cast<long long>(i), static_cast<long long>(i), c);
    }
}

void Canvas::line(double x1, double y1, double x2, double y2, int width, int style, Rgb colour)
{
    const double u0 = (x1 + 0.5) * scale_, v0 = (y1 + 0.5) * scale_;
    const double u1 = (x2 + 0.5) * scale_, v1 = (y2 + 0.5) * scale_;
    if (!finite({u0, v0, u1, v1}) || style == Transparent)
        return;
    if (width <= 1)
        thinLine(u0, v0, u1, v1, style, toPixel(colour));
    else
        wideLine(u0, v0, u1, v1, penOf(width, scale_) / 2, toPixel(colour));
}

void Canvas::thinLine(double u0, double v0, double u1, double v1, int style, Pixel colour)
{
    // Walk along the major axis; (M, m) are the major and minor coordinates.
    const bool xMajor = std::fabs(u1 - u0) >= std::fabs(v1 - v0);
    const double M0 = xMajor ? u0 : v0, m0 = xMajor ? v0 : u0;
    const double M1 = xMajor ? u1 : v1, m1 = xMajor ? v1 : u1;
    const long long majorCount = xMajor ? deviceWidth_ : deviceHeight_;
    const long long minorCount = xMajor ? deviceHeight_ : deviceWidth_;
    const double half = penOf(1, scale_) / 2;
    const double lowM = std::min(M0, M1), highM = std::max(M0, M1);
    const double dM = M1 - M0, dm = m1 - m0;
    const auto pattern = patternOf(style);
    const double direction = M1 < M0 ? -1 : 1;
    const double mMiddle = (m0 + m1) / 2;
    const double patternScale = std::max(scale_, 1.0);

    // The pixel centres strictly inside the extent, so that a line drawn
    // from a half pixel is as long at both ends; the half-open extent only
    // where that leaves none.
    long long first = firstAbove(lowM - half), last = lastBelow(highM + half);
    if (first > last) {
        first = firstAtOrAbove(lowM - half);
        last = lastBelow(highM + half);
    }
    first = std::max(first, 0LL);
    last = std::min(last, majorCount - 1);
    for (long long i = first; i <= last; ++i) {
        const double centre = static_cast<double>(i) + 0.5;
        if (!pattern.empty()) {
            // The pattern counts steps along the major axis, in logical
            // pixels from the pen's edge before the first point: a step
            // covers at most one logical pixel of it, so no "on" run of the
            // pattern is stepped over at any slope, and a diagonal shows its
            // dots as an axis-parallel line does, at most a factor of the
            // square root of 2 further apart.
            const double t = ((centre - M0) * direction + half) / patternScale;
            if (!patternOn(pattern, t))
                continue;
        }
        // Beyond an end the line goes on straight for half a pen.
        const double c = std::clamp(centre, lowM, highM);
        const double m = dM == 0 ? m0 : m0 + (c - M0) * dm / dM;
        const auto [from, to] = penAcross(m, half, m < mMiddle, minorCount);
        for (long long j = from; j <= to; ++j) {
            if (xMajor)
                span(j, i, i, colour);
            else
                span(i, j, j, colour);
        }
    }
}

void Canvas::wideLine(double u0, double v0, double u1, double v1, double half, Pixel colour)
{
    // The band of the pen's width along the segment, closed on one side and
    // open on the other as a ring is, so that an axis-parallel line of width
    // w is w * s pixels thick; and round ends: the pixel centres closer than
    // `half` to an end point. For each row the union is one run, the shape
    // being convex.
    // One direction for either order of the ends, so that both give the same
    // pixels: downwards, and leftwards when level. The band is then closed
    // on the left and top of an axis-parallel line, as the pixels across a
    // one-pixel line are.
    if (v1 < v0 || (v1 == v0 && u1 > u0)) {
        std::swap(u0, u1);
        std::swap(v0, v1);
    }
    const double du = u1 - u0, dv = v1 - v0;
    const double length = std::sqrt(du * du + dv * dv);
    const long long top = std::max(firstAtOrAbove(v0 - half), 0LL);
    const long long bottom = std::min(lastAtOrBelow(v1 + half), static_cast<long long>(deviceHeight_) - 1);
    for (long long j = top; j <= bottom; ++j) {
        const double y = static_cast<double>(j) + 0.5;
        long long first = std::numeric_limits<long long>::max(), last = std::numeric_limits<long long>::min();
        const auto unite = [&](std::pair<long long, long long> run) {
            if (run.first > run.second)
                return;
            first = std::min(first, run.first);
            last = std::max(last, run.second);
        };
        for (const auto& [pu, pv] : {std::pair{u0, v0}, std::pair{u1, v1}}) {
            const double dy = y - pv;
            if (dy * dy < half * half) {
                const double w = std::sqrt(half * half - dy * dy);
                unite({firstAbove(pu - w), lastBelow(pu + w)});
            }
        }
        if (length > 0) {
            // In x - u0, which keeps far-off segments precise: the projection
            // onto the segment within [0, length^2], the signed distance
            // from its line (times length) within [-half, half).
            Interval band;
            band.keep(du, (y - v0) * dv, 0, true, length * length, true);
            band.keep(dv, -(y - v0) * du, -half * length, true, half * length, false);
            if (!band.empty()) {
                band.lo += u0;
                band.hi += u0;
                unite(band.indices());
            }
        }
        if (first <= last)
            span(j, first, last, colour);
    }
}

void Canvas::circle(double x, double y, double r, int width, int style, Rgb colour)
{
    const double cx = (x + 0.5) * scale_, cy = (y + 0.5) * scale_;
    const double radius = std::fabs(r) * scale_;
    if (!finite({cx, cy, radius}) || style == Transparent)
        return;
    if (radius == 0) {
        // A circle without a radius is the pen's dot.
        dot(x, y, width, colour);
        return;
    }
    const Pixel c = toPixel(colour);
    const double pen = penOf(width, scale_);
    const double outer = radius + pen / 2, inner = radius - pen / 2;
    const auto pattern = width <= 1 ? patternOf(style) : std::span<const int>{};
    const double patternScale = std::max(scale_, 1.0);

    // Row by row, only the rows of the buffer: the ring's pixels in a row
    // are the centres with inner <= distance < outer, one or two runs.
    const auto fill = [&](long long j, long long first, long long last, double dy) {
        if (pattern.empty()) {
            span(j, first, last, c);
            return;
        }
        first = std::max(first, 0LL);
        last = std::min(last, static_cast<long long>(deviceWidth_) - 1);
        for (long long i = first; i <= last; ++i) {
            // As a one-pixel line counts its steps along its major axis, the
            // pattern counts the steps from the nearest axis through the
            // centre: the same in all eight octants, and continuous where
            // they meet.
            const double dx = static_cast<double>(i) + 0.5 - cx;
            if (patternOn(pattern, std::min(std::fabs(dx), std::fabs(dy)) / patternScale + 0.5))
                span(j, i, i, c);
        }
    };
    const long long top = std::max(firstAbove(cy - outer), 0LL);
    const long long bottom = std::min(lastBelow(cy + outer), static_cast<long long>(deviceHeight_) - 1);
    for (long long j = top; j <= bottom; ++j) {
        const double dy = static_cast<double>(j) + 0.5 - cy;
        const double ady = std::fabs(dy);
        if (ady >= outer)
            continue;
        const double xo = std::sqrt((outer - ady) * (outer + ady));
        if (inner > 0 && ady < inner) {
            const double xi = std::sqrt((inner - ady) * (inner + ady));
            fill(j, firstAbove(cx - xo), lastAtOrBelow(cx - xi), dy);
            fill(j, firstAtOrAbove(cx + xi), lastBelow(cx + xo), dy);
        } else {
            fill(j, firstAbove(cx - xo), lastBelow(cx + xo), dy);
        }
    }
}

} // namespace ui::raster
