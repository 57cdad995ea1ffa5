#pragma once

#include <string>
#include <variant>
#include <vector>

#include "research_options.h"
#include "system_sweep_rows.h"

// Declared only: CLI11 is included where options are declared or parsed, as
// it is most of a file's compile time.
namespace CLI {
class App;
}  // namespace CLI

namespace veltrano::cli {

// What defines a sweep of a flow of the catalogue on the command line (sweep
// and join with --system), as typed.
struct SystemSweepTexts {
    std::string system, equations, dimension, exponents;
    std::vector<std::string> vary;
    std::vector<std::string> entries;  // N, then NAME=VALUE
    ResearchTexts research;            // its --initial holds the flow's start
};

void addSystemSweepOptions(CLI::App& command, SystemSweepTexts& texts);

// The sweep, or the message of the first thing refused: the flow, its
// dimension, N and the parameters given, K, the --vary axes (at most three,
// of different parameters of the flow, none also given as NAME=VALUE, at most
// SweepGrid::kMaxPoints points), the research options and the start (exactly
// d values).
[[nodiscard]] std::variant<SystemSweep, std::string> checkedSystemSweep(const SystemSweepTexts& texts);

}  // namespace veltrano::cli
