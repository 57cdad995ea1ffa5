#include "system_sweep_runner.h"

#include <algorithm>
#include <stdexcept>
#include <string>

#include "system_exponents.h"
#include "visit_system.h"

namespace veltrano {

namespace {

// Calls `run(system)` with the flow as its own type once the settings and
// the number of parameters are known to fit it.
template <class Run>
void withSystem(std::string_view name, std::size_t dimension, const SystemSettings& settings,
                std::size_t parameters, Run&& run) {
    const bool known = visitSystem(name, dimension, [&](const auto& system) {
        using System = std::decay_t<decltype(system)>;
        if (parameters != System::kParameters)
            throw std::invalid_argument(std::string(name) + " has " + std::to_string(System::kParameters) +
                                        " parameters, not " + std::to_string(parameters));
        // No point: only the settings are checked, here, before any thread starts.
        runSystemPoints<System>(SimdPath::Lanes128, system, settings, {}, {});
        run(system);
    });
    if (!known)
        throw std::invalid_argument("there is no flow " + std::string(name) + " of dimension " +
                                    std::to_string(dimension));
}

}  // namespace

bool runSystemSweep(std::string_view name, std::size_t dimension, const SystemGrid& grid, IndexRange range,
                    const SystemSweepSettings& settings, const SystemSweepSink& sink) {
    bool finished = true;
    withSystem(name, dimension, settings.run, grid.base.size(),
               [&](const auto& system) { finished = runFlowSweep(system, grid, range, settings, sink); });
    return finished;
}

std::vector<AnySystemResult> runSystemPointList(std::string_view name, std::size_t dimension, SimdPath path,
                                                const SystemSettings& settings,
                                                std::span<const std::vector<double>> points) {
    if (points.empty()) return {};
    std::vector<AnySystemResult> results;
    const std::size_t parameters = points[0].size();
    withSystem(name, dimension, settings, parameters, [&](const auto& system) {
        for (const auto& p : points)
            if (p.size() != parameters) throw std::invalid_argument("every point must have as many parameters");
        results = runFlowPointList(system, path, settings, points);
    });
    return results;
}

}  // namespace veltrano
