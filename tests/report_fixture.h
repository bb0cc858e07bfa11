#pragma once
// A whole window on the in-memory controls, and report helpers.

#include "app/trivyrhnik.h"
#include "ui/memory/memory_controls.h"

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

} // namespace testing_support
