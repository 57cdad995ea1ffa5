#pragma once

#include <QString>
#include <vector>

namespace veltrano::explorer {

// Round values (1, 2 or 5 times a power of ten apart, about `wanted` of
// them) from lo to hi, both included where round.
[[nodiscard]] std::vector<double> ticksBetween(double lo, double hi, int wanted);
// A tick's label, with as many decimals as the span needs.
[[nodiscard]] QString tickText(double v, double span);

}  // namespace veltrano::explorer
