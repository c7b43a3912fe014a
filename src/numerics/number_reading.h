#pragma once
// One locale-independent conversion for every numeric edit field of every window.
//
// Accepted form: optional blanks, optional sign, digits with an optional "." and
// fraction (at least one digit in all), optional exponent "E"/"e" with optional sign
// and digits, optional trailing blanks. "." is the only decimal point.
// An empty (or all-blank) text reads as 0. A text that does not have this form as a
// whole, or whose value is not finite in Extended, also reads as 0 here; the common
// run path of the commands refuses such a text before it is read (IsNumberText).
#include <cstdint>
#include <string_view>

#include "numerics/extended.h"

namespace quor::numerics {

Extended ReadNumber(std::string_view text);
// Whole numbers for counts (segments per turn, ...): the same form without fraction
// or exponent; anything else, or a value outside 32 bits, reads as 0.
std::int32_t ReadInteger(std::string_view text);

// Whether a field text reads as what it says: empty (or all blanks), or one complete
// number of the form above whose value is finite in Extended (IsNumberText), or one
// whole number within 32 bits (IsIntegerText). The commands refuse any other text
// before they compute, so that a typing error never passes as 0.
bool IsNumberText(std::string_view text);
bool IsIntegerText(std::string_view text);

}  // namespace quor::numerics
