#include "systems_form.h"

#include <CLI/CLI.hpp>

#include <memory>

#include "command_line.h"
#include "help_texts.h"
#include "report.h"
#include "system_entries.h"
#include "system_texts.h"

namespace veltrano::cli {

Form addSystemsForm(CLI::App& app) {
    CLI::App& command = addFormCommand(app, "systems", kSystemsAbout);
    struct Texts {
        std::string name, dimension;
    };
    auto texts = std::make_shared<Texts>();
    const CLI::Option* named =
        command.add_option("NAME", texts->name, "the flow to describe (without: the whole catalogue)");
    command.add_option("--dimension", texts->dimension, "the dimension D of a flow whose dimension is chosen")
        ->option_text("D");
    refuseEmptyValues(command);

    return {&command, [texts, named] {
        // An empty NAME is a name given wrong, not the whole catalogue asked for.
        if (named->count() > 0 && unmarked(texts->name).empty())
            return fail("systems", "NAME is empty: give the name of a flow, or none for the whole catalogue",
                        kExitRefused);
        if (texts->name.empty()) {
            if (!texts->dimension.empty())
                return fail("systems", "--dimension describes one flow: give its NAME as well", kExitRefused);
            return writeAll(stdout, catalogueText(allSystems()))
                       ? kExitOk
                       : fail("systems", "cannot write to standard output", kExitFailed);
        }
        const auto system = chooseSystem(unmarked(texts->name), unmarked(texts->dimension));
        if (const auto* why = std::get_if<std::string>(&system)) return fail("systems", *why, kExitRefused);
        return writeAll(stdout, systemText(std::get<SystemDescription>(system))) ? kExitOk
                                                     : fail("systems", "cannot write to standard output", kExitFailed);
    }};
}

}  // namespace veltrano::cli
