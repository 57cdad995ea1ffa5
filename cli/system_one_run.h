#pragma once

#include <string_view>
#include <vector>

namespace veltrano::cli {

// True when the one-run arguments choose a flow: one of the catalogue
// (--system) or one typed as text (--equations).
[[nodiscard]] bool choosesFlow(const std::vector<std::string_view>& args);

// veltrano-cli --system NAME [--dimension D] [--exponents K] [--initial
// V1,...,VD] [--precise] N [NAME=VALUE]...: one run of a catalogue flow from
// its default start or the one given, printed as the Lorenz run is (t,
// lambda1 ... lambdaK, seconds). With --equations FILE (`-`: standard
// input) instead of --system and --dimension, the same of the flow typed in
// FILE; a text the parser refuses is reported with its line and column
// (exit status 2).
int runFlowOne(const std::vector<std::string_view>& args);

}  // namespace veltrano::cli
