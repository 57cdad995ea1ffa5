#pragma once

#include <array>
#include <cstddef>

namespace veltrano {

// Twelve components: x, y, z at 0..2, then the 3x3 matrix of the tangent
// vectors stored row by row (rows are the coordinates x, y, z; columns are
// the vectors). Component c (0 = x, 1 = y, 2 = z) of tangent vector j
// (0..2) lies at index 3 + 3*c + j.
inline constexpr std::size_t kComponents = 12;
inline constexpr std::size_t kDim = 3;

using StateVector = std::array<double, kComponents>;

constexpr std::size_t tangentIndex(std::size_t component, std::size_t vector) {
    return kDim + kDim * component + vector;
}

}  // namespace veltrano
