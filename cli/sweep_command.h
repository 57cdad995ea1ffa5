#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "sweep_grid.h"

namespace veltrano::cli {

struct SweepOptions {
    SweepGrid grid;
    std::string output;  // empty: standard output
    bool resume = false;
    std::optional<std::pair<std::int64_t, std::int64_t>> shard;  // K of M
    int threads = 1;
    std::optional<bool> progress;  // unset: when standard error is a terminal
    std::string plotFile;
};

// veltrano-cli sweep: one CSV row per point in index order, written and
// flushed as the points complete. Checks everything that can be checked
// before it creates or changes a file.
int runSweepCommand(const SweepOptions& options);

}  // namespace veltrano::cli
