#include "system_grid.h"

#include <algorithm>

namespace veltrano {

std::int64_t SystemGrid::size() const {
    return gridSize({axes[0].count, axes[1].count, axes[2].count}, axisCount);
}

std::array<std::int64_t, 3> SystemGrid::positionOf(std::int64_t index) const {
    return gridPosition({axes[0].count, axes[1].count, axes[2].count}, axisCount, index);
}

void SystemGrid::pointAt(std::int64_t index, std::span<double> point) const {
    std::copy(base.begin(), base.end(), point.begin());
    const auto position = positionOf(index);
    for (std::size_t a = 0; a < static_cast<std::size_t>(axisCount); ++a)
        point[axes[a].parameter] = axes[a].valueAt(position[a]);
}

std::vector<double> SystemGrid::pointAt(std::int64_t index) const {
    std::vector<double> point(base.size());
    pointAt(index, point);
    return point;
}

}  // namespace veltrano
