#pragma once

#include <array>

#include "state_vector.h"

namespace veltrano {

using Triple = std::array<double, kDim>;

// Classical Gram-Schmidt on the three tangent vectors of `state`: every
// projection coefficient of a vector is taken before any subtraction from it.
// `norms` receives the lengths of the orthogonalised vectors and `proj` the
// last coefficients computed. The coordinates (x, y, z) are left alone.
//
// Returns false on an arithmetic fault (overflow, division by zero, invalid
// operation); `state`, `norms` and `proj` are then left as they were.
[[nodiscard]] bool orthonormalise(StateVector& state, Triple& norms, Triple& proj);

}  // namespace veltrano
