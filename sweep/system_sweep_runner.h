#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>
#include <vector>

#include "simd_path.h"
#include "system_description.h"
#include "system_grid.h"
#include "system_run.h"

namespace veltrano {

// The result of a point of any flow of the catalogue, whatever its dimension.
using AnySystemResult = SystemResult<kMaxDimension>;

template <std::size_t N>
[[nodiscard]] AnySystemResult widened(const SystemResult<N>& r) {
    AnySystemResult out;
    out.completed = r.completed;
    out.t = r.t;
    out.exponents = r.exponents;
    out.intervals = r.intervals;
    out.batches = r.batches;
    out.errorsKnown = r.errorsKnown;
    out.meanDivergence = r.meanDivergence;
    for (std::size_t i = 0; i < N; ++i) {
        out.expo[i] = r.expo[i];
        out.halfWidth[i] = r.halfWidth[i];
    }
    return out;
}

struct SystemSweepPoint {
    std::int64_t index = 0;
    std::vector<double> parameters;  // one value per parameter of the flow
    AnySystemResult result{};
};

// As SweepSink: the finished points in index order, a block at a time.
using SystemSweepSink = std::function<bool(std::span<const SystemSweepPoint>)>;

// As SweepSettings, with the run of a flow.
struct SystemSweepSettings {
    int threads = 1;
    SimdPath path = SimdPath::Lanes128;
    SystemSettings run;
    std::int64_t pointsPerBlock = 0;  // 0: as runSweep chooses
    LaneUsage* usage = nullptr;
    const std::atomic<bool>* stop = nullptr;
};

// The flow `system` of the catalogue at `dimension`: as runSweep, the points
// `range` of `grid` (whose base holds one value per parameter of the flow),
// each the doubles runSystemPoint gives it alone, on every thread count and
// path. Refuses an unknown flow or dimension, a grid of another number of
// parameters or settings runSystemPoints refuses, before any work, with
// std::invalid_argument.
bool runSystemSweep(std::string_view system, std::size_t dimension, const SystemGrid& grid, IndexRange range,
                    const SystemSweepSettings& settings, const SystemSweepSink& sink);

// As runSystemSweep, of the flow `flow`: one of the catalogue or typed
// equations (compiled for the settings' path).
bool runSystemSweep(const SystemDescription& flow, const SystemGrid& grid, IndexRange range,
                    const SystemSweepSettings& settings, const SystemSweepSink& sink);

// The points listed, computed as runSystemSweep computes them (on the
// calling thread); the same refusals.
[[nodiscard]] std::vector<AnySystemResult> runSystemPointList(std::string_view system, std::size_t dimension,
                                                              SimdPath path, const SystemSettings& settings,
                                                              std::span<const std::vector<double>> points);

// As runSystemPointList, of the flow `flow` (typed equations too).
[[nodiscard]] std::vector<AnySystemResult> runSystemPointList(const SystemDescription& flow, SimdPath path,
                                                              const SystemSettings& settings,
                                                              std::span<const std::vector<double>> points);

}  // namespace veltrano
