#pragma once

#include <string>
#include <variant>
#include <vector>

#include "sweep_grid.h"

// Declared only: CLI11 is included where options are declared or parsed, as
// it is most of a file's compile time.
namespace CLI {
class App;
}  // namespace CLI

namespace veltrano::cli {

// The --vary options of sweep and join, as typed: the points of the sweep.
struct GridTexts {
    std::vector<std::string> vary;
};

void addGridOptions(CLI::App& command, GridTexts& texts);

// The grid of the axes given around `base`: none (the base point), a line
// or a grid of two different parameters, at most SweepGrid::kMaxPoints
// points; otherwise the message.
[[nodiscard]] std::variant<SweepGrid, std::string> gridOf(const GridTexts& texts, const FlowParameters& base);

}  // namespace veltrano::cli
