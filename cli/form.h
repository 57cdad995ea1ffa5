#pragma once

#include <functional>

// Declared only: CLI11 is included where options are declared or parsed, as
// it is most of a file's compile time.
namespace CLI {
class App;
}  // namespace CLI

namespace veltrano::cli {

// A form of the tool besides the one run (history, sweep, join, plot): its
// subcommand, holding the options it declared, and what runs it once the
// command line has been parsed into them. The options' storage lives as
// long as `run`.
struct Form {
    CLI::App* command = nullptr;
    std::function<int()> run;
};

// The subcommand `name` of `app`, whose help the tool prints itself.
[[nodiscard]] CLI::App& addFormCommand(CLI::App& app, const char* name, const char* about);

// Refuses an empty value ("--step ''", "--output=") for every option of
// `command` that takes a value: an empty text would otherwise read as an
// option not given. Call it once the form has declared its options.
void refuseEmptyValues(CLI::App& command);

}  // namespace veltrano::cli
