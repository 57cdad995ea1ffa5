#pragma once

#include <optional>
#include <string_view>

#include "run_settings.h"

namespace veltrano {

// What a point's error bars decide about its attractor. With h1, h2 the
// 95 % half-widths of l1 and l2:
//   chaotic    l1 > h1                 (a positive exponent, beyond doubt)
//   periodic   |l1| <= h1, l2 < -h2    (l1 is the flow's own zero exponent)
//   at rest    l1 < -h1                (every direction contracts)
//   undecided  anything else
// A periodic orbit always has l1 near 0, so "l1 within its bar" alone does
// not make a point undecided.
enum class PointClass { Chaotic, Periodic, AtRest, Undecided };

// The class of a completed point whose error bars are known; nullopt for a
// point stopped by a fault or without bars (bars off, or too few batches).
[[nodiscard]] std::optional<PointClass> classify(const PointResult& r);

// "chaotic", "periodic", "at rest", "undecided".
[[nodiscard]] std::string_view className(PointClass c);

}  // namespace veltrano
