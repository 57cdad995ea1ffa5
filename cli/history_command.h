#pragma once

#include <cstdint>
#include <string>

#include "rk4_integrator.h"
#include "run_settings.h"

namespace veltrano::cli {

struct HistoryOptions {
    FlowParameters parameters{};
    RunSettings run;
    std::int64_t every = 1;
    std::string plotFile;  // empty: no picture
};

// veltrano-cli history: CSV of t and the three estimates (with error bars,
// their half-widths) after every `every`-th measured interval and after the
// last, each row what a run of that many intervals gives.
int runHistory(const HistoryOptions& options);

}  // namespace veltrano::cli
