// veltrano-cli: the spectrum computation for scripts and research. One run
// as the window computes it, the history of the estimates, sweeps over one
// or two parameters on every core and SIMD lane, split over machines and
// joined again, and pictures of them. Each form declares, checks and runs
// its own options; this file only hands the command line to the right one.

#include <CLI/CLI.hpp>
#include <algorithm>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "command_line.h"
#include "help_texts.h"
#include "history_form.h"
#include "join_form.h"
#include "one_run.h"
#include "plot_form.h"
#include "sweep_form.h"
#include "system_history_form.h"
#include "system_one_run.h"
#include "systems_form.h"

using namespace veltrano::cli;

namespace {

int print(const std::string& text) {
    return writeAll(stdout, text) ? kExitOk : fail("", "cannot write to standard output", kExitFailed);
}

// The form named by the first argument wants its help when --help or -h
// stands anywhere before "--".
bool asksForHelp(const std::vector<std::string>& args) {
    for (std::size_t i = 2; i < args.size(); ++i) {
        if (args[i] == "--") return false;
        if (args[i] == "--help" || args[i] == "-h") return true;
    }
    return false;
}

// The parser's words for an option given more than once ("--system: At
// Most 1 required but received 2") as the one run of a flow says them.
std::string parseMessage(const std::string& what) {
    const std::string atMost = ": At Most 1 required but received ";
    const auto at = what.find(atMost);
    if (!what.starts_with("--") || at == std::string::npos) return what;
    const std::string times = what.substr(at + atMost.size());
    return what.substr(0, at) + " is given " + (times == "2" ? std::string("twice") : times + " times") +
           ": give it once";
}

// Runs a form to its end: whatever it did not foresee (no memory left, a
// compiler that failed half-way) ends it with a message and status 1, never
// with an abort.
template <class Run>
int ranToItsEnd(std::string_view form, const Run& run) {
    try {
        return run();
    } catch (const std::exception& error) {
        return fail(form, error.what(), kExitFailed);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args = markValues(argc, argv);
    const std::string first = args.size() > 1 ? args[1] : std::string();

    CLI::App app("veltrano-cli", "veltrano-cli");
    app.set_help_flag();
    app.get_formatter()->column_width(26);
    const Form forms[] = {addHistoryForm(app), addSweepForm(app), addJoinForm(app), addPlotForm(app),
                         addSystemsForm(app)};

    // history, sweep and join --system are commands of their own, parsed
    // apart: their entries are N and NAME=VALUE.
    CLI::App systemApp("veltrano-cli", "veltrano-cli");
    systemApp.set_help_flag();
    systemApp.get_formatter()->column_width(26);
    const Form systemForms[] = {addSystemHistoryForm(systemApp), addSystemSweepForm(systemApp),
                                addSystemJoinForm(systemApp)};

    if (first == "--help" || first == "-h")
        return print(helpText({forms[0].command, forms[1].command, systemForms[1].command, forms[2].command,
                               systemForms[2].command, forms[3].command, forms[4].command}));
    if (first == "--version") return print(std::string(kVersion) + '\n');
    const std::vector<std::string_view> rest(args.begin() + std::min<std::size_t>(2, args.size()), args.end());
    const bool system = choosesFlow(rest);
    for (const Form& lorenzForm : forms) {
        if (first != lorenzForm.command->get_name()) continue;
        const Form* systemForm = nullptr;
        for (const Form& f : systemForms)
            if (system && f.command->get_name() == first) systemForm = &f;
        const Form& form = systemForm ? *systemForm : lorenzForm;
        if (asksForHelp(args)) return print(form.command->help("veltrano-cli"));
        std::vector<const char*> marked;
        for (const std::string& a : args) marked.push_back(a.c_str());
        try {
            (systemForm ? systemApp : app).parse(static_cast<int>(marked.size()), marked.data());
        } catch (const CLI::ParseError& e) {
            // The Lorenz forms other than plot keep the parser's own words.
            const std::string what = withoutMarks(e.what());
            return fail(first,
                        (systemForm || first == "systems" || first == "plot" ? parseMessage(what) : what) + "\nRun 'veltrano-cli " +
                            first + (systemForm ? " --system NAME" : "") + " --help' for its options.",
                        kExitRefused);
        }
        return ranToItsEnd(first, [&] { return form.run(); });
    }
    return ranToItsEnd("", [&] { return runOne(std::vector<std::string_view>(argv + 1, argv + argc)); });
}
