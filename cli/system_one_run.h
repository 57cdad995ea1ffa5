#pragma once

#include <string_view>
#include <vector>

namespace veltrano::cli {

// True when the one-run arguments choose a flow of the catalogue.
[[nodiscard]] bool choosesSystem(const std::vector<std::string_view>& args);

// veltrano-cli --system NAME [--dimension D] [--exponents K] [--initial
// V1,...,VD] [--precise] N [NAME=VALUE]...: one run of a catalogue flow from
// its default start or the one given,
// printed as the Lorenz run is (t, lambda1 ... lambdaK, seconds).
int runSystemOne(const std::vector<std::string_view>& args);

}  // namespace veltrano::cli
