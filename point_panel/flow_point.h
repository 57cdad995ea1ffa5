#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "system_description.h"
#include "system_run.h"

namespace veltrano::point_panel {

// A point of a flow of the catalogue other than Lorenz, or of a typed flow
// (its text in `equations`, empty otherwise): the flow's name and
// dimension, its parameters in the catalogue's (or the text's) order and
// the run.
struct FlowPoint {
    std::string name;
    std::size_t dimension = 0;
    std::vector<double> parameters;
    SystemSettings settings;
    std::string equations;
};

// The description of the flow of a point: the catalogue's, or its text's;
// nullopt for neither.
[[nodiscard]] std::optional<SystemDescription> describe(const FlowPoint& flow);

}  // namespace veltrano::point_panel
