#pragma once

#include "gram_schmidt.h"

namespace veltrano {

// The Kaplan-Yorke (Lyapunov) dimension of a spectrum of three exponents:
// with the exponents in descending order and j the largest count whose
// partial sum is not negative, j + (l1 + ... + lj) / |l(j+1)|; 0 when even
// the largest exponent is negative, 3 when the sum of all three is not.
[[nodiscard]] double kaplanYorke(const Triple& exponents);

}  // namespace veltrano
