#include "history_command.h"

#include <cstdio>
#include <iostream>

#include "batched_exponents.h"
#include "command_line.h"
#include "exponents.h"
#include "number_text.h"
#include "output_file.h"
#include "picture_file.h"
#include "plot_data.h"
#include "precise_text.h"
#include "research_options.h"

namespace veltrano::cli {

std::string historyHeader(bool errors) {
    return errors ? "interval,t,lambda1,lambda2,lambda3,lambda1_err,lambda2_err,lambda3_err"
                  : "interval,t,lambda1,lambda2,lambda3";
}

int runHistory(const HistoryOptions& options) {
    const FlowParameters& p = options.parameters;
    const RunSettings& run = options.run;
    if (!options.plotFile.empty()) {
        if (const auto why = checkPicturePath(options.plotFile, {})) {
            std::cerr << "veltrano-cli history: --plot " << why->message << '\n';
            return why->refused ? kExitRefused : kExitFailed;
        }
    }
    HistoryPicture picture;
    bool writeFailed = false;
    writeFailed |= std::fputs((historyHeader(run.errors) + '\n').c_str(), stdout) < 0;
    std::string row;
    const PointResult result = runObserved(run, p, [&](const IntervalState& state) {
        const std::optional<Triple> widths =
            run.errors && state.batches ? state.batches->halfWidths() : std::optional<Triple>();
        if (!options.plotFile.empty()) picture.add(state.interval, state.t, state.expo, widths);
        if (state.interval % options.every != 0 && !state.last) return;
        row = std::to_string(state.interval) + ',' + preciseText(state.t);
        for (double e : state.expo) row += ',' + preciseText(e);
        if (run.errors) {
            if (widths) {
                for (double w : *widths) row += ',' + preciseText(w);
            } else {
                row += ",,,";
            }
        }
        row += '\n';
        writeFailed |= std::fputs(row.c_str(), stdout) < 0;
    });
    writeFailed |= std::fflush(stdout) != 0;
    if (writeFailed) {
        std::cerr << "veltrano-cli history: cannot write the rows to standard output\n";
        return kExitFailed;
    }
    if (!result.completed) std::cerr << kComputationErrorText << '\n';
    if (!options.plotFile.empty() && !picture.empty()) {
        const std::string context = "σ = " + shortest(p.sv) + ", R = " + shortest(p.rv) + ", b = " + shortest(p.bv) +
                                    ", " + describeRun(run);
        if (const std::string error = writePictureFile(picture.chart(context), options.plotFile); !error.empty()) {
            std::cerr << "veltrano-cli history: " << error << '\n';
            return kExitFailed;
        }
    }
    return result.completed ? kExitOk : kExitArithmetic;
}

}  // namespace veltrano::cli
