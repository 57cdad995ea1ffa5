#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "command_line.h"
#include "research_rules.h"

// Declared only: CLI11 is included where options are declared or parsed, as
// it is most of a file's compile time.
namespace CLI {
class App;
}  // namespace CLI

namespace veltrano::cli {

// The research options of history, sweep and join, as typed.
struct ResearchTexts {
    std::string transient, initial, step, stepsPerInterval, batch, targetError;
    bool errors = false;
};

void addResearchOptions(CLI::App& command, ResearchTexts& texts);

// The settings of a run of `intervals` measured intervals with the options
// given; otherwise the message that names the refused option.
[[nodiscard]] std::variant<RunSettings, std::string> researchSettings(const ResearchTexts& texts,
                                                                      std::int64_t intervals);

// The entries N SIGMA R B of history, sweep and join, their research
// options and (history, sweep) the picture to draw.
struct RunTexts {
    std::vector<std::string> entries;
    std::string plot;
    ResearchTexts research;
};

void addRunOptions(CLI::App& command, RunTexts& texts, bool picture);

// The entries, the research options and the picture's name as checked.
struct CheckedRun {
    ResearchEntries entries;
    RunSettings run;
    std::string plotFile;  // empty: no picture
};

// Checks the entries (the window's messages, bare), then the research
// options and the picture's name (messages naming `form`); nullopt once the
// message is shown.
[[nodiscard]] std::optional<CheckedRun> checkedRun(const char* form, const RunTexts& texts);

// How the run differs from the window's experiment, for titles and
// messages: "n = 2000" and then the options that are not at their defaults.
[[nodiscard]] std::string describeRun(const RunSettings& settings);
// Those options alone ("transient 5, h = 0.005"), empty at the defaults.
[[nodiscard]] std::string describeOptions(const RunSettings& settings);

}  // namespace veltrano::cli
