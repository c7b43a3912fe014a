#pragma once
// Number texts of the Report and small numeric helpers shared by all windows.
#include <cstdint>
#include <string>

#include "numerics/extended.h"

namespace quor::numerics {

// x right-aligned in Width characters: Decimals >= 0 fixed notation with that many
// decimals (scientific above about 1e36), Decimals < 0 scientific notation.
std::string FixedStr(Extended x, int Width, int Decimals);
// Scientific notation with Width - 8 significant digits (2..18).
std::string SciStr(Extended x, int Width);
std::string IntStr(std::int32_t n);
// Shortest plain text of v, for writing numbers back into edit fields.
std::string NumberText(Extended v);

// Nearest integer, ties to even, low 32 bits; 0 becomes 1.
std::int32_t RoundAtLeastOne(Extended x);
// Angle of the point (X, Y) in (-pi, pi]; the ordinate comes first.
Extended ArcTan2(Extended Y, Extended X);
// ArcTan2(x, sqrt(1 - x*x)) for -1 <= x <= 1.
Extended ArcSin(Extended x);

}  // namespace quor::numerics
