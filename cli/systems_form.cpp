#include "systems_form.h"

#include <CLI/CLI.hpp>

#include <memory>

#include "command_line.h"
#include "equation_file.h"
#include "equation_text.h"
#include "help_texts.h"
#include "report.h"
#include "system_entries.h"
#include "system_texts.h"

namespace veltrano::cli {

namespace {

// The system typed in `path`, printed back as read (its order of
// evaluation in parentheses where it needs them), or the first error.
int checkEquations(std::string_view path) {
    const EquationFile file = readEquationFile(path);
    if (!file.error.empty()) return fail("systems --check", file.error, kExitRefused);
    try {
        const equations::Equations e = equations::parseEquations(file.text);
        std::string text = "# ";
        text.append(std::to_string(e.dimension()))
            .append(e.dimension() == 1 ? " variable, " : " variables, ")
            .append(std::to_string(e.parameters.size()))
            .append(e.parameters.size() == 1 ? " parameter" : " parameters")
            .append("; SHA-256 of the text ")
            .append(e.digest)
            .append("\n")
            .append(equations::printEquations(e));
        return writeAll(stdout, text) ? kExitOk : fail("systems", "cannot write to standard output", kExitFailed);
    } catch (const equations::EquationError& error) {
        return fail("systems --check",
                    std::string(path == "-" ? "standard input" : path).append(", ").append(error.what()), kExitRefused);
    }
}

}  // namespace

Form addSystemsForm(CLI::App& app) {
    CLI::App& command = addFormCommand(app, "systems", kSystemsAbout);
    struct Texts {
        std::string name, dimension, check;
    };
    auto texts = std::make_shared<Texts>();
    const CLI::Option* named =
        command.add_option("NAME", texts->name, "the flow to describe (without: the whole catalogue)");
    command.add_option("--dimension", texts->dimension, "the dimension D of a flow whose dimension is chosen")
        ->option_text("D");
    command.add_option("--check", texts->check,
                       "parse the equations in FILE ('-': standard input) and print the system read, or the first "
                       "error with its line and column")
        ->option_text("FILE");
    refuseEmptyValues(command);

    return {&command, [texts, named] {
        if (!texts->check.empty()) {
            if (!texts->name.empty() || !texts->dimension.empty())
                return fail("systems", "--check reads a file of equations: give no NAME or --dimension with it",
                            kExitRefused);
            return checkEquations(unmarked(texts->check));
        }
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
