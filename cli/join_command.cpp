#include "join_command.h"

#include <csignal>

#include "report.h"
#include "shard_join.h"

namespace veltrano::cli {

int runJoin(const JoinOptions& options) {
    // A closed pipe is a failed write, said as such, not a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    const ShardSet set{options.grid, options.run, options.shards, options.pattern};
    const auto failure = joinShards(set, options.output, options.threads, stdout);
    if (!failure) return kExitOk;
    for (const std::string& message : failure->messages) fail("join", message, kExitOk);
    return failure->refused ? kExitRefused : kExitFailed;
}

}  // namespace veltrano::cli
