#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>
#include <string>
#include <variant>

#include "research_rules.h"

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

// How the run differs from the window's experiment, for titles and
// messages: "n = 2000" and then the options that are not at their defaults.
[[nodiscard]] std::string describeRun(const RunSettings& settings);

}  // namespace veltrano::cli
