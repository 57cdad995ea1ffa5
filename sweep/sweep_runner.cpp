#include "sweep_runner.h"

#include <vector>

#include "block_queue.h"

namespace veltrano {

bool runSweep(const SweepGrid& grid, IndexRange range, const SweepSettings& settings, const SweepSink& sink) {
    const BlockPlan plan{settings.threads,
                         settings.pointsPerBlock > 0 ? settings.pointsPerBlock
                                                     : defaultBlockSize(settings.path, settings.run.targetError > 0),
                         settings.usage, settings.stop};
    const auto compute = [&](std::int64_t first, std::int64_t last, std::vector<SweepPoint>& done, LaneUsage* usage) {
        // Each thread's own, kept from block to block.
        thread_local std::vector<FlowParameters> parameters;
        thread_local std::vector<PointResult> results;
        parameters.clear();
        for (std::int64_t i = first; i < last; ++i) parameters.push_back(grid.pointAt(i));
        results.assign(parameters.size(), {});
        runPoints(settings.path, settings.run, parameters, results, usage, settings.stop);
        done.reserve(parameters.size());
        for (std::size_t i = 0; i < parameters.size(); ++i)
            done.push_back({first + static_cast<std::int64_t>(i), parameters[i], results[i]});
    };
    return runBlocks<SweepPoint>(range, plan, compute, sink);
}

}  // namespace veltrano
