#include "system_sweep_runner.h"

#include <algorithm>
#include <stdexcept>
#include <string>

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

}  // namespace

bool runSystemSweep(std::string_view name, std::size_t dimension, const SystemGrid& grid, IndexRange range,
                    const SystemSweepSettings& settings, const SystemSweepSink& sink) {
    return runSystemSweep(named(name, dimension), grid, range, settings, sink);
}

bool runSystemSweep(const SystemDescription& flow, const SystemGrid& grid, IndexRange range,
                    const SystemSweepSettings& settings, const SystemSweepSink& sink) {
    bool finished = true;
    withSystem(flow, settings.path, settings.run, grid.base.size(),
               [&](const auto& system) { finished = runFlowSweep(system, grid, range, settings, sink); });
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
    std::vector<AnySystemResult> results;
    const std::size_t parameters = points[0].size();
    withSystem(flow, path, settings, parameters, [&](const auto& system) {
        for (const auto& p : points)
            if (p.size() != parameters) throw std::invalid_argument("every point must have as many parameters");
        results = runFlowPointList(system, path, settings, points);
    });
    return results;
}

}  // namespace veltrano
