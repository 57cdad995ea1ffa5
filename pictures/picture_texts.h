#pragma once

#include <cstddef>
#include <string>

#include "sweep_grid.h"

namespace veltrano::pictures {

// How a parameter is written in a picture's titles: σ, R, b.
[[nodiscard]] std::string symbolOf(SweepParameter p);
// λ1, λ2, λ3 ... for k = 0, 1, 2 ...
[[nodiscard]] std::string lambdaName(std::size_t k);

}  // namespace veltrano::pictures
