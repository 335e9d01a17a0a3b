// The insulation materials as the engine knows them: one row per material, its number the
// material index. Adding a material is adding its row here and its row in the catalogue
// of the window's list.
#pragma once

#include <iterator>

namespace tcalc_tables {

// clang-format off

// lambda(t) = a + b*t + c*t*t, W/(m*K); the highest carrier temperature, C; the product
// thickness per installed thickness (stitched mats settle under their cover).
struct MaterialLaw {
    double a, b, c;
    double upperLimit;
    double settling;
};

constexpr MaterialLaw MaterialLaws[] = {
    //  a       b         c          limit  settling
    {0.035,  0.00007, 0.0000004, 750,   1.2},  // 0 stitched mat ZORBALIT-80
    {0.034,  0.00008, 0.0000004, 750,   1.2},  // 1 stitched mat ZORBALIT-100
    {0.046,  0,       0,         700,   1.2},  // 2 stitched mat M1-75
    {0.033,  0.0001,  0.0000002, 700,   1.2},  // 3 stitched mat M1-100
    {0.0348, 0.00006, 0.0000004, 650,   1},    // 4 cylinder ZORBALIT-80
    {0.0348, 0.00006, 0.0000004, 650,   1},    // 5 cylinder ZORBALIT-100
    {0.037,  0.0002,  0,         250,   1},    // 6 lamellar mat
};

// clang-format on

} // namespace tcalc_tables
