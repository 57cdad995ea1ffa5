#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>

#include "batch_means.h"
#include "rk4_integrator.h"
#include "run_settings.h"
#include "simd_path.h"

namespace veltrano {

// Runs every point with `settings`, several at once in the lanes of `path`,
// and writes one result per point. A lane whose point ends (its intervals
// done, its target error reached, or an arithmetic fault) takes the next
// point at the following interval boundary. Every result is bit for bit
// what the point gives alone: lane-wise IEEE arithmetic in the order of the
// single run. `path` must be one of availablePaths(). When `stop` is given
// and becomes true, the run ends within a few thousand steps, however long
// its intervals, and the results of the points not finished are left as
// they were.
void runPoints(SimdPath path, const RunSettings& settings, std::span<const FlowParameters> points,
               std::span<PointResult> results, LaneUsage* usage = nullptr,
               const std::atomic<bool>* stop = nullptr);

// The window's experiment (n intervals, nothing else changed).
void runPoints(SimdPath path, std::int16_t n, std::span<const FlowParameters> points, std::span<PointResult> results);

// What a point has reached after a measured interval.
struct IntervalState {
    std::int64_t interval = 0;  // measured intervals done, from 1
    double t = 0.0;
    Triple expo{};
    const BatchMeans* batches = nullptr;  // with error bars
    bool last = false;                    // the point ends here (its intervals done or its target reached)
    Triple point{};                       // x, y, z at the end of the interval
};

// One point, with `observe` called after every measured interval (the
// history of its estimates); `stop` as for runPoints. `observeStep`, when
// given, is called after every measured step (none in the transient, none
// for a step that faults) with the time and x, y, z: the doubles of the
// single run's state after that step.
PointResult runObserved(const RunSettings& settings, const FlowParameters& point,
                        const std::function<void(const IntervalState&)>& observe,
                        const std::atomic<bool>* stop = nullptr,
                        const std::function<void(double t, const Triple& xyz)>& observeStep = {});

}  // namespace veltrano
