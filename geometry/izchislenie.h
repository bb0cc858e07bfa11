#pragma once
// The calculation steps of a run about the triangle of the three entered
// points. Each step reads and writes the shared state, appends its lines to
// the report box and draws on the drawing surface through the control
// interfaces; the run driver (Trivyrhnik::Smetki) calls them in a fixed order.
//
// A step that meets an arithmetic failure (a Long overflow, only possible for
// coordinates far outside any surface) throws a CalcFailure; what it appended
// before stays in the report.

#include "geometry/number_text.h"
#include "geometry/state.h"
#include "ui/controls.h"

#include <string>
#include <string_view>

namespace geometry {

class Izchislenie {
public:
    Izchislenie(Sostoyanie& state, ui::TextBox& report, ui::PictureBox& picture, const ui::ListBox& listX,
                const ui::ListBox& listY, NumberFormat format);

    // Vertices from the lists, the determinant and the area; starts the report.
    void Orientirano_Lice();
    // Length, line and midpoint of side koe (0 AB, 1 BC, 2 AC).
    void Koefic_Strana(Integer koe);
    // Blue midpoints and the dotted outline.
    void Risuwa_Kontur();
    // Perimeter, Heron's area and both radii.
    void Perimetyr_Radiusi();
    // Obtuse, right or acute, and the circle on the longest side.
    void Wid_Triygylnik();
    // The perpendicular bisectors of the three sides.
    void Simetrali();
    // The intersection of two of the triangle's lines; koe = 3: the circumcentre.
    void Presechna_Tochka(Integer koe);
    // Appends " + " or " - " and the magnitude of value.
    void Plius_Minus(double value);

    // Appends a piece to the report: the whole text is read and written back.
    void dobavi(std::string_view piece);
    // Appends a whole line, its CR LF included, in one append.
    void dobaviRed(std::string_view text);

    const NumberFormat& format() const { return fmt_; }

private:
    std::string num(double v) const { return doubleText(v, fmt_); }
    // One equation line "a*x  ± b*y  ± c = 0" and CR LF, in five appends.
    void uravnenie(double a, double b, double c);

    Sostoyanie& st_;
    ui::TextBox& report_;
    ui::PictureBox& pic_;
    const ui::ListBox& listX_;
    const ui::ListBox& listY_;
    NumberFormat fmt_;
};

} // namespace geometry
