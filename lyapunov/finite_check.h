#pragma once

#include <cstddef>

namespace veltrano {

// Overflow and division by zero leave an infinity, an invalid operation a NaN,
// and neither turns back into a finite value through the operations of the
// computation (nothing divides by a computed value that is not itself
// tested); testing stored results for finiteness therefore catches every
// such fault. Underflow and inexact results are not faults.
//
// x - x is +0 for every finite x and NaN for an infinity or a NaN.
[[nodiscard]] inline bool isFinite(double v) {
    return v - v == 0;
}

template <class Array>
[[nodiscard]] inline bool allFinite(const Array& values) {
    bool ok = true;
    for (double v : values) ok &= isFinite(v);
    return ok;
}

}  // namespace veltrano
