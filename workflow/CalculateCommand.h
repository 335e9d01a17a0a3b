// The calculate command: one run of the current kind's engine entry on the input values,
// turned into the message boxes, field values, result text and focus moves that the user
// meets, in order. The window reads its controls into Inputs and carries out the effects.
#pragma once

#include "Effects.h"
#include "InputModel.h"
#include "TCalc.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace workflow {

// Runs the entry of kind `method` (0..4) once on `engine`; any other kind (no method page
// shown) does nothing. While it runs, the engine's own message box comes back among the
// effects in its place; the engine's callback is restored afterwards.
std::vector<Effect> Calculate(int method, const Inputs& inputs, T_calc& engine,
                              std::string_view decimalSeparator);

// A thickness beyond this many millimetres is shown as BeyondLargestThickness: the
// rounding saturates near 2^31, and its clamp is no computed figure.
inline constexpr int32_t LargestShownThickness = 2'000'000'000;
inline constexpr std::string_view BeyondLargestThickness = "более 2·10⁹";

// Whole millimetres as the result text: one digit after the decimal separator and no
// grouping ("60,0"); from 100000 mm on, five significant digits in scientific notation
// with a signed exponent of at least two digits ("1,2346E+05").
std::string FormatThickness(int32_t millimetres, std::string_view decimalSeparator);

} // namespace workflow
