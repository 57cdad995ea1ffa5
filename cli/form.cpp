#include "form.h"

#include <CLI/CLI.hpp>

#include "command_line.h"

namespace veltrano::cli {

CLI::App& addFormCommand(CLI::App& app, const char* name, const char* about) {
    CLI::App& command = *app.add_subcommand(name, about);
    command.set_help_flag();
    return command;
}

void refuseEmptyValues(CLI::App& command) {
    const CLI::Validator notEmpty([](const std::string& value) { return unmarked(value).empty() ? "the value is empty" : ""; },
                                  "", "not empty");
    for (CLI::Option* option : command.get_options())
        if (option->get_type_size() != 0 && !option->get_lnames().empty()) option->check(notEmpty);
}

}  // namespace veltrano::cli
