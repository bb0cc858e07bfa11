#pragma once
// The calculation state: the window-level variables that the steps of a run
// share. Every step leaves its results here for the steps after it.

#include "number/arith.h"

#include <array>
#include <cstdint>

namespace geometry {

// The numeric kinds of the calculation and its checked arithmetic, from the
// number floor beneath both the calculation and the controls.
using number::CalcFailure;
using number::checkedSqrt;
using number::Integer;
using number::InvalidArgument;
using number::lAbs;
using number::lAdd;
using number::lMul;
using number::Long;
using number::lSub;
using number::Overflow;
using number::store;
using number::toInteger;
using number::toLong;
using number::tryStore;

// The largest number of points.
constexpr Integer Dopustim_Broj = 3;

struct Sostoyanie {
    // Height of the drawing surface in pixels, taken once at start-up.
    float Kolko_Y = 0;
    // Number of points entered so far (0 to 3).
    Integer Obsh_Broj = 0;
    // Vertex coordinates: row j is vertex j (0 = A, 1 = B, 2 = C),
    // column 0 its x, column 1 its y, in screen direction.
    std::array<std::array<Long, 3>, 4> mas1{};
    // Area of the triangle, |S_Orie| / 2.
    double S_lice = 0;
    // Side lengths: 0 = AB, 1 = BC, 2 = AC.
    std::array<double, 4> Strani{};
    // The exact whole squares of the side lengths, from which they are taken.
    std::array<Long, 3> Kv_Strani{};
    // Side midpoints: row j the midpoint of side j, column 0 x, column 1 y.
    std::array<std::array<double, 3>, 4> Sredi{};
    // Twice the signed area.
    Long S_Orie = 0;
    double Per_Polu = 0;
    double S_Heron = 0;
    double Perim = 0;
    // Circumradius (the product of the sides when the points are collinear).
    double Rad_Op = 0;
    double Rad_Wpis = 0;
    // Line coefficients a, b, c of a*x + b*y + c = 0, three per line:
    // 0..8 the sides AB, BC, AC; 18..26 their perpendicular bisectors.
    std::array<double, 51> mas_Koef{};
};

} // namespace geometry
