#include "system_run_settings.h"

#include <utility>

namespace veltrano {

SystemSettings systemRunSettings(const SystemDescription& system, const RunSettings& run, std::size_t exponents,
                                 std::optional<std::vector<double>> initial) {
    return {.intervals = run.intervals,
            .transient = run.transient,
            .initial = initial ? std::move(*initial) : system.start,
            .exponents = exponents,
            .step = run.step,
            .stepsPerInterval = run.stepsPerInterval,
            .errors = run.errors,
            .batch = run.batch,
            .targetError = run.targetError};
}

}  // namespace veltrano
