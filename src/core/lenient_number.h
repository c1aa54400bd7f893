#pragma once

#include <string_view>

namespace rtceval {

// The number a typed text begins with: leading blanks, an optional sign, digits and an optional
// decimal fraction. A text that does not begin with a number reads 0. Never fails; a very long
// number reads as a very large value (or infinity), which every range check rejects.
double lenientNumber(std::string_view text);

// Rounds to the nearest whole number, halves to the even neighbour (0.5 → 0, 1.5 → 2).
double roundHalfEven(double value);

}  // namespace rtceval
