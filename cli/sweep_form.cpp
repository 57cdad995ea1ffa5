#include "sweep_form.h"

#include <CLI/CLI.hpp>

#include <memory>

#include "grid_options.h"
#include "help_texts.h"
#include "research_options.h"
#include "plot_plugin.h"
#include "research_rules.h"
#include "sweep_command.h"
#include "system_sweep_command.h"
#include "system_sweep_options.h"

namespace veltrano::cli {

namespace {

// The options of where and how a sweep's rows are written, as typed.
struct FileTexts {
    std::string output, shard, threads;
    bool resume = false, progressOn = false, progressOff = false;
};

void addFileOptions(CLI::App& command, FileTexts& texts) {
    command.add_option("--output", texts.output, "write the rows to FILE, never over an existing one (default: stdout)")
        ->option_text("FILE");
    command.add_flag("--resume", texts.resume, "continue the file of --output, cut short by a crash or a kill");
    command.add_option("--shard", texts.shard, "compute only the K-th of M blocks of the points (1 <= K <= M)")
        ->option_text("K/M");
    command.add_option("--threads", texts.threads, "threads to compute with (default: every hardware thread)")
        ->option_text("T")
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    command.add_flag("--progress", texts.progressOn, "show progress on stderr (default: when it is a terminal)");
    command.add_flag("--no-progress", texts.progressOff, "show no progress");
}

// The options checked into `options`; the message of the first refused one.
std::string checkFileOptions(const FileTexts& texts, SweepFileOptions& options) {
    options.output = unmarked(texts.output);
    options.resume = texts.resume;
    if (options.resume && options.output.empty()) return "--resume needs --output FILE";
    if (!texts.shard.empty()) {
        options.shard = parseShard(texts.shard);
        if (!options.shard) return "--shard " + unmarked(texts.shard) + ": " + shardRangeRule("K/M");
    }
    const std::string threadText = unmarked(texts.threads);
    std::optional<std::int64_t> given;
    if (!threadText.empty()) {
        given = wholeNumber(threadText, 0, kAnyWholeNumber);
        if (!given) return refusedOption(ResearchOption::Threads, threadText);
    }
    const auto threads = threadCount(given, threadText);
    if (const auto* why = std::get_if<std::string>(&threads)) return *why;
    options.threads = std::get<int>(threads);
    if (texts.progressOn && texts.progressOff) return "--progress and --no-progress exclude each other";
    if (texts.progressOn || texts.progressOff) options.progress = texts.progressOn;
    return {};
}

}  // namespace

Form addSweepForm(CLI::App& app) {
    CLI::App& command = addFormCommand(app, "sweep", kSweepAbout);
    struct Texts {
        RunTexts run;
        GridTexts grid;
        FileTexts file;
    };
    auto texts = std::make_shared<Texts>();
    addRunOptions(command, texts->run, true);
    addGridOptions(command, texts->grid);
    addFileOptions(command, texts->file);
    refuseEmptyValues(command);

    return {&command, [texts] {
        const auto refuse = [](const std::string& message) { return fail("sweep", message, kExitRefused); };
        const auto checked = checkedRun("sweep", texts->run);
        if (!checked) return kExitRefused;
        SweepOptions options;
        auto grid = gridOf(texts->grid, checked->entries.parameters);
        if (const auto* why = std::get_if<std::string>(&grid)) return refuse(*why);
        options.grid = std::get<SweepGrid>(grid);
        options.run = checked->run;
        if (const std::string why = checkFileOptions(texts->file, options.file); !why.empty()) return refuse(why);
        options.plotFile = checked->plotFile;
        options.plotContext = describeOptions(options.run);
        return runSweepCommand(options);
    }};
}

Form addSystemSweepForm(CLI::App& app) {
    CLI::App& command = addFormCommand(app, "sweep", kSystemSweepAbout);
    struct Texts {
        SystemSweepTexts sweep;
        FileTexts file;
        std::string plot;
    };
    auto texts = std::make_shared<Texts>();
    addSystemSweepOptions(command, texts->sweep);
    command.add_option("--plot", texts->plot, "also draw the map of lambda1 over two varied parameters into FILE.png or "
                                              "FILE.svg (a new file)")
        ->option_text("FILE");
    addFileOptions(command, texts->file);
    refuseEmptyValues(command);

    return {&command, [texts] {
        const auto refuse = [](const std::string& message) { return fail("sweep", message, kExitRefused); };
        auto sweep = checkedSystemSweep(texts->sweep);
        if (const auto* why = std::get_if<std::string>(&sweep)) return refuse(*why);
        SystemSweepOptions options;
        options.sweep = std::get<SystemSweep>(std::move(sweep));
        if (const std::string why = checkFileOptions(texts->file, options.file); !why.empty()) return refuse(why);
        options.plotFile = unmarked(texts->plot);
        if (!options.plotFile.empty()) {
            if (const std::string why = picturesUnavailable(); !why.empty()) return refuse("--plot: " + why);
            if (!supportedPictureFile(options.plotFile))
                return refuse("--plot " + options.plotFile + ": the picture's name must end in .png or .svg");
            if (options.sweep.grid.axisCount != 2)
                return refuse("--plot draws a map over two varied parameters; this sweep varies " +
                              std::to_string(options.sweep.grid.axisCount));
        }
        return runSystemSweepCommand(options);
    }};
}

}  // namespace veltrano::cli
