#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "system_description.h"
#include "system_run.h"

namespace veltrano::cli {

struct SystemHistoryOptions {
    SystemDescription system;
    SystemSettings settings;
    std::vector<double> parameters;  // in the flow's order
    std::int64_t every = 1;
    std::string output;  // empty: standard output
};

// veltrano-cli history --system NAME: CSV of the flow's history
// (interval,system,t,lambda1..K and with error bars their half-widths)
// after every `every`-th measured interval and after the last, into a new
// file of its own (never one that exists) or to standard output.
int runSystemHistory(const SystemHistoryOptions& options);

}  // namespace veltrano::cli
