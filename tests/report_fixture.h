#pragma once
// A whole window on the in-memory controls, and report helpers and lines.

#include "app/trivyrhnik.h"
#include "ui/memory/memory_controls.h"

#include <algorithm>
#include <string>
#include <vector>

namespace testing_support {

struct Point {
    float x, y;
};

struct MemoryWindow {
    explicit MemoryWindow(geometry::NumberFormat format = {"."}) : window(form, std::move(format))
    {
        window.Form_Load();
    }

    void press(float x, float y, std::int16_t button = 1) { form.Picture1().pressMouse(x, y, button); }
    void pressAll(const std::vector<Point>& points)
    {
        for (const auto& p : points)
            press(p.x, p.y);
    }
    void calculate() { form.Command1(0).userClick(); }
    void clearAll() { form.Command1(1).userClick(); }
    void deleteSelected() { form.Command1(2).userClick(); }
    std::string report() { return form.Text1(0).text(); }

    ui::memory::MemoryForm form;
    app::Trivyrhnik window;
};

// Splits a text into its lines, each keeping its CR LF; a last piece without
// a line break is kept as it is.
inline std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    size_t start = 0;
    while (start < text.size()) {
        const size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            out.push_back(text.substr(start));
            break;
        }
        out.push_back(text.substr(start, end + 2 - start));
        start = end + 2;
    }
    return out;
}

// Appends CR LF to every line.
inline std::vector<std::string> crlf(std::vector<std::string> ls)
{
    for (auto& l : ls)
        l += "\r\n";
    return ls;
}

// The lines [from, from + count) of a report.
inline std::vector<std::string> slice(const std::vector<std::string>& ls, size_t from, size_t count)
{
    if (from >= ls.size())
        return {};
    return {ls.begin() + static_cast<long>(from), ls.begin() + static_cast<long>(std::min(ls.size(), from + count))};
}

inline const std::string kSideAB = "Страна AB = Sqrt( (Ax-Bx)*(Ax-Bx) + {Ay-By)*(Ay-By) ) = ";
inline const std::string kSideBC = "Страна BC = Sqrt( (Bx-Cx)*(Bx-Cx) + {By-Cy)*(By-Cy) ) = ";
inline const std::string kSideAC = "Страна AC = Sqrt( (Cx-Ax)*(Cx-Ax) + {Cy-Ay)*(Cy-Ay) ) = ";

// The whole report of the right triangle (10,10), (40,10), (10,50), one
// line each without its CR LF.
inline std::vector<std::string> rightTriangleLines()
{
    return {
        "Ориентирано лице - координати на върховете:",
        "10, 10, 1",
        "40, 10, 1",
        "10, 50, 1",
        "Ориентирано лице = 600",
        kSideAB + "30",
        "Уравнение на страната AB c:0*x  + 30*y  - 300 = 0",
        "Среда на страна c: 25, 10;",
        kSideBC + "50",
        "Уравнение на страната BC a:-40*x  - 30*y  + 1900 = 0",
        "Среда на страна a: 25, 30;",
        kSideAC + "40",
        "Уравнение на страната AC b:40*x  - 0*y  - 400 = 0",
        "Среда на страна b: 10, 30;",
        "Периметър на триъгълника: 120",
        "Лице по Херон: 600",
        "Радиус на описаната окръжност: 25",
        "Радиус на вписаната окръжност: 10",
        "Правоъгълен триъгълник: ",
        "Изчисление по най-дългата страна: ",
        "Xc = 25; Yc = 30; R = 25",
        "Уравнение на симетрала към AB: ",
        "30*x  - 0*y  - 750 = 0",
        "Уравнение на симетрала към BC: ",
        "-30*x  + 40*y  - 450 = 0",
        "Уравнение на симетрала към AC: ",
        "0*x  - 40*y  + 1200 = 0",
        "От решението на системата уравнения за две от симетралите: ",
        "30*x  - 0*y  - 750 = 0",
        "-30*x  + 40*y  - 450 = 0",
        "Пресечната точка на симетралите е с координати:",
        "Sx = 30000 / 1200 = 25;",
        "Sy = 36000 / 1200 = 30",
        "Изчисления по R =a*b*c/(4*S) = 25",
    };
}

} // namespace testing_support
