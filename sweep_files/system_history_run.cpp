#include "system_history_run.h"

#include "visit_flow.h"

namespace veltrano {

SystemHistoryEnd runSystemHistory(const SystemDescription& system, const SystemSettings& settings,
                                  std::span<const double> parameters, std::int64_t every,
                                  const std::function<void(const SystemHistoryRow&)>& row,
                                  const std::atomic<bool>* stop, std::atomic<std::int64_t>* done) {
    SystemHistoryEnd end;
    // A single run takes the two lanes of Lanes128.
    visitFlow(system, SimdPath::Lanes128,
              [&](const auto& flow) { end = runFlowHistory(flow, settings, parameters, every, row, stop, done); });
    return end;
}

}  // namespace veltrano
