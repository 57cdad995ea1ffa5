#pragma once

#include <string_view>
#include <vector>

namespace veltrano::cli {

// True when the one-run arguments choose typed equations.
[[nodiscard]] bool choosesEquations(const std::vector<std::string_view>& args);

// veltrano-cli --equations FILE [--exponents K] [--precise] N [NAME=VALUE]...:
// one run of the flow typed in FILE (`-`: standard input) from its start,
// printed as the run of a catalogue flow is. A text the parser refuses is
// reported with its line and column (exit status 2).
int runEquationsOne(const std::vector<std::string_view>& args);

}  // namespace veltrano::cli
