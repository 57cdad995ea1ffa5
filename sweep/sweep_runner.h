#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "batched_exponents.h"
#include "sweep_grid.h"

namespace veltrano {

struct SweepPoint {
    std::int64_t index = 0;
    FlowParameters parameters{};
    PointResult result{};
};

// Receives finished points in index order, a block at a time, on the thread
// that called runSweep. Returning false stops the sweep.
using SweepSink = std::function<bool(std::span<const SweepPoint>)>;

struct SweepSettings {
    int threads = 1;
    SimdPath path = SimdPath::Lanes128;
    RunSettings run;
    // Points a thread takes at a time; 0: a few batches of lanes, more when
    // points end at different times (a target error), so that the lanes
    // stay busy.
    std::int64_t pointsPerBlock = 0;
    LaneUsage* usage = nullptr;  // if given, receives how busy the lanes were
    // If given and it becomes true, the sweep ends soon (within a few
    // thousand steps of every lane) and hands on nothing more.
    const std::atomic<bool>* stop = nullptr;
};

// Computes the points `range` of `grid` with `settings.run` on
// `settings.threads` threads, each running as many points at once as the
// lanes of `settings.path`, and hands
// them to `sink` in index order as soon as they are done. At most a few
// blocks per thread are held at any time, whatever the size of the grid.
// Returns false when the sink or `settings.stop` stopped the sweep.
bool runSweep(const SweepGrid& grid, IndexRange range, const SweepSettings& settings, const SweepSink& sink);

}  // namespace veltrano
