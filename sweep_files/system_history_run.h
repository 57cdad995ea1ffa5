#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <span>

#include "history_file_rows.h"
#include "system_description.h"
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
SystemHistoryEnd runSystemHistory(const SystemDescription& system, const SystemSettings& settings,
                                  std::span<const double> parameters, std::int64_t every,
                                  const std::function<void(const SystemHistoryRow&)>& row,
                                  const std::atomic<bool>* stop = nullptr, std::atomic<std::int64_t>* done = nullptr);

}  // namespace veltrano
