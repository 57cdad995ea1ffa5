#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "sweep_runner.h"
#include "system_sweep_rows.h"

namespace veltrano {

// The sweep whose shards are joined, and where its shards' files are.
struct ShardSet {
    SweepGrid grid;
    RunSettings run;
    std::int64_t shards = 1;
    std::string pattern;  // the shards' files, every "{K}" standing for 1 .. shards
};

// The file of shard k of the pattern: every {K} replaced by k.
[[nodiscard]] std::string shardFile(const std::string& pattern, std::int64_t k);

// Why a join wrote nothing (or, to standard output, stopped).
struct JoinFailure {
    bool refused = true;                // a shard or the output refused; else a file could not be read or written
    std::vector<std::string> messages;  // one for each shard at fault, in order
};

// Checks every shard's file, `threads` at a time and each open only while it
// is checked (held with a shared lock: a task still writing one holds it
// exclusively): it must be complete and be that shard of this sweep, as
// --resume checks a file, with no row missing or unfinished. Then writes the
// whole sweep, copying each shard's bytes only as they were checked, to
// `output` (written beside it and given its name once complete, never over
// an existing file; a device or a pipe is written as it is) or to
// `standardOutput`. `threads` 0: every hardware thread. `checked`, if
// given, is called once every shard has passed its checks, before the copy.
[[nodiscard]] std::optional<JoinFailure> joinShards(const ShardSet& set, const std::string& output, int threads,
                                                    std::FILE* standardOutput = stdout,
                                                    const std::function<void()>& checked = {});

// The shards of a sweep of a flow of the catalogue, joined as joinShards
// joins them: each must be that shard of this sweep, of this flow and these
// columns (a shard of another flow or of the Lorenz form is refused naming
// both).
struct SystemShardSet {
    SystemSweep sweep;
    std::int64_t shards = 1;
    std::string pattern;
};
[[nodiscard]] std::optional<JoinFailure> joinSystemShards(const SystemShardSet& set, const std::string& output,
                                                          int threads, std::FILE* standardOutput = stdout,
                                                          const std::function<void()>& checked = {});

}  // namespace veltrano
