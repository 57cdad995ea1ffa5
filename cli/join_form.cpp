#include "join_form.h"

#include <CLI/CLI.hpp>

#include <memory>

#include "grid_options.h"
#include "help_texts.h"
#include "join_command.h"
#include "research_options.h"
#include "research_rules.h"
#include "system_sweep_command.h"
#include "system_sweep_options.h"

namespace veltrano::cli {

namespace {

void addShardOptions(CLI::App& command, std::string& shards, std::string& pattern, std::string& output) {
    command.add_option("--shards", shards, "the number of shards M the sweep was split into")
        ->option_text("M")
        ->required();
    command.add_option("--input", pattern, "the shards' files, {K} standing for the shard's number")
        ->option_text("PATTERN")
        ->required();
    command.add_option("--output", output, "write the whole sweep to FILE, a new file (default: stdout)")
        ->option_text("FILE");
}

// M and the pattern as checked, or the message.
std::variant<std::pair<std::int64_t, std::string>, std::string> checkedShards(const std::string& shards,
                                                                              const std::string& pattern) {
    const auto m = wholeNumber(shards, 1, SweepGrid::kMaxPoints);
    if (!m) return "--shards " + unmarked(shards) + ": " + countRangeRule("M");
    const std::string files = unmarked(pattern);
    if (files.find("{K}") == std::string::npos)
        return "--input " + files + ": the pattern must hold {K}, where the shard's number stands";
    return std::pair{*m, files};
}

}  // namespace

Form addJoinForm(CLI::App& app) {
    CLI::App& command = addFormCommand(app, "join", kJoinAbout);
    struct Texts {
        RunTexts run;
        GridTexts grid;
        std::string shards, pattern, output;
    };
    auto texts = std::make_shared<Texts>();
    addRunOptions(command, texts->run, false);
    addGridOptions(command, texts->grid);
    addShardOptions(command, texts->shards, texts->pattern, texts->output);
    refuseEmptyValues(command);

    return {&command, [texts] {
        const auto refuse = [](const std::string& message) { return fail("join", message, kExitRefused); };
        const auto checked = checkedRun("join", texts->run);
        if (!checked) return kExitRefused;
        auto grid = gridOf(texts->grid, checked->entries.parameters);
        if (const auto* why = std::get_if<std::string>(&grid)) return refuse(*why);
        const auto shards = checkedShards(texts->shards, texts->pattern);
        if (const auto* why = std::get_if<std::string>(&shards)) return refuse(*why);
        const auto& [m, files] = std::get<std::pair<std::int64_t, std::string>>(shards);
        return runJoin({std::get<SweepGrid>(grid), checked->run, m, files, unmarked(texts->output)});
    }};
}

Form addSystemJoinForm(CLI::App& app) {
    CLI::App& command = addFormCommand(app, "join", kSystemJoinAbout);
    struct Texts {
        SystemSweepTexts sweep;
        std::string shards, pattern, output;
    };
    auto texts = std::make_shared<Texts>();
    addSystemSweepOptions(command, texts->sweep);
    addShardOptions(command, texts->shards, texts->pattern, texts->output);
    refuseEmptyValues(command);

    return {&command, [texts] {
        const auto refuse = [](const std::string& message) { return fail("join", message, kExitRefused); };
        auto sweep = checkedSystemSweep(texts->sweep);
        if (const auto* why = std::get_if<std::string>(&sweep)) return refuse(*why);
        const auto shards = checkedShards(texts->shards, texts->pattern);
        if (const auto* why = std::get_if<std::string>(&shards)) return refuse(*why);
        const auto& [m, files] = std::get<std::pair<std::int64_t, std::string>>(shards);
        return runSystemJoin({std::get<SystemSweep>(std::move(sweep)), m, files, unmarked(texts->output)});
    }};
}

}  // namespace veltrano::cli
