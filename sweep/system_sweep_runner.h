#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "block_queue.h"
#include "simd_path.h"
#include "system_description.h"
#include "system_exponents.h"
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

namespace system_sweep {

// The points into the flow's own form (each its first values, the rest 0),
// computed, and widened into `out`.
template <class System, class PointAt>
void compute(const System& system, SimdPath path, const SystemSettings& settings, std::size_t count,
             const PointAt& pointAt, AnySystemResult* out, LaneUsage* usage, const std::atomic<bool>* stop) {
    std::vector<ParametersOf<System>> points(count);
    for (std::size_t i = 0; i < count; ++i) pointAt(i, std::span<double>(points[i]));
    std::vector<ResultOf<System>> results(count);
    runSystemPoints<System>(path, system, settings, points, results, usage, stop);
    for (std::size_t i = 0; i < count; ++i) out[i] = widened(results[i]);
}

}  // namespace system_sweep

// As runSystemSweep, for `system` as its own type (a flow of the catalogue
// or one compiled from typed equations, then for the lanes of
// settings.path): the grid holds at most its parameters, those past the
// grid's 0. Refuses a grid of more parameters or settings runSystemPoints
// refuses, before any work, with std::invalid_argument.
template <class System>
bool runFlowSweep(const System& system, const SystemGrid& grid, IndexRange range, const SystemSweepSettings& settings,
                  const SystemSweepSink& sink) {
    if (grid.base.size() > System::kParameters)
        throw std::invalid_argument("the flow has " + std::to_string(System::kParameters) + " parameters, not " +
                                    std::to_string(grid.base.size()));
    // No point: only the settings are checked, here, before any thread starts.
    runSystemPoints<System>(SimdPath::Lanes128, system, settings.run, {}, {});
    const BlockPlan plan{settings.threads,
                         settings.pointsPerBlock > 0 ? settings.pointsPerBlock
                                                     : defaultBlockSize(settings.path, settings.run.targetError > 0),
                         settings.usage, settings.stop};
    const auto block = [&](std::int64_t first, std::int64_t last, std::vector<SystemSweepPoint>& done,
                           LaneUsage* usage) {
        done.resize(static_cast<std::size_t>(last - first));
        std::vector<AnySystemResult> results(done.size());
        for (std::size_t i = 0; i < done.size(); ++i) {
            done[i].index = first + static_cast<std::int64_t>(i);
            done[i].parameters = grid.pointAt(done[i].index);
        }
        system_sweep::compute(
            system, settings.path, settings.run, done.size(),
            [&](std::size_t i, std::span<double> p) {
                std::copy_n(done[i].parameters.begin(), std::min(p.size(), done[i].parameters.size()), p.begin());
            },
            results.data(), usage, settings.stop);
        for (std::size_t i = 0; i < done.size(); ++i) done[i].result = results[i];
    };
    return runBlocks<SystemSweepPoint>(range, plan, block, sink);
}

// As runSystemPointList, for `system` as its own type (as runFlowSweep).
template <class System>
[[nodiscard]] std::vector<AnySystemResult> runFlowPointList(const System& system, SimdPath path,
                                                            const SystemSettings& settings,
                                                            std::span<const std::vector<double>> points) {
    std::vector<AnySystemResult> results(points.size());
    for (const auto& p : points)
        if (p.size() > System::kParameters)
            throw std::invalid_argument("the flow has " + std::to_string(System::kParameters) + " parameters, not " +
                                        std::to_string(p.size()));
    system_sweep::compute(
        system, path, settings, points.size(),
        [&](std::size_t i, std::span<double> p) {
            std::copy_n(points[i].begin(), std::min(p.size(), points[i].size()), p.begin());
        },
        results.data(), nullptr, nullptr);
    return results;
}

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
