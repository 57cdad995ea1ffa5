#pragma once

#include <string>

#include "system_description.h"

namespace veltrano {

// The catalogue as a table a reader scans: a line per flow with its name,
// its dimension ("3", or "5 (4-64)" where it is chosen), its parameters at
// their defaults and its one-line summary.
[[nodiscard]] std::string catalogueText(const std::vector<SystemDescription>& systems);

// Everything known of one flow: title and summary, variables, parameters
// with their defaults and the ranges a sweep may take, the equations as a
// text the equations reader takes, the default start, the source and the
// published spectra.
[[nodiscard]] std::string systemText(const SystemDescription& system);

// "a=0.2 b=0.2 c=5.7": the parameters at their defaults, "(none)" for a
// flow without parameters.
[[nodiscard]] std::string defaultsText(const SystemDescription& system);

}  // namespace veltrano
