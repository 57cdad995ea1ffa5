#include "system_history_run.h"

#include <algorithm>
#include <type_traits>

#include "system_exponents.h"
#include "visit_flow.h"

namespace veltrano {

SystemHistoryEnd runSystemHistory(const SystemDescription& system, const SystemSettings& settings,
                                  std::span<const double> parameters, std::int64_t every,
                                  const std::function<void(const SystemHistoryRow&)>& row,
                                  const std::atomic<bool>* stop, std::atomic<std::int64_t>* done) {
    SystemHistoryEnd end;
    SystemHistoryRow line;
    // A single run takes the two lanes of Lanes128.
    visitFlow(system, SimdPath::Lanes128, [&](const auto& flow) {
        using Flow = std::decay_t<decltype(flow)>;
        ParametersOf<Flow> point{};
        std::copy_n(parameters.begin(), std::min(point.size(), parameters.size()), point.begin());
        const auto result = runSystemObserved(
            flow, settings, point,
            [&](const IntervalStateOf<Flow>& state) {
                if (done) done->store(state.interval, std::memory_order_relaxed);
                if (state.interval % every != 0 && !state.last) return;
                line.interval = state.interval;
                line.t = state.t;
                line.expo.assign(state.expo.begin(), state.expo.end());
                const auto widths = settings.errors && state.batches ? state.batches->halfWidths() : std::nullopt;
                if (widths)
                    line.halfWidth.emplace(widths->begin(),
                                           widths->begin() + static_cast<std::ptrdiff_t>(line.expo.size()));
                else
                    line.halfWidth.reset();
                row(line);
            },
            stop);
        end = {result.completed, result.t};
    });
    return end;
}

}  // namespace veltrano
