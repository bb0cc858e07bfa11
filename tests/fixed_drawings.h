#pragma once
// The whole drawings of tests/fixed_drawings.txt, which every edition must
// show with exactly the pixels whose hash the file gives.

#include <cstdint>
#include <fstream>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

namespace testing_support {

struct FixedDrawing {
    std::string name;
    double scale = 1;
    float points[6] = {};
    int deviceWidth = 0, deviceHeight = 0;
    std::uint32_t hash = 0;
};

inline void PrintTo(const FixedDrawing& d, std::ostream* os) { *os << d.name; }

// The drawings of the file; empty when it cannot be read.
inline std::vector<FixedDrawing> fixedDrawings()
{
    std::vector<FixedDrawing> out;
    std::ifstream in(TRIVYRHNIK_FIXED_DRAWINGS);
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        FixedDrawing d;
        std::string hash;
        fields >> d.name >> d.scale;
        for (float& p : d.points)
            fields >> p;
        fields >> d.deviceWidth >> d.deviceHeight >> hash;
        d.hash = static_cast<std::uint32_t>(std::stoul(hash, nullptr, 16));
        out.push_back(d);
    }
    return out;
}

// FNV-1a over the red, green and blue bytes of 0x..RRGGBB pixels, in order.
inline std::uint32_t pixelHash(const std::uint32_t* pixels, std::size_t count)
{
    std::uint32_t h = 2166136261U;
    for (std::size_t k = 0; k < count; ++k)
        for (const unsigned shift : {16U, 8U, 0U}) {
            h ^= (pixels[k] >> shift) & 0xFFU;
            h *= 16777619U;
        }
    return h;
}

} // namespace testing_support
