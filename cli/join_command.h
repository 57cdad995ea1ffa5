#pragma once

#include <cstdint>
#include <string>

#include "run_settings.h"
#include "sweep_grid.h"

namespace veltrano::cli {

struct JoinOptions {
    SweepGrid grid;
    RunSettings run;
    std::int64_t shards = 1;
    std::string pattern;  // the shards' files, "{K}" standing for 1 .. shards
    std::string output;   // empty: standard output
    int threads = 0;      // shards checked at once; 0: every hardware thread
};

// veltrano-cli join: checks that every shard's file is complete and is
// that shard of this sweep (as --resume checks a file, and with no row
// missing or unfinished), then writes the whole sweep beside --output and
// gives it its name when complete. Refuses, naming every shard at fault,
// before writing anything otherwise.
int runJoin(const JoinOptions& options);

}  // namespace veltrano::cli
