#include "system_sweep_map.h"

#include <algorithm>

#include "number_text.h"
#include "picture_texts.h"

namespace veltrano::pictures {

SystemSweepMap::SystemSweepMap(const SystemGrid& grid, std::string system, std::vector<std::string> parameters,
                               std::size_t exponent)
    : grid_(grid),
      system_(std::move(system)),
      parameters_(std::move(parameters)),
      exponent_(exponent),
      columns_(std::min(grid.axes[0].count, kMaxCells)),
      rows_(std::min(grid.axes[1].count, kMaxCells)),
      cells_(static_cast<std::size_t>(columns_ * rows_)) {}

void SystemSweepMap::add(const SystemSweepPoint& point, PointStatus status) {
    const auto position = grid_.positionOf(point.index);
    const std::int64_t c = position[0] * columns_ / grid_.axes[0].count;
    const std::int64_t r = position[1] * rows_ / grid_.axes[1].count;
    Cell& cell = cells_[static_cast<std::size_t>(r * columns_ + c)];
    if (status == PointStatus::Error)
        ++cell.errors;
    else if (status == PointStatus::Inconsistent)
        ++cell.inconsistent;
    else {
        ++cell.ok;
        cell.sum += point.result.expo[exponent_];
    }
}

HeatMap SystemSweepMap::heatMap() const {
    const SystemAxis& first = grid_.axes[0];
    const SystemAxis& second = grid_.axes[1];
    HeatMap map = sweepMap(first, second, columns_, rows_, lambdaName(exponent_));
    const std::string& x = parameters_[first.parameter];
    const std::string& y = parameters_[second.parameter];
    map.title = lambdaName(exponent_) + " of " + system_ + " over " + x + " and " + y;
    std::string fixed;
    for (std::size_t i = 0; i < parameters_.size(); ++i)
        if (i != first.parameter && i != second.parameter)
            fixed += (fixed.empty() ? "" : ", ") + parameters_[i] + " = " + shortest(grid_.base[i]);
    if (!fixed.empty()) map.title += " — " + fixed;
    map.xTitle = x;
    map.yTitle = y;
    for (const Cell& cell : cells_) addSweepCell(map, cell.sum, cell.ok, cell.inconsistent, cell.errors);
    return map;
}

}  // namespace veltrano::pictures
