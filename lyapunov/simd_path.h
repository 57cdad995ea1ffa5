#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace veltrano {

// The instruction sets the batched integrator is built for, narrowest first.
// Each runs as many points at once as its registers hold doubles: two in
// 128 bits (SSE2 on x86-64, NEON on 64-bit ARM, plain vectors elsewhere),
// four with AVX2 and eight with AVX-512 where the compiler and the processor
// have them.
enum class SimdPath { Lanes128, Avx2, Avx512 };

[[nodiscard]] std::string_view pathName(SimdPath path);
[[nodiscard]] int lanesOf(SimdPath path);
// The paths this processor can run, narrowest first (Lanes128 always).
[[nodiscard]] std::vector<SimdPath> availablePaths();
// The widest of them.
[[nodiscard]] SimdPath widestPath();

// How busy the lanes were: lane-intervals that carried a point, of all
// lane-intervals run.
struct LaneUsage {
    std::int64_t busy = 0;
    std::int64_t total = 0;
};

}  // namespace veltrano
