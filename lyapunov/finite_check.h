#pragma once

#include <cmath>
#include <limits>

namespace veltrano {

// Overflow and division by zero leave an infinity, an invalid operation a NaN,
// and neither turns back into a finite value through the operations of the
// computation; testing each stored result for finiteness therefore catches
// every such fault.
[[nodiscard]] inline bool isFinite(double v) {
    return std::fabs(v) <= std::numeric_limits<double>::max();
}

// Branch-free over the whole array so that the compiler can vectorise it.
template <class Array>
[[nodiscard]] inline bool allFinite(const Array& values) {
    bool ok = true;
    for (double v : values) ok &= isFinite(v);
    return ok;
}

}  // namespace veltrano
