#pragma once
// The fixed design of the window Trivyrhnik: every control with its place in
// twips, colours, captions, design texts and tab order.

#include "ui/form_layout.h"

#include <string>

namespace app {

// The meaning of the control arrays' indices.
namespace ctl {
// Command1: the three buttons.
constexpr int Calculate = 0; // "Изчисли"
constexpr int Clear = 1; // "Изчисти"
constexpr int Delete = 2; // "Изтрий"
// List1: the point store, one row per point in each list.
constexpr int ListX = 0; // x, px
constexpr int ListY = 1; // y, px, downwards
constexpr int ListUp = 2; // hidden: Kolko_Y - y, the height above the bottom edge
// Text1: the two text boxes.
constexpr int Report = 0; // the teaching text, then the worked solution
constexpr int Notes = 1; // hidden: fixed notes, never read or changed
} // namespace ctl

// The design, with the teaching text of Text1(0) and the fixed notes of the
// hidden Text1(1).
ui::FormDesign trivyrhnikDesign(std::string teachingText, std::string otherText);

// The design texts, compiled in from resources/.
std::string teachingText();
std::string otherText();

// The design with the texts from the resources.
ui::FormDesign trivyrhnikDesign();

} // namespace app
