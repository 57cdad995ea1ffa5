#pragma once

#include <cstdint>
#include <string>

#include "parameters.h"

namespace veltrano::cli {

struct HistoryOptions {
    Parameters parameters;
    std::int64_t every = 1;
    std::string plotFile;  // empty: no picture
};

// veltrano-cli history: CSV of t and the three estimates after every
// `every`-th interval and after the last, each row what a run of that many
// intervals gives.
int runHistory(const HistoryOptions& options);

}  // namespace veltrano::cli
