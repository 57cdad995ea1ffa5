#include "grid_options.h"

#include <CLI/CLI.hpp>

#include "command_line.h"
#include "research_rules.h"

namespace veltrano::cli {

void addGridOptions(CLI::App& command, GridTexts& texts) {
    command.add_option("--vary", texts.vary, "NAME=FROM:TO:COUNT, a parameter to vary (none, once or twice)")
        ->option_text("AXIS")
        ->allow_extra_args(false);  // one value each time it is given
}

std::variant<SweepGrid, std::string> gridOf(const GridTexts& texts, const FlowParameters& base) {
    SweepGrid grid;
    grid.base = base;
    if (texts.vary.size() > 2) return std::string("--vary is given at most twice (a line or a grid)");
    std::vector<std::int64_t> lengths;
    for (const std::string& v : texts.vary) {
        const auto axis = parseVary(v);
        if (const auto* why = std::get_if<std::string>(&axis)) return *why;
        grid.axes[static_cast<std::size_t>(grid.axisCount++)] = std::get<SweepAxis>(axis);
        lengths.push_back(std::get<SweepAxis>(axis).count);
    }
    if (grid.axisCount == 2 && grid.axes[0].parameter == grid.axes[1].parameter)
        return std::string("the two --vary must name two different parameters");
    if (auto why = refusedGridSize(lengths)) return *why + " (split it with --vary ranges)";
    return grid;
}

}  // namespace veltrano::cli
