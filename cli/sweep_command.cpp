#include "sweep_command.h"

#include <unistd.h>

#include <csignal>
#include <memory>
#include <optional>

#include "output_file.h"
#include "picture_file.h"
#include "sweep_picture.h"
#include "plot_plugin.h"
#include "report.h"
#include "sweep_file_writer.h"
#include "trace_check.h"

namespace veltrano::cli {

void showProgress(SweepFileProgress& events, std::optional<Progress>& progress, bool shown) {
    events.checkingStarts = [&progress, shown](std::int64_t total) { progress.emplace(shown, total, 0, "rows checked"); };
    events.checked = [&progress](std::int64_t rows) { progress->set(rows); };
    events.checkingEnds = [&progress] { progress->finish(); };
    events.computingStarts = [&progress, shown](std::int64_t total, std::int64_t done) {
        progress.emplace(shown, total, done, "points");
    };
    events.computed = [&progress](std::int64_t points) { progress->advance(points); };
    events.computingEnds = [&progress] { progress->finish(); };
    events.warning = [](const std::string& warning) { fail("sweep", warning, kExitOk); };
}

int runSweepCommand(const SweepOptions& options) {
    const bool shown = options.file.progress.value_or(::isatty(STDERR_FILENO) == 1);
    if (!options.plotFile.empty()) {
        if (auto why = checkPicturePath(options.plotFile, options.file.output))
            return fail("sweep", "--plot " + why->message, why->refused ? kExitRefused : kExitFailed);
        if (const std::string why = picturesUnavailable(); !why.empty()) return fail("sweep", why, kExitRefused);
    }
    std::unique_ptr<pictures::SweepPicture> picture;
    if (!options.plotFile.empty())
        picture = std::make_unique<pictures::SweepPicture>(options.grid, options.plotContext, options.run.errors);

    // A closed pipe is a failed write, said as such, not a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    SweepFileJob job;
    job.grid = options.grid;
    job.run = options.run;
    job.output = options.file.output;
    job.resume = options.file.resume;
    job.shard = options.file.shard;
    job.threads = options.file.threads;
    std::optional<Progress> progress;
    SweepFileEvents events;
    if (picture) events.row = [&](const SweepPoint& p) { picture->add(p, statusOf(p.result, p.parameters, options.run)); };
    showProgress(events, progress, shown);
    if (const auto failure = writeSweepFile(job, events, stdout))
        return fail("sweep", failure->message,
                    failure->kind == SweepFileFailure::Kind::Refused ? kExitRefused : kExitFailed);
    if (picture) {
        if (const std::string error = writePictureFile(*picture, options.plotFile); !error.empty())
            return fail("sweep", error, kExitFailed);
    }
    return kExitOk;
}

}  // namespace veltrano::cli
