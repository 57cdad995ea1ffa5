#pragma once

#include <string>

namespace veltrano {

// A double with 17 significant digits, enough to read back the same double:
// the point as separator, an exponent only beyond the plain range (to_chars'
// general form), "nan" or "inf" for the values that are not numbers.
[[nodiscard]] std::string preciseText(double value);

}  // namespace veltrano
