#pragma once
// The operations the program's logic needs from its window's controls.
//
// Five kinds of control: the drawing surface, list boxes, multi-line text
// boxes, command buttons and labels. The logic reaches the toolkit only
// through these interfaces, so the whole program runs the same in every
// edition (desktop/ on Qt Widgets, and the others beside it) and on the
// in-memory controls (ui/memory) of the tests. Nothing here knows a toolkit.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace ui {

// A 24-bit colour.
struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend constexpr bool operator==(Rgb, Rgb) = default;
};

constexpr Rgb rgb(int r, int g, int b)
{
    return Rgb{static_cast<std::uint8_t>(r), static_cast<std::uint8_t>(g), static_cast<std::uint8_t>(b)};
}

// Line styles of the drawing surface's pen.
enum DrawStyleKind : int {
    Solid = 0,
    Dash = 1,
    Dot = 2,
    DashDot = 3,
    DashDotDot = 4,
    Transparent = 5,
    InsideSolid = 6,
};

// Raised for a mouse press over the drawing surface: button, shift state and
// the pointer position in pixels of the surface.
using MouseDownHandler = std::function<void(std::int16_t button, std::int16_t shift, float x, float y)>;
using ClickHandler = std::function<void()>;

// The drawing surface. Coordinates are pixels, origin top-left, y downwards.
// A drawing call without a colour uses the surface's foreground colour.
class PictureBox {
public:
    virtual ~PictureBox() = default;

    virtual void setScaleMode(int mode) = 0;
    virtual float scaleHeight() const = 0;
    virtual void setAutoRedraw(bool on) = 0;
    virtual void setBackColor(Rgb colour) = 0;
    // Erases everything drawn to the background colour; the pen stays.
    virtual void cls() = 0;
    virtual void setDrawWidth(int pixels) = 0;
    virtual void setDrawStyle(int style) = 0;
    virtual int drawWidth() const = 0;
    virtual int drawStyle() const = 0;

    // A filled dot of diameter drawWidth() centred on (x, y).
    virtual void pset(float x, float y, std::optional<Rgb> colour = std::nullopt) = 0;
    virtual void line(float x1, float y1, float x2, float y2, std::optional<Rgb> colour = std::nullopt) = 0;
    virtual void circle(float x, float y, float radius, std::optional<Rgb> colour = std::nullopt) = 0;

    virtual void onMouseDown(MouseDownHandler handler) = 0;
};

// One list box. Rows keep the order in which they were added.
class ListBox {
public:
    virtual ~ListBox() = default;

    virtual void addItem(const std::string& text) = 0;
    // Removes the row; later rows move up. Leaves no row selected.
    virtual void removeItem(int row) = 0;
    virtual void clear() = 0;
    virtual std::string list(int row) const = 0;
    virtual int listCount() const = 0;
    // The selected row, -1 when none.
    virtual int listIndex() const = 0;
    // Selects the row. Setting the row that is already selected raises no
    // click; selecting a different row may raise one, at once.
    virtual void setListIndex(int row) = 0;

    // Raised when the user selects a row.
    virtual void onClick(ClickHandler handler) = 0;
};

// A multi-line text box. Lines of Text() are separated by CR LF.
class TextBox {
public:
    virtual ~TextBox() = default;

    virtual std::string text() const = 0;
    virtual void setText(std::string text) = 0;
};

class CommandButton {
public:
    virtual ~CommandButton() = default;

    virtual void setEnabled(bool on) = 0;
    virtual bool isEnabled() const = 0;
    virtual void onClick(ClickHandler handler) = 0;
};

// A label with a fixed caption.
class Label {
public:
    virtual ~Label() = default;

    virtual std::string caption() const = 0;
};

// The controls of one window, addressed as control arrays by index.
class Form {
public:
    virtual ~Form() = default;

    virtual PictureBox& Picture1() = 0;
    virtual ListBox& List1(int index) = 0;
    virtual TextBox& Text1(int index) = 0;
    virtual CommandButton& Command1(int index) = 0;
    virtual Label& Label1(int index) = 0;
};

} // namespace ui
