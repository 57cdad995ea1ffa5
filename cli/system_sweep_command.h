#pragma once

#include <cstdint>
#include <string>

#include "sweep_command.h"
#include "system_sweep_rows.h"

namespace veltrano::cli {

struct SystemSweepOptions {
    SystemSweep sweep;
    SweepFileOptions file;
    std::string plotFile;  // the map of lambda1 over the two axes (empty: none)
};

// veltrano-cli sweep --system NAME: as runSweepCommand, the rows of a sweep
// of a flow of the catalogue.
int runSystemSweepCommand(const SystemSweepOptions& options);

struct SystemJoinOptions {
    SystemSweep sweep;
    std::int64_t shards = 1;
    std::string pattern;  // the shards' files, "{K}" standing for 1 .. shards
    std::string output;   // empty: standard output
    int threads = 0;      // shards checked at once; 0: every hardware thread
};

// veltrano-cli join --system NAME: as runJoin, the shards of a sweep of a
// flow; a shard of another flow or form is refused naming both.
int runSystemJoin(const SystemJoinOptions& options);

}  // namespace veltrano::cli
