#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "system_run.h"

namespace veltrano::point_panel {

// A point of a flow of the catalogue other than Lorenz: the flow's name and
// dimension, its parameters in the catalogue's order and the run.
struct FlowPoint {
    std::string name;
    std::size_t dimension = 0;
    std::vector<double> parameters;
    SystemSettings settings;
};

}  // namespace veltrano::point_panel
