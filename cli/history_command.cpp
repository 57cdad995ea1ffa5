#include "history_command.h"

#include <array>
#include <cstdio>
#include <iostream>
#include <vector>

#include "command_line.h"
#include "exponents.h"
#include "precise_text.h"
#if VELTRANO_PLOT
#include "plot_data.h"
#endif

namespace veltrano::cli {

namespace {

// The rows already printed go out before the message.
class StderrReporter final : public ErrorReporter {
public:
    void reportError(std::string_view message) override {
        std::fflush(stdout);
        std::cerr << message << '\n';
    }
};

}  // namespace

int runHistory(const HistoryOptions& options) {
    const Parameters& p = options.parameters;
    std::vector<double> times;
    std::array<std::vector<double>, 3> estimates;
    Spectrum spectrum;
    StderrReporter reporter;
    bool writeFailed = false;
    std::fputs("interval,t,lambda1,lambda2,lambda3\n", stdout);
    const bool completed = spectrum.run(p, reporter, [&](int interval) {
        if (!options.plotFile.empty()) {
            times.push_back(spectrum.t());
            for (std::size_t k = 0; k < 3; ++k) estimates[k].push_back(spectrum.expo()[k]);
        }
        if (interval % options.every != 0 && interval != p.n) return;
        std::string row = std::to_string(interval) + ',' + preciseText(spectrum.t());
        for (double e : spectrum.expo()) row += ',' + preciseText(e);
        row += '\n';
        writeFailed |= std::fputs(row.c_str(), stdout) < 0;
    });
    writeFailed |= std::fflush(stdout) != 0;
    if (writeFailed) {
        std::cerr << "veltrano-cli history: cannot write the rows to standard output\n";
        return kExitFailed;
    }
#if VELTRANO_PLOT
    if (!options.plotFile.empty() && !times.empty()) {
        const std::string error = plot::write(historyChart(p, times, estimates), options.plotFile);
        if (!error.empty()) {
            std::cerr << "veltrano-cli history: " << error << '\n';
            return kExitFailed;
        }
    }
#endif
    return completed ? kExitOk : kExitArithmetic;
}

}  // namespace veltrano::cli
