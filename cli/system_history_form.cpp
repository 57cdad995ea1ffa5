#include "system_history_form.h"

#include <CLI/CLI.hpp>

#include <memory>

#include "help_texts.h"
#include "plot_plugin.h"
#include "research_options.h"
#include "equation_file.h"
#include "system_entries.h"
#include "system_history_command.h"
#include "system_run_settings.h"

namespace veltrano::cli {

Form addSystemHistoryForm(CLI::App& app) {
    CLI::App& command = addFormCommand(app, "history", kSystemHistoryAbout);
    struct Texts {
        std::vector<std::string> entries;
        std::string system, equations, dimension, exponents, every, output, plot;
        ResearchTexts research;
    };
    auto texts = std::make_shared<Texts>();
    command.add_option("N NAME=VALUE", texts->entries,
                       "the number of measured intervals, then any parameter of the flow (the others keep their "
                       "defaults)")
        ->option_text(" ");
    command.add_option("--system", texts->system, "the flow of the catalogue ('veltrano-cli systems' lists them)")
        ->option_text("NAME");
    command.add_option("--equations", texts->equations, "the flow typed in FILE (-: standard input), instead of --system")
        ->option_text("FILE");
    command.add_option("--dimension", texts->dimension, "the dimension D of a flow whose dimension is chosen")
        ->option_text("D");
    command.add_option("--exponents", texts->exponents, "the K leading exponents only (1 <= K <= D, default D)")
        ->option_text("K");
    command.add_option("--output", texts->output, "write the rows into FILE, a new file (default: standard output)")
        ->option_text("FILE");
    command.add_option("--plot", texts->plot, "also draw the rows into FILE.png or FILE.svg (a new file), as plot draws them")
        ->option_text("FILE");
    command.add_option("--every", texts->every,
                       "a row after every K-th interval (1 <= K <= 1000000000, default 1) and after the last")
        ->option_text("K");
    addResearchOptions(command, texts->research);
    // The start of a flow has its dimension; the target holds for its K exponents.
    command.get_option("--initial")
        ->description("start from the point V1,...,VD: one value for each variable (default: the flow's start)")
        ->option_text("V1,...,VD");
    command.get_option("--target-error")
        ->description("stop once the K half-widths are at most E (implies --errors; N is then the most)");
    refuseEmptyValues(command);

    return {&command, [texts] {
        const auto chosen =
            chooseFlow(unmarked(texts->system), unmarked(texts->dimension), unmarked(texts->equations));
        if (const auto* why = std::get_if<std::string>(&chosen)) return fail("history", *why, kExitRefused);
        SystemHistoryOptions options{std::get<SystemDescription>(chosen), {}, {}, 1, unmarked(texts->output), {}};
        const SystemDescription& system = options.system;
        std::vector<std::string> entries;
        for (const std::string& e : texts->entries) entries.push_back(unmarked(e));
        const auto checked = checkSystemEntries(system, entries);
        if (const auto* why = std::get_if<std::string>(&checked)) return fail("history", *why, kExitRefused);
        options.parameters = std::get<SystemEntries>(checked).parameters;
        const auto k = exponentCount(system, unmarked(texts->exponents));
        if (const auto* why = std::get_if<std::string>(&k)) return fail("history", *why, kExitRefused);

        ResearchTexts research = texts->research;
        research.initial.clear();  // the flow's own rule below
        const auto run = researchSettings(research, std::get<SystemEntries>(checked).n);
        if (const auto* why = std::get_if<std::string>(&run)) return fail("history", *why, kExitRefused);
        std::optional<std::vector<double>> start;
        if (!texts->research.initial.empty()) {
            auto point = initialPointOf(system, unmarked(texts->research.initial));
            if (const auto* why = std::get_if<std::string>(&point)) return fail("history", *why, kExitRefused);
            start = std::get<std::vector<double>>(std::move(point));
        }
        options.settings = systemRunSettings(system, std::get<RunSettings>(run), std::get<std::size_t>(k), std::move(start));
        if (!texts->every.empty()) {
            const std::string given = unmarked(texts->every);
            const auto every = everyOf(wholeNumber(given, 0, kAnyWholeNumber).value_or(0), given);
            if (const auto* why = std::get_if<std::string>(&every)) return fail("history", *why, kExitRefused);
            options.every = std::get<std::int64_t>(every);
        }
        options.plotFile = unmarked(texts->plot);
        if (!options.plotFile.empty())
            if (const std::string why = plotOptionRefusal(options.plotFile); !why.empty())
                return fail("history", why, kExitRefused);
        return runSystemHistory(options);
    }};
}

}  // namespace veltrano::cli
