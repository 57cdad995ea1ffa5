// veltrano-cli: the spectrum computation for scripts and research. One run
// as the window computes it, the history of the estimates, sweeps over one
// or two parameters on every core and SIMD lane, split over machines and
// joined again, and pictures of them.

#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <string>
#include <thread>
#include <variant>
#include <vector>

#include "batched_exponents.h"
#include "command_line.h"
#include "help_texts.h"
#include "history_command.h"
#include "join_command.h"
#include "one_run.h"
#include "plot_command.h"
#include "plot_plugin.h"
#include "research_options.h"
#include "sweep_command.h"

using namespace veltrano;
using namespace veltrano::cli;

namespace {

// Writes a text to standard output; a failed write is an error.
int print(const std::string& text) {
    const bool ok = std::fwrite(text.data(), 1, text.size(), stdout) == text.size() && std::fflush(stdout) == 0;
    if (ok) return kExitOk;
    std::cerr << "veltrano-cli: cannot write to standard output\n";
    return kExitFailed;
}

// The four entries of history, sweep and join with their research options
// and picture.
struct Entries {
    std::vector<std::string> texts;
    std::string plot;
    ResearchTexts research;
};

void addEntries(CLI::App& command, Entries& entries, bool picture) {
    command.add_option("N SIGMA R B", entries.texts, "the number of measured intervals and the three parameters")
        ->expected(4)
        ->required()
        ->option_text(" ");
    if (picture)
        command.add_option("--plot", entries.plot, "also draw the results into FILE.png or FILE.svg (a new file)")
            ->option_text("FILE");
    addResearchOptions(command, entries.research);
}

struct Checked {
    ResearchEntries entries;
    RunSettings run;
};

// Checks the entries, the research options and the picture's name; nullopt
// with the message shown when one is refused.
std::optional<Checked> checked(const char* command, const Entries& entries) {
    const auto refuse = [command](const std::string& message) {
        std::cerr << "veltrano-cli " << command << ": " << message << '\n';
        return std::nullopt;
    };
    const auto result = checkResearchEntries(entries.texts);
    if (const auto* error = std::get_if<std::string>(&result)) {
        std::cerr << *error << '\n';
        return std::nullopt;
    }
    const ResearchEntries values = std::get<ResearchEntries>(result);
    auto settings = researchSettings(entries.research, values.n);
    if (const auto* why = std::get_if<std::string>(&settings)) return refuse(*why);
    if (!entries.plot.empty()) {
        if (const std::string why = picturesUnavailable(); !why.empty()) return refuse("--plot: " + why);
        if (!supportedPictureFile(unmarked(entries.plot)))
            return refuse("--plot " + unmarked(entries.plot) + ": the picture's name must end in .png or .svg");
    }
    return Checked{values, std::get<RunSettings>(settings)};
}

// The options of sweep and join that choose the points.
struct GridTexts {
    std::vector<std::string> vary;
};

std::variant<SweepGrid, std::string> gridOf(const GridTexts& texts, const FlowParameters& base) {
    SweepGrid grid;
    grid.base = base;
    if (texts.vary.size() > 2) return std::string("--vary is given at most twice (a line or a grid)");
    for (const std::string& v : texts.vary) {
        const auto axis = parseVary(v);
        if (const auto* why = std::get_if<std::string>(&axis)) return *why;
        grid.axes[static_cast<std::size_t>(grid.axisCount++)] = std::get<SweepAxis>(axis);
    }
    if (grid.axisCount == 2 && grid.axes[0].parameter == grid.axes[1].parameter)
        return std::string("the two --vary must name two different parameters");
    if (grid.size() > SweepGrid::kMaxPoints)
        return "the grid has " + std::to_string(grid.size()) +
               " points; a sweep has at most 100000000 (split it with --vary ranges)";
    return grid;
}

void addGrid(CLI::App& command, GridTexts& texts) {
    command.add_option("--vary", texts.vary, "NAME=FROM:TO:COUNT, a parameter to vary (none, once or twice)")
        ->option_text("AXIS")
        ->allow_extra_args(false);  // one value each time it is given
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

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> args = markValues(argc, argv);
    const std::string first = args.size() > 1 ? args[1] : std::string();

    CLI::App app("veltrano-cli", "veltrano-cli");
    app.set_help_flag();
    app.get_formatter()->column_width(26);
    CLI::App& history = *app.add_subcommand("history", kHistoryAbout);
    CLI::App& sweep = *app.add_subcommand("sweep", kSweepAbout);
    CLI::App& join = *app.add_subcommand("join", kJoinAbout);
    CLI::App& plot = *app.add_subcommand("plot", kPlotAbout);
    for (CLI::App* form : {&history, &sweep, &join, &plot}) form->set_help_flag();

    Entries historyEntries, sweepEntries, joinEntries;
    std::string every = "1";
    addEntries(history, historyEntries, true);
    history.add_option("--every", every, "a row after every K-th interval (1 <= K <= 1000000000, default 1) and after the last")
        ->option_text("K");

    GridTexts sweepGrid, joinGrid;
    std::string output, shard, threads;
    bool resume = false, progressOn = false, progressOff = false;
    addEntries(sweep, sweepEntries, true);
    addGrid(sweep, sweepGrid);
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

    std::string shards, pattern, joinOutput;
    addEntries(join, joinEntries, false);
    addGrid(join, joinGrid);
    join.add_option("--shards", shards, "the number of shards M the sweep was split into")->option_text("M")->required();
    join.add_option("--input", pattern, "the shards' files, {K} standing for the shard's number")
        ->option_text("PATTERN")
        ->required();
    join.add_option("--output", joinOutput, "write the whole sweep to FILE, a new file (default: stdout)")
        ->option_text("FILE");

    std::vector<std::string> plotFiles;
    std::string exponent;
    plot.add_option("--exponent", exponent, "draw only lambda K (1, 2 or 3) of a history or a line, with its band")
        ->option_text("K");
    plot.add_option("INPUT OUTPUT", plotFiles, "a history or sweep file and the picture to draw (.png or .svg)")
        ->expected(2)
        ->required()
        ->option_text(" ");

    CLI::App* forms[] = {&history, &sweep, &join, &plot};
    if (first == "--help" || first == "-h") return print(helpText(history, sweep, join, plot));
    if (first == "--version") return print(std::string(kVersion) + '\n');
    for (CLI::App* form : forms)
        if (first == form->get_name() && asksForHelp(args)) return print(form->help("veltrano-cli"));
    if (first != "history" && first != "sweep" && first != "join" && first != "plot") {
        std::vector<std::string_view> rest(argv + 1, argv + argc);
        return runOne(rest);
    }

    std::vector<const char*> marked;
    for (const std::string& a : args) marked.push_back(a.c_str());
    try {
        app.parse(static_cast<int>(marked.size()), marked.data());
    } catch (const CLI::ParseError& e) {
        std::cerr << "veltrano-cli " << first << ": " << unmarked(e.what()) << "\n"
                  << "Run 'veltrano-cli " << first << " --help' for its options.\n";
        return kExitRefused;
    }
    const auto refuse = [&first](const std::string& message) {
        std::cerr << "veltrano-cli " << first << ": " << message << '\n';
        return kExitRefused;
    };

    if (plot.parsed()) {
        const auto only = exponent.empty() ? std::optional<std::int64_t>(0) : wholeNumber(exponent, 1, 3);
        if (!only) return refuse("--exponent " + unmarked(exponent) + ": K must be 1, 2 or 3");
        return runPlot(unmarked(plotFiles.at(0)), unmarked(plotFiles.at(1)), static_cast<int>(*only));
    }

    if (history.parsed()) {
        const auto c = checked("history", historyEntries);
        if (!c) return kExitRefused;
        const auto k = wholeNumber(every, 1, RunSettings::kMaxIntervals);
        if (!k) return refuse(refusedOption(ResearchOption::Every, unmarked(every)));
        return runHistory({c->entries.parameters, c->run, *k, unmarked(historyEntries.plot)});
    }

    if (join.parsed()) {
        const auto c = checked("join", joinEntries);
        if (!c) return kExitRefused;
        auto grid = gridOf(joinGrid, c->entries.parameters);
        if (const auto* why = std::get_if<std::string>(&grid)) return refuse(*why);
        const auto m = wholeNumber(shards, 1, SweepGrid::kMaxPoints);
        if (!m) return refuse("--shards " + unmarked(shards) + ": M must be a whole number from 1 to 100000000");
        const std::string files = unmarked(pattern);
        if (files.find("{K}") == std::string::npos)
            return refuse("--input " + files + ": the pattern must hold {K}, where the shard's number stands");
        return runJoin({std::get<SweepGrid>(grid), c->run, *m, files, unmarked(joinOutput)});
    }

    const auto c = checked("sweep", sweepEntries);
    if (!c) return kExitRefused;
    SweepOptions options;
    auto grid = gridOf(sweepGrid, c->entries.parameters);
    if (const auto* why = std::get_if<std::string>(&grid)) return refuse(*why);
    options.grid = std::get<SweepGrid>(grid);
    options.run = c->run;
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
        if (!t) return refuse(refusedOption(ResearchOption::Threads, unmarked(threads)));
        options.threads = static_cast<int>(*t);
    }
    if (progressOn && progressOff) return refuse("--progress and --no-progress exclude each other");
    if (progressOn || progressOff) options.progress = progressOn;
    options.plotFile = unmarked(sweepEntries.plot);
    options.plotContext = describeRun(options.run);
    return runSweepCommand(options);
}
