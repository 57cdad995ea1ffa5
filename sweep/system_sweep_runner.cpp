#include "system_sweep_runner.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "block_queue.h"
#include "system_exponents.h"
#include "visit_flow.h"

namespace veltrano {

namespace {

// Calls `run(system)` with the flow as its own type (typed equations
// compiled for `path`) once the settings and the number of parameters are
// known to fit it.
template <class Run>
void withSystem(const SystemDescription& flow, SimdPath path, const SystemSettings& settings,
                std::size_t parameters, Run&& run) {
    const bool known = visitFlow(flow, path, [&](const auto& system) {
        using System = std::decay_t<decltype(system)>;
        // Typed equations have room for more parameters than their text names.
        const bool fits = flow.text.empty() ? parameters == System::kParameters
                                            : parameters == flow.parameters.size() && parameters <= System::kParameters;
        if (!fits)
            throw std::invalid_argument(flow.name + " has " +
                                        std::to_string(flow.text.empty() ? System::kParameters : flow.parameters.size()) +
                                        " parameters, not " + std::to_string(parameters));
        // No point: only the settings are checked, here, before any thread starts.
        runSystemPoints<System>(path, system, settings, {}, {});
        run(system);
    });
    if (!known)
        throw std::invalid_argument("there is no flow " + flow.name + " of dimension " +
                                    std::to_string(flow.dimension));
}

SystemDescription named(std::string_view name, std::size_t dimension) {
    SystemDescription flow;
    flow.name = std::string(name);
    flow.dimension = dimension;
    return flow;
}

// The points into the flow's own form, computed, and widened into `out`.
template <class System, class PointAt>
void compute(const System& system, SimdPath path, const SystemSettings& settings, std::size_t count,
             const PointAt& pointAt, AnySystemResult* out, LaneUsage* usage, const std::atomic<bool>* stop) {
    std::vector<ParametersOf<System>> points(count);
    for (std::size_t i = 0; i < count; ++i) pointAt(i, std::span<double>(points[i]));
    std::vector<ResultOf<System>> results(count);
    runSystemPoints<System>(path, system, settings, points, results, usage, stop);
    for (std::size_t i = 0; i < count; ++i) out[i] = widened(results[i]);
}

}  // namespace

bool runSystemSweep(std::string_view name, std::size_t dimension, const SystemGrid& grid, IndexRange range,
                    const SystemSweepSettings& settings, const SystemSweepSink& sink) {
    return runSystemSweep(named(name, dimension), grid, range, settings, sink);
}

bool runSystemSweep(const SystemDescription& flow, const SystemGrid& grid, IndexRange range,
                    const SystemSweepSettings& settings, const SystemSweepSink& sink) {
    bool finished = true;
    withSystem(flow, settings.path, settings.run, grid.base.size(), [&](const auto& system) {
        const BlockPlan plan{settings.threads,
                             settings.pointsPerBlock > 0
                                 ? settings.pointsPerBlock
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
            compute(
                system, settings.path, settings.run, done.size(),
                [&](std::size_t i, std::span<double> p) {
                    std::copy_n(done[i].parameters.begin(), std::min(p.size(), done[i].parameters.size()), p.begin());
                },
                results.data(), usage, settings.stop);
            for (std::size_t i = 0; i < done.size(); ++i) done[i].result = results[i];
        };
        finished = runBlocks<SystemSweepPoint>(range, plan, block, sink);
    });
    return finished;
}

std::vector<AnySystemResult> runSystemPointList(std::string_view name, std::size_t dimension, SimdPath path,
                                                const SystemSettings& settings,
                                                std::span<const std::vector<double>> points) {
    return runSystemPointList(named(name, dimension), path, settings, points);
}

std::vector<AnySystemResult> runSystemPointList(const SystemDescription& flow, SimdPath path,
                                                const SystemSettings& settings,
                                                std::span<const std::vector<double>> points) {
    if (points.empty()) return {};
    std::vector<AnySystemResult> results(points.size());
    const std::size_t parameters = points[0].size();
    withSystem(flow, path, settings, parameters, [&](const auto& system) {
        for (const auto& p : points)
            if (p.size() != parameters) throw std::invalid_argument("every point must have as many parameters");
        compute(
            system, path, settings, points.size(),
            [&](std::size_t i, std::span<double> p) {
                std::copy_n(points[i].begin(), std::min(p.size(), points[i].size()), p.begin());
            },
            results.data(), nullptr, nullptr);
    });
    return results;
}

}  // namespace veltrano
