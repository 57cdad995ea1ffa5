#include "history_form.h"

#include <CLI/CLI.hpp>

#include <memory>

#include "help_texts.h"
#include "history_command.h"
#include "research_options.h"

namespace veltrano::cli {

Form addHistoryForm(CLI::App& app) {
    CLI::App& command = addFormCommand(app, "history", kHistoryAbout);
    struct Texts {
        RunTexts run;
        std::string every;
    };
    auto texts = std::make_shared<Texts>();
    addRunOptions(command, texts->run, true);
    command.add_option("--every", texts->every, "a row after every K-th interval (1 <= K <= 1000000000, default 1) and after the last")
        ->option_text("K");
    refuseEmptyValues(command);

    return {&command, [texts] {
        const auto checked = checkedRun("history", texts->run);
        if (!checked) return kExitRefused;
        HistoryOptions options{checked->entries.parameters, checked->run, 1, checked->plotFile};
        if (!texts->every.empty()) {
            const std::string given = unmarked(texts->every);
            const auto k = wholeNumber(given, 0, kAnyWholeNumber);
            if (!k) return fail("history", refusedOption(ResearchOption::Every, given), kExitRefused);
            const auto every = everyOf(*k, given);
            if (const auto* why = std::get_if<std::string>(&every)) return fail("history", *why, kExitRefused);
            options.every = std::get<std::int64_t>(every);
        }
        return runHistory(options);
    }};
}

}  // namespace veltrano::cli
