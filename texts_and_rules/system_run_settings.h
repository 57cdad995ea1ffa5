#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "run_settings.h"
#include "system_description.h"
#include "system_run.h"

namespace veltrano {

// The settings of a run of a flow of the catalogue, from what every front
// end checked first, in this order: K (exponentCount), N and the research
// options (researchSettings, given no start: a flow's start has the flow's
// dimension, not Lorenz's three), then the start (d values, initialPointOf
// for a text). `run`'s own start is not used; without `initial` the run
// starts from the flow's own start.
[[nodiscard]] SystemSettings systemRunSettings(const SystemDescription& system, const RunSettings& run,
                                               std::size_t exponents,
                                               std::optional<std::vector<double>> initial = std::nullopt);

}  // namespace veltrano
