#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "progress.h"
#include "run_settings.h"
#include "sweep_file_writer.h"
#include "sweep_grid.h"

namespace veltrano::cli {

// Where and how a sweep's rows are written.
struct SweepFileOptions {
    std::string output;  // empty: standard output
    bool resume = false;
    std::optional<std::pair<std::int64_t, std::int64_t>> shard;  // K of M
    int threads = 1;
    std::optional<bool> progress;  // unset: when standard error is a terminal
};

struct SweepOptions {
    SweepGrid grid;
    RunSettings run;
    SweepFileOptions file;
    std::string plotFile;
    std::string plotContext;  // the run's options, for the picture's title
};

// Shows the checks of a continued file and the points computed on standard
// error as `progress` (when `shown`), and the warnings.
void showProgress(SweepFileProgress& events, std::optional<Progress>& progress, bool shown);

// veltrano-cli sweep: one CSV row per point in index order, written and
// flushed as the points complete. Checks everything that can be checked
// before it creates or changes a file, and holds the file of --output
// locked while it writes.
int runSweepCommand(const SweepOptions& options);

}  // namespace veltrano::cli
