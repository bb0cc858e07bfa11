// Writes the web edition's pages from the window's design (run by the build
// under Node, with the host's files reachable):
//
//   make_page site   OUT.html OUT.css              (the page and its style sheet)
//   make_page floor  OUT.html OUT.css
//   make_page single OUT.html MODULE.js FONT.woff2 START.js
//   make_page chars  OUT.txt  SOURCE...     (the characters of the font subset)

#include "app/layout.h"
#include "web/page.h"

#include <cstdio>
#include <exception>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + path);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, const std::string& content)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << content;
    out.close();
    if (!out)
        throw std::runtime_error("cannot write " + path);
}

int usage()
{
    std::fputs("usage: make_page site|floor OUT CSS | single OUT MODULE.js FONT.woff2 START.js | chars OUT SOURCE...\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        if (args.size() < 2)
            return usage();
        const auto design = app::trivyrhnikDesign();
        const std::string& mode = args[0];
        const std::string& out = args[1];
        if ((mode == "site" || mode == "floor") && args.size() == 3) {
            const auto kind = mode == "site" ? web::PageKind::Site : web::PageKind::Floor;
            writeFile(out, web::pageHtml(design, {.kind = kind, .script = {}, .font = {}, .start = {}}));
            writeFile(args[2], web::pageStyle(design));
        } else if (mode == "single" && args.size() == 5) {
            writeFile(out,
                      web::pageHtml(design,
                                    {.kind = web::PageKind::Single,
                                     .script = readFile(args[2]),
                                     .font = readFile(args[3]),
                                     .start = readFile(args[4])}));
        } else if (mode == "chars") {
            std::string sources;
            for (size_t i = 2; i < args.size(); ++i)
                sources += readFile(args[i]);
            writeFile(out, web::pageCharacters(design, sources));
        } else {
            return usage();
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_page: %s\n", e.what());
        return 1;
    }
    return 0;
}
