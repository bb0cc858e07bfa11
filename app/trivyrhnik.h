#pragma once
// The window class of the program: its event handlers, reset and the
// calculation run. Free of any toolkit: it talks to its controls through
// ui::Form.
//
// Flow:
//  - Start-up. The toolkit builds the window from its design (app/layout.h),
//    then Form_Load switches the surface to pixels, keeps its height in
//    Kolko_Y, turns on retained drawing and calls Nachalo.
//  - Reset. Nachalo empties the point store (the three lists), clears the
//    surface to white with pen 5 / style 4 and disables "Изчисли".
//  - Events. Picture1_MouseDown adds a point (dot plus a row in each list)
//    while fewer than three exist; List1_Click selects one row in all three
//    lists and marks that point red; Command1_Click dispatches "Изчисли" (0),
//    "Изчисти" (1) and "Изтрий" (2) and keeps the enabled states.
//  - The run. Smetki calls the steps of geometry::Izchislenie in their fixed
//    order; a step failure ends the run with one line in the report.
//  - Results. The points live in the lists; the numbers of the last run in
//    state(); the report in Text1(0); the drawings on Picture1.
//
// Names. The handlers, procedures, variables and controls keep the design's
// names (Nachalo, Smetki, mas_Koef, Command1(0)...), so the code traces to
// it; docs/glossary.md says what each holds and in which unit, and
// app/layout.h names the control indices (ctl::Calculate, ctl::ListX...).

#include "geometry/izchislenie.h"
#include "geometry/number_text.h"
#include "geometry/state.h"
#include "ui/controls.h"

namespace app {

class Trivyrhnik {
public:
    // Wires the handlers to the form's controls.
    Trivyrhnik(ui::Form& form, geometry::NumberFormat format);
    Trivyrhnik(const Trivyrhnik&) = delete;
    Trivyrhnik& operator=(const Trivyrhnik&) = delete;

    void Form_Load();
    void Picture1_MouseDown(geometry::Integer Button, geometry::Integer Shift, float X, float Y);
    void List1_Click(geometry::Integer Index);
    void Command1_Click(geometry::Integer Index);

    const geometry::Sostoyanie& state() const { return st_; }

private:
    void Nachalo();
    void Iztriwa_Tochka();
    void Smetki();
    // Paints every listed point black with the pen as it is (points whose
    // coordinates fit no YKind are skipped).
    template <typename YKind>
    void redrawPointsBlack();

    ui::Form& form_;
    geometry::NumberFormat fmt_;
    geometry::Sostoyanie st_;
    geometry::Izchislenie calc_;
};

// The line (without its CR LF) a run appends when one of its steps fails.
std::string failureLine(const geometry::CalcFailure& failure);

} // namespace app
