// The one-run form: the computation of the window for scripts and checks,
// with the same checks and messages, printed with the point as separator.

#include "one_run.h"

#include <iostream>
#include <string>
#include <variant>

#include "clock.h"
#include "command_line.h"
#include "computation_run.h"
#include "help_texts.h"
#include "precise_text.h"
#include "system_one_run.h"

namespace veltrano::cli {

namespace {

// Collects the result fields and reports errors on stderr.
class TerminalView final : public ResultView {
public:
    void reportError(std::string_view message) override { std::cerr << message << '\n'; }
    void setField(ResultField field, std::string_view text, bool) override {
        fields_[static_cast<std::size_t>(field)] = std::string(text);
    }
    void setBusyPointer(bool) override {}
    std::string decimalSeparator() const override { return "."; }
    const std::string& field(ResultField f) const { return fields_[static_cast<std::size_t>(f)]; }

private:
    std::string fields_[5];
};

}  // namespace

const std::string_view kOneRunUsage =
    "usage: veltrano-cli [--precise] N SIGMA R B\n"
    "       veltrano-cli --system NAME [--dimension D] [--exponents K] [--initial V1,...,VD]\n"
    "                    [--precise] N [NAME=VALUE]...\n"
    "       veltrano-cli --equations FILE [--exponents K] [--initial V1,...,VD]\n"
    "                    [--precise] N [NAME=VALUE]...\n"
    "       veltrano-cli history [options] N SIGMA R B\n"
    "       veltrano-cli history --system NAME [options] N [NAME=VALUE]...\n"
    "       veltrano-cli sweep [--vary NAME=FROM:TO:COUNT]... [options] N SIGMA R B\n"
    "       veltrano-cli join --shards M --input PATTERN [options] N SIGMA R B\n"
    "       veltrano-cli plot [--equations FILE] INPUT.csv OUTPUT.png|OUTPUT.svg\n"
    "       veltrano-cli --help | --version\n";

int runOne(std::vector<std::string_view> args) {
    // Asked for help anywhere, the form gives it rather than a usage error.
    for (const std::string_view a : args)
        if (a == "--help" || a == "-h")
            return writeAll(stdout, oneRunHelp()) ? kExitOk : fail("", "cannot write to standard output", kExitFailed);
    if (choosesFlow(args)) return runFlowOne(args);
    bool precisely = false;
    if (!args.empty() && args.front() == "--precise") {
        precisely = true;
        args.erase(args.begin());
    }
    if (args.size() != 4) {
        std::cerr << kOneRunUsage << "Run 'veltrano-cli --help' for more.\n";
        return kExitFailed;
    }

    const auto checked = checkEntryTexts({std::string(args[0]), std::string(args[1]), std::string(args[2]),
                                          std::string(args[3])});
    if (const auto* error = std::get_if<EntryError>(&checked)) {
        std::cerr << error->message << '\n';
        return kExitRefused;
    }

    Spectrum spectrum;
    TerminalView view;
    const SteadyClock clock;
    const RunOutcome outcome = computeAndShow(spectrum, std::get<Parameters>(checked), view, clock);

    const auto show = [&](ResultField f, double value) { return precisely ? preciseText(value) : view.field(f); };
    std::string text = "t\t" + show(ResultField::Time, spectrum.t()) + '\n';
    const char* names[] = {"lambda1", "lambda2", "lambda3"};
    const ResultField fields[] = {ResultField::Lambda1, ResultField::Lambda2, ResultField::Lambda3};
    for (std::size_t k = 0; k < 3; ++k)
        text += std::string(names[k]) + '\t' + (outcome.completed ? show(fields[k], spectrum.expo()[k]) : "?") + '\n';
    if (outcome.completed) text += "seconds\t" + view.field(ResultField::Seconds) + '\n';
    // A result that could not be written is not a result.
    if (!writeAll(stdout, text)) return fail("", "cannot write to standard output", kExitFailed);
    return outcome.completed ? kExitOk : kExitArithmetic;
}

}  // namespace veltrano::cli
