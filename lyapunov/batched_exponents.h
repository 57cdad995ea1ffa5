#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "gram_schmidt.h"
#include "rk4_integrator.h"

namespace veltrano {

// The outcome of one run of the spectrum for one point, as the single run
// gives it: completed with t and the three estimates, or stopped by an
// arithmetic fault at time t (the time of the last completed step, or the
// end of the interval whose reorthonormalisation failed).
struct PointResult {
    bool completed = false;
    double t = 0.0;
    Triple expo{};
    friend bool operator==(const PointResult&, const PointResult&) = default;
};

// The instruction sets the batched integrator is built for, narrowest first.
// Each runs as many points at once as its registers hold doubles.
enum class SimdPath { Sse2, Avx2, Avx512 };

[[nodiscard]] std::string_view pathName(SimdPath path);
[[nodiscard]] int lanesOf(SimdPath path);
// The paths this processor can run, narrowest first (Sse2 always).
[[nodiscard]] std::vector<SimdPath> availablePaths();
// The widest of them.
[[nodiscard]] SimdPath widestPath();

// Runs n intervals for every point, several points at once in the lanes of
// `path`, and writes one result per point. Every result is bit for bit what
// Spectrum::run gives for that point alone: lane-wise IEEE arithmetic in the
// same order, and a lane that meets a fault stops alone at its own time
// while the others go on. `path` must be one of availablePaths().
void runPoints(SimdPath path, std::int16_t n, std::span<const FlowParameters> points, std::span<PointResult> results);

}  // namespace veltrano
