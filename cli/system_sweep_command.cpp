#include "system_sweep_command.h"

#include <unistd.h>

#include <csignal>

#include "report.h"
#include "shard_join.h"
#include "system_sweep_file_writer.h"

namespace veltrano::cli {

int runSystemSweepCommand(const SystemSweepOptions& options) {
    // A closed pipe is a failed write, said as such, not a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    SystemSweepFileJob job;
    job.sweep = options.sweep;
    job.output = options.file.output;
    job.resume = options.file.resume;
    job.shard = options.file.shard;
    job.threads = options.file.threads;
    std::optional<Progress> progress;
    SweepFileEventsOf<SystemSweepPoint> events;
    showProgress(events, progress, options.file.progress.value_or(::isatty(STDERR_FILENO) == 1));
    if (const auto failure = writeSystemSweepFile(job, events, stdout))
        return fail("sweep", failure->message,
                    failure->kind == SweepFileFailure::Kind::Refused ? kExitRefused : kExitFailed);
    return kExitOk;
}

int runSystemJoin(const SystemJoinOptions& options) {
    std::signal(SIGPIPE, SIG_IGN);
    const SystemShardSet set{options.sweep, options.shards, options.pattern};
    const auto failure = joinSystemShards(set, options.output, options.threads, stdout);
    if (!failure) return kExitOk;
    for (const std::string& message : failure->messages) fail("join", message, kExitOk);
    return failure->refused ? kExitRefused : kExitFailed;
}

}  // namespace veltrano::cli
