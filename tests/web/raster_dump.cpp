// The drawing that the page's canvas must show, from the in-memory window:
// the points pressed, then "Изчисли", at a screen scale. Run under Node by
// the page tests.
//
//   raster_dump SCALE OUT x1 y1 x2 y2 x3 y3
// OUT gets "width height\n" and the device pixels as red, green, blue, alpha.

#include "app/layout.h"
#include "app/trivyrhnik.h"
#include "ui/memory/memory_controls.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    if (argc != 9) {
        std::fputs("usage: raster_dump SCALE OUT x1 y1 x2 y2 x3 y3\n", stderr);
        return 2;
    }
    const double scale = std::strtod(argv[1], nullptr);
    ui::memory::MemoryForm form(app::trivyrhnikDesign());
    app::Trivyrhnik window(form, {"."});
    auto& picture = form.Picture1();
    picture.resizeCanvas(picture.canvas().width(), picture.canvas().height(), scale);
    window.Form_Load();
    for (int k = 0; k < 3; ++k)
        picture.pressMouse(std::strtof(argv[3 + 2 * k], nullptr), std::strtof(argv[4 + 2 * k], nullptr));
    form.Command1(0).userClick();

    const auto& c = picture.canvas();
    std::ofstream out(argv[2], std::ios::binary);
    out << c.deviceWidth() << ' ' << c.deviceHeight() << '\n';
    for (const auto p : c.pixels()) {
        const char rgba[4]
            = {static_cast<char>(p >> 16U), static_cast<char>(p >> 8U), static_cast<char>(p), static_cast<char>(0xFF)};
        out.write(rgba, 4);
    }
    return out ? 0 : 1;
}
