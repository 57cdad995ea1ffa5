#pragma once

#include <span>

#include "gram_schmidt.h"

namespace veltrano {

// The Kaplan-Yorke (Lyapunov) dimension of the k leading exponents of a
// spectrum: with the exponents in descending order and j the largest count
// whose partial sum is not negative, j + (l1 + ... + lj) / |l(j+1)|; 0 when
// even the largest exponent is negative, k when the sum of all k is not
// (with k less than the dimension, the dimension is then at least k).
[[nodiscard]] double kaplanYorke(std::span<const double> exponents);

// Of the three exponents of Lorenz.
[[nodiscard]] inline double kaplanYorke(const Triple& exponents) {
    return kaplanYorke(std::span<const double>(exponents));
}

}  // namespace veltrano
