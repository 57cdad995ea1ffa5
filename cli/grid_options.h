#pragma once

#include <CLI/CLI.hpp>
#include <string>
#include <variant>
#include <vector>

#include "sweep_grid.h"

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
