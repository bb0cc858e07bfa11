#pragma once
// The fixed design of the window Trivyrhnik: every control with its place in
// twips, colours, captions, design texts and tab order.

#include "ui/form_layout.h"

#include <string>

namespace app {

// The design, with the teaching text of Text1(0) and the fixed notes of the
// hidden Text1(1).
ui::FormDesign trivyrhnikDesign(std::string teachingText, std::string otherText);

// The design texts, compiled in from resources/.
std::string teachingText();
std::string otherText();

// The design with the texts from the resources.
ui::FormDesign trivyrhnikDesign();

} // namespace app
