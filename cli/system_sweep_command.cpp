#include "system_sweep_command.h"

#include <unistd.h>

#include <csignal>
#include <optional>
#include <vector>

#include "equation_file.h"
#include "output_file.h"
#include "picture_file.h"
#include "report.h"
#include "shard_join.h"
#include "system_entries.h"
#include "system_sweep_file_writer.h"
#include "system_sweep_map.h"

namespace veltrano::cli {

int runSystemSweepCommand(const SystemSweepOptions& options) {
    if (!options.plotFile.empty())
        if (auto why = checkPicturePath(options.plotFile, options.file.output))
            return fail("sweep", "--plot " + why->message, why->refused ? kExitRefused : kExitFailed);
    std::optional<pictures::SystemSweepMap> map;
    if (!options.plotFile.empty()) {
        std::vector<std::string> names;
        for (const ParameterDescription& p : options.sweep.system.parameters) names.push_back(p.name);
        map.emplace(options.sweep.grid, flowTitle(options.sweep.system), std::move(names), 0);
    }
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
    if (map) events.row = [&](const SystemSweepPoint& p) { map->add(p, systemPointStatus(options.sweep, p)); };
    showProgress(events, progress, options.file.progress.value_or(::isatty(STDERR_FILENO) == 1));
    if (const auto failure = writeSystemSweepFile(job, events, stdout))
        return fail("sweep", failure->message,
                    failure->kind == SweepFileFailure::Kind::Refused ? kExitRefused : kExitFailed);
    if (map)
        if (const std::string error = writePictureFile(map->heatMap(), options.plotFile); !error.empty())
            return fail("sweep", error, kExitFailed);
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
