#include "history_command.h"

#include <cerrno>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <iostream>

#include "batched_exponents.h"
#include "command_line.h"
#include "exponents.h"
#include "fault_text.h"
#include "history_picture.h"
#include "history_file_rows.h"
#include "number_text.h"
#include "output_file.h"
#include "picture_file.h"
#include "research_options.h"

namespace veltrano::cli {

int runHistory(const HistoryOptions& options) {
    const FlowParameters& p = options.parameters;
    const RunSettings& run = options.run;
    if (!options.plotFile.empty()) {
        if (const auto why = checkPicturePath(options.plotFile, {}))
            return fail("history", "--plot " + why->message, why->refused ? kExitRefused : kExitFailed);
    }
    // A closed pipe is a failed write, said as such, not a silent death.
    std::signal(SIGPIPE, SIG_IGN);
    pictures::HistoryPicture picture;
    bool writeFailed = !writeAll(stdout, historyHeader(run.errors) + '\n');
    std::atomic<bool> stop{writeFailed};  // no reader left: no reason to go on
    std::string line;
    const PointResult result = runObserved(run, p, [&](const IntervalState& state) {
        const std::optional<Triple> widths =
            run.errors && state.batches ? state.batches->halfWidths() : std::optional<Triple>();
        if (!options.plotFile.empty()) picture.add(state.interval, state.t, state.expo, widths);
        if (writeFailed || (state.interval % options.every != 0 && !state.last)) return;
        line = historyRow({state.interval, state.t, state.expo, widths}, run.errors);
        line += '\n';
        writeFailed = std::fputs(line.c_str(), stdout) < 0;
        if (writeFailed) stop = true;
    }, &stop);
    if (writeFailed || std::fflush(stdout) != 0)
        return fail("history", "cannot write the rows to standard output: " + std::string(std::strerror(errno)),
                    kExitFailed);
    if (!result.completed) std::cerr << kComputationErrorText << '\n';
    if (!options.plotFile.empty() && !picture.empty()) {
        const std::string context = "σ = " + shortest(p.sv) + ", R = " + shortest(p.rv) + ", b = " + shortest(p.bv) +
                                    ", " + describeRun(run);
        if (const std::string error = writePictureFile(picture.chart(context), options.plotFile); !error.empty())
            return fail("history", error, kExitFailed);
    }
    return result.completed ? kExitOk : kExitArithmetic;
}

}  // namespace veltrano::cli
