#pragma once
// The design of a form: every control with its place in twips, its colours,
// its fixed text and its tab position. A toolkit builds its widgets from it.

#include "ui/controls.h"

#include <optional>
#include <string>
#include <vector>

namespace ui {

constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) { return twips / kTwipsPerPixel; }

// The frame around the drawing area of a drawing surface, in pixels.
constexpr int kPictureBorder = 2;

enum class ControlKind { Picture, List, Text, Button, Label };

struct ControlDesign {
    ControlKind kind;
    std::string name; // designer name, e.g. "List1"
    int index = 0; // index in its control array
    int left = 0, top = 0, width = 0, height = 0; // twips
    bool visible = true;
    std::string text; // caption or design text
    std::optional<Rgb> backColor;
    int tabIndex = 0;
    std::string accessibleName;
    std::string accessibleDescription;
};

struct FontDesign {
    std::string family;
    int pointSize = 12;
};

struct FormDesign {
    std::string caption;
    int clientWidth = 0, clientHeight = 0; // twips
    Rgb backColor;
    FontDesign font;
    std::vector<ControlDesign> controls;

    const ControlDesign* find(const std::string& name, int index) const
    {
        for (const auto& c : controls)
            if (c.name == name && c.index == index)
                return &c;
        return nullptr;
    }
};

} // namespace ui
