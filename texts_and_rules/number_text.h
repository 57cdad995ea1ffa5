#pragma once

#include <string>
#include <string_view>

namespace veltrano {

// The text of a number as the result fields show it: `value` rounded to
// `places` decimals (halves of the exact binary value to the even neighbour),
// then written plainly with `decimalSeparator`: no exponent, no trailing zeros,
// no group separators, a zero before the separator for magnitudes below 1,
// and "0" (never "-0") for anything that rounds to zero. Non-finite values,
// which a completed run never produces, read "?".
[[nodiscard]] std::string numberText(double value, int places, std::string_view decimalSeparator = ".");

// The shortest text that reads back as the same double ("0.01", "1e-28",
// "28"), for titles, descriptions and representations.
[[nodiscard]] std::string shortest(double value);

}  // namespace veltrano
