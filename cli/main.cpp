// veltrano-cli: the spectrum computation for scripts and research. One run
// as the window computes it, the history of the estimates, and sweeps over
// one or two parameters on every core and SIMD lane, split over machines.

#include <CLI/CLI.hpp>
#include <iostream>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "batched_exponents.h"
#include "command_line.h"
#include "history_command.h"
#include "one_run.h"
#include "sweep_command.h"
#if VELTRANO_PLOT
#include "plot.h"
#endif

using namespace veltrano;
using namespace veltrano::cli;

namespace {

constexpr const char* kVersion = "veltrano-cli 1.0";

constexpr const char* kAbout =
    "Computes the Lyapunov spectrum of the Lorenz system\n"
    "  dx/dt = sigma (y - x), dy/dt = R x - y - x z, dz/dt = x y - b z\n"
    "from x = y = z = 1 by fourth-order Runge-Kutta at h = 0.01, with Gram-Schmidt\n"
    "reorthonormalisation every 20 steps, over N such intervals.\n"
    "\n"
    "One run:  veltrano-cli [--precise] N SIGMA R B\n"
    "  N          number of intervals, a whole number from 1 to 9999\n"
    "  SIGMA R B  decimal numbers: digits, at most one point, a leading minus,\n"
    "             no exponent (-0.5, .5, 28); the point is the separator\n"
    "  --precise  print t and the exponents with 17 significant digits\n"
    "  Prints tab-separated lines: t, lambda1, lambda2, lambda3 (4 decimals) and\n"
    "  seconds (the computing time, 3 decimals). The entries are checked as the\n"
    "  window checks them, with the same messages.\n"
    "  Exit status: 0 done, 1 bad usage, 2 an entry was refused (the message goes\n"
    "  to standard error), 3 an arithmetic error stopped the computation (t is the\n"
    "  time reached, the exponents are \"?\").\n"
    "\n"
    "history and sweep write CSV with 17 significant digits and the point as\n"
    "separator. Their exit status: 0 done, 1 a file could not be written, 2 bad\n"
    "usage or a refused entry (nothing is written), 3 (history) an arithmetic error\n"
    "stopped the computation after the rows printed so far.\n";

constexpr const char* kHistoryAbout =
    "The estimates as the run goes: CSV with the header\n"
    "interval,t,lambda1,lambda2,lambda3 and a row after every K-th interval and\n"
    "after the last. The row of interval k is exactly what a run of N = k gives.";

constexpr const char* kSweepAbout =
    "The spectrum over a line or a grid of parameters: CSV with the header\n"
    "index,sigma,R,b,t,lambda1,lambda2,lambda3,kaplan_yorke,status, one row per\n"
    "point in index order. status is ok, or error for a point stopped by an\n"
    "arithmetic error (t is then the time reached and the next four fields are\n"
    "empty). kaplan_yorke is the Kaplan-Yorke dimension of the three exponents.\n"
    "Every row is exactly what 'veltrano-cli --precise N sigma R b' gives for\n"
    "its values. The base value of a varied parameter is checked but not used.\n"
    "\n"
    "--vary NAME=FROM:TO:COUNT: NAME is sigma, R or b; COUNT values from exactly\n"
    "FROM to exactly TO, evenly spaced (COUNT = 1: FROM only), FROM and TO written\n"
    "as the entries are. Given once: a line; twice, with two names: a grid, the\n"
    "first varying slowest. At most 100000000 points.\n"
    "Rows are written and flushed as they complete. --resume checks that the file\n"
    "of --output is this sweep's (its header, every row's index and parameters,\n"
    "and 17 rows spread over it and the last one computed again), drops an\n"
    "unfinished last line and goes on after the last complete row; the finished\n"
    "file is the uninterrupted sweep to the byte. --shard K/M computes the K-th of\n"
    "M contiguous, nearly equal blocks of the points: the shards' outputs joined in\n"
    "order, without the headers after the first, are the whole sweep.";

// What every form that takes the four entries needs.
struct Entries {
    std::vector<std::string> texts;
    std::string plot;
};

void addEntries(CLI::App& command, Entries& entries) {
    command.add_option("N SIGMA R B", entries.texts, "the number of intervals and the three parameters")
        ->expected(4)
        ->required()
        ->option_text(" ");
    command.add_option("--plot", entries.plot, "also draw the results into FILE.png or FILE.svg")
        ->option_text("FILE");
}

// Checks the four entries and the picture's file name; nullopt with the
// message shown when one is refused.
std::optional<Parameters> checked(const char* command, const Entries& entries) {
    const auto result = checkEntryTexts(entries.texts);
    if (const auto* error = std::get_if<EntryError>(&result)) {
        std::cerr << error->message << '\n';
        return std::nullopt;
    }
    if (!entries.plot.empty()) {
#if VELTRANO_PLOT
        if (!plot::supportedFile(unmarked(entries.plot))) {
            std::cerr << "veltrano-cli " << command << ": --plot " << unmarked(entries.plot)
                      << ": the picture's name must end in .png or .svg\n";
            return std::nullopt;
        }
#else
        std::cerr << "veltrano-cli " << command << ": --plot: this build of veltrano-cli draws no pictures "
                  << "(it was built without Qt)\n";
        return std::nullopt;
#endif
    }
    return std::get<Parameters>(result);
}

std::string helpText(CLI::App& history, CLI::App& sweep) {
    std::string text =
        "Usage: veltrano-cli [--precise] N SIGMA R B\n"
        "  or:  veltrano-cli history [options] N SIGMA R B\n"
        "  or:  veltrano-cli sweep --vary NAME=FROM:TO:COUNT [options] N SIGMA R B\n"
        "  or:  veltrano-cli --help | --version\n\n";
    text += kAbout;
    text += "\n" + history.help("veltrano-cli", CLI::AppFormatMode::Sub);
    text += "\n" + sweep.help("veltrano-cli", CLI::AppFormatMode::Sub);
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args = markValues(argc, argv);
    const std::string first = args.size() > 1 ? args[1] : std::string();

    CLI::App app("veltrano-cli", "veltrano-cli");
    app.set_help_flag();
    app.get_formatter()->column_width(24);
    CLI::App& history = *app.add_subcommand("history", kHistoryAbout);
    CLI::App& sweep = *app.add_subcommand("sweep", kSweepAbout);

    Entries historyEntries, sweepEntries;
    std::string every = "1";
    addEntries(history, historyEntries);
    history.add_option("--every", every, "a row after every K-th interval (default 1) and after the last")
        ->option_text("K");

    std::vector<std::string> vary;
    std::string output, shard, threads;
    bool resume = false, progressOn = false, progressOff = false;
    addEntries(sweep, sweepEntries);
    sweep
        .add_option("--vary", vary,
                    "NAME=FROM:TO:COUNT, the parameter to vary (once or twice)")
        ->option_text("AXIS")
        ->required()
        ->allow_extra_args(false);  // one value each time it is given
    sweep.add_option("--output", output, "write the rows to FILE, never over an existing one (default: stdout)")
        ->option_text("FILE");
    sweep.add_flag("--resume", resume, "continue the file of --output, cut short by a crash or a kill");
    sweep.add_option("--shard", shard, "compute only the K-th of M blocks of the points (1 <= K <= M)")
        ->option_text("K/M");
    sweep.add_option("--threads", threads, "threads to compute with (default: every hardware thread)")
        ->option_text("T")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    sweep.add_flag("--progress", progressOn, "show progress on stderr (default: when it is a terminal)");
    sweep.add_flag("--no-progress", progressOff, "show no progress");

    if (first == "--help" || first == "-h") {
        std::cout << helpText(history, sweep);
        return kExitOk;
    }
    if (first == "--version") {
        std::cout << kVersion << '\n';
        return kExitOk;
    }
    if (first != "history" && first != "sweep") {
        std::vector<std::string_view> rest(argv + 1, argv + argc);
        return runOne(rest);
    }

    std::vector<const char*> marked;
    for (const std::string& a : args) marked.push_back(a.c_str());
    try {
        app.parse(static_cast<int>(marked.size()), marked.data());
    } catch (const CLI::CallForHelp&) {
        std::cout << (first == "history" ? history.help() : sweep.help());
        return kExitOk;
    } catch (const CLI::ParseError& e) {
        std::cerr << "veltrano-cli " << first << ": " << unmarked(e.what()) << "\n"
                  << "Run 'veltrano-cli " << first << " --help' for its options.\n";
        return kExitRefused;
    }

    if (history.parsed()) {
        const auto parameters = checked("history", historyEntries);
        if (!parameters) return kExitRefused;
        const auto k = wholeNumber(every, 1, 9999999);
        if (!k) {
            std::cerr << "veltrano-cli history: --every " << unmarked(every) << ": K must be a whole number of at least 1\n";
            return kExitRefused;
        }
        return runHistory({*parameters, *k, unmarked(historyEntries.plot)});
    }

    const auto parameters = checked("sweep", sweepEntries);
    if (!parameters) return kExitRefused;
    const auto refuse = [](const std::string& message) {
        std::cerr << "veltrano-cli sweep: " << message << '\n';
        return kExitRefused;
    };
    SweepOptions options;
    options.grid.n = parameters->n;
    options.grid.base = {parameters->sigma, parameters->R, parameters->b};
    if (vary.size() > 2) return refuse("--vary is given at most twice (a line or a grid)");
    for (const std::string& v : vary) {
        const auto axis = parseVary(v);
        if (const auto* why = std::get_if<std::string>(&axis)) return refuse(*why);
        options.grid.axes[static_cast<std::size_t>(options.grid.axisCount++)] = std::get<SweepAxis>(axis);
    }
    if (options.grid.axisCount == 2 && options.grid.axes[0].parameter == options.grid.axes[1].parameter)
        return refuse("the two --vary must name two different parameters");
    if (options.grid.size() > SweepGrid::kMaxPoints)
        return refuse("the grid has " + std::to_string(options.grid.size()) +
                      " points; a sweep has at most 100000000 (split it with --vary ranges)");
    options.output = unmarked(output);
    options.resume = resume;
    if (resume && options.output.empty()) return refuse("--resume needs --output FILE");
    if (!shard.empty()) {
        options.shard = parseShard(shard);
        if (!options.shard) return refuse("--shard " + unmarked(shard) + ": expected K/M with 1 <= K <= M <= 100000000");
    }
    options.threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    if (!threads.empty()) {
        const auto t = wholeNumber(threads, 1, 4096);
        if (!t) return refuse("--threads " + unmarked(threads) + ": T must be a whole number from 1 to 4096");
        options.threads = static_cast<int>(*t);
    }
    if (progressOn && progressOff) return refuse("--progress and --no-progress exclude each other");
    if (progressOn || progressOff) options.progress = progressOn;
    options.plotFile = unmarked(sweepEntries.plot);
    return runSweepCommand(options);
}
