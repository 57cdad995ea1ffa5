#include "join_form.h"

#include <CLI/CLI.hpp>

#include <memory>

#include "grid_options.h"
#include "help_texts.h"
#include "join_command.h"
#include "research_options.h"
#include "research_rules.h"

namespace veltrano::cli {

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
    command.add_option("--shards", texts->shards, "the number of shards M the sweep was split into")
        ->option_text("M")
        ->required();
    command.add_option("--input", texts->pattern, "the shards' files, {K} standing for the shard's number")
        ->option_text("PATTERN")
        ->required();
    command.add_option("--output", texts->output, "write the whole sweep to FILE, a new file (default: stdout)")
        ->option_text("FILE");
    refuseEmptyValues(command);

    return {&command, [texts] {
        const auto refuse = [](const std::string& message) { return fail("join", message, kExitRefused); };
        const auto checked = checkedRun("join", texts->run);
        if (!checked) return kExitRefused;
        auto grid = gridOf(texts->grid, checked->entries.parameters);
        if (const auto* why = std::get_if<std::string>(&grid)) return refuse(*why);
        const auto m = wholeNumber(texts->shards, 1, SweepGrid::kMaxPoints);
        if (!m) return refuse("--shards " + unmarked(texts->shards) + ": " + countRangeRule("M"));
        const std::string files = unmarked(texts->pattern);
        if (files.find("{K}") == std::string::npos)
            return refuse("--input " + files + ": the pattern must hold {K}, where the shard's number stands");
        return runJoin({std::get<SweepGrid>(grid), checked->run, *m, files, unmarked(texts->output)});
    }};
}

}  // namespace veltrano::cli
