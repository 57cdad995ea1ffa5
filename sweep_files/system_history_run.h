#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>

#include "history_file_rows.h"
#include "system_description.h"
#include "system_exponents.h"
#include "system_run.h"

namespace veltrano {

// How the run of a history ended: completed, or stopped by an arithmetic
// fault (or a stop) at time t.
struct SystemHistoryEnd {
    bool completed = false;
    double t = 0.0;
};

// The history of one run of the flow `system` with `settings` at its
// `parameters` (in its order): `row` gets the row after every `every`-th
// measured interval and after the last, each exactly what a run of that
// many intervals gives; `done`, when given, the measured intervals done.
// The run stops early once `stop` is set.
// As runSystemHistory, for `flow` as its own type (a flow of the catalogue
// or one compiled from typed equations).
template <class Flow>
SystemHistoryEnd runFlowHistory(const Flow& flow, const SystemSettings& settings, std::span<const double> parameters,
                                std::int64_t every, const std::function<void(const SystemHistoryRow&)>& row,
                                const std::atomic<bool>* stop = nullptr, std::atomic<std::int64_t>* done = nullptr) {
    SystemHistoryRow line;
    ParametersOf<Flow> point{};
    for (std::size_t i = 0; i < point.size() && i < parameters.size(); ++i) point[i] = parameters[i];
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
                line.halfWidth.emplace(widths->begin(), widths->begin() + static_cast<std::ptrdiff_t>(line.expo.size()));
            else
                line.halfWidth.reset();
            row(line);
        },
        stop);
    return {result.completed, result.t};
}

SystemHistoryEnd runSystemHistory(const SystemDescription& system, const SystemSettings& settings,
                                  std::span<const double> parameters, std::int64_t every,
                                  const std::function<void(const SystemHistoryRow&)>& row,
                                  const std::atomic<bool>* stop = nullptr, std::atomic<std::int64_t>* done = nullptr);

}  // namespace veltrano
