// What the page must show for three points, from the in-memory window: the
// report and the drawing after the points are pressed and "Изчисли" is
// clicked, with a decimal separator, at a screen scale. The page tests run
// it natively (the desktop edition's compiler and library) when ctest gives
// it, and otherwise built for Node.
//
//   window_dump SEPARATOR SCALE RASTER REPORT x1 y1 x2 y2 x3 y3
// RASTER gets "width height\n" and the device pixels as red, green, blue,
// alpha; REPORT gets the report's exact text (CR LF lines).

#include "app/layout.h"
#include "app/trivyrhnik.h"
#include "ui/memory/memory_controls.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 11) {
        std::fputs("usage: window_dump SEPARATOR SCALE RASTER REPORT x1 y1 x2 y2 x3 y3\n", stderr);
        return 2;
    }
    const double scale = std::strtod(argv[2], nullptr);
    ui::memory::MemoryForm form(app::trivyrhnikDesign());
    app::Trivyrhnik window(form, {argv[1]});
    auto& picture = form.Picture1();
    picture.resizeCanvas(picture.canvas().width(), picture.canvas().height(), scale);
    window.Form_Load();
    for (int k = 0; k < 3; ++k)
        picture.pressMouse(std::strtof(argv[5 + 2 * k], nullptr), std::strtof(argv[6 + 2 * k], nullptr));
    form.Command1(0).userClick();

    const auto& c = picture.canvas();
    std::ofstream raster(argv[3], std::ios::binary);
    raster << c.deviceWidth() << ' ' << c.deviceHeight() << '\n';
    for (const auto p : c.pixels()) {
        const char rgba[4]
            = {static_cast<char>(p >> 16U), static_cast<char>(p >> 8U), static_cast<char>(p), static_cast<char>(0xFF)};
        raster.write(rgba, 4);
    }
    std::ofstream report(argv[4], std::ios::binary);
    report << form.Text1(0).text();
    return raster && report ? 0 : 1;
}
