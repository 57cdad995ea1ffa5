#include "sweep_grid.h"

#include <cmath>

namespace veltrano {

std::string_view parameterName(SweepParameter p) {
    switch (p) {
        case SweepParameter::Sigma:
            return "sigma";
        case SweepParameter::R:
            return "R";
        case SweepParameter::B:
            return "b";
    }
    return "?";
}

std::optional<SweepParameter> parameterNamed(std::string_view name) {
    for (SweepParameter p : {SweepParameter::Sigma, SweepParameter::R, SweepParameter::B})
        if (name == parameterName(p)) return p;
    return std::nullopt;
}

double axisValue(double from, double to, std::int64_t count, const std::vector<double>& values, std::int64_t i) {
    if (!values.empty()) return values[static_cast<std::size_t>(i)];
    if (count <= 1 || i <= 0) return from;
    if (i >= count - 1) return to;
    // lerp is exact at both ends, monotonic, and cannot overflow between
    // two finite values of opposite signs.
    return std::lerp(from, to, static_cast<double>(i) / static_cast<double>(count - 1));
}

std::int64_t gridSize(const std::array<std::int64_t, 3>& counts, int axisCount) {
    std::int64_t total = 1;
    for (int a = 0; a < axisCount; ++a) total *= counts[static_cast<std::size_t>(a)];
    return total;
}

std::array<std::int64_t, 3> gridPosition(const std::array<std::int64_t, 3>& counts, int axisCount, std::int64_t index) {
    std::array<std::int64_t, 3> position{};
    for (int a = axisCount - 1; a > 0; --a) {
        const std::int64_t count = counts[static_cast<std::size_t>(a)];
        position[static_cast<std::size_t>(a)] = index % count;
        index /= count;
    }
    position[0] = index;
    return position;
}

double SweepAxis::valueAt(std::int64_t i) const {
    return axisValue(from, to, count, values, i);
}

std::int64_t SweepGrid::size() const {
    return gridSize({axes[0].count, axes[1].count, axes[2].count}, axisCount);
}

std::array<std::int64_t, 3> SweepGrid::positionOf(std::int64_t index) const {
    return gridPosition({axes[0].count, axes[1].count, axes[2].count}, axisCount, index);
}

FlowParameters SweepGrid::pointAt(std::int64_t index) const {
    FlowParameters p = base;
    const auto position = positionOf(index);
    for (int a = 0; a < axisCount; ++a) {
        const SweepAxis& axis = axes[static_cast<std::size_t>(a)];
        const double v = axis.valueAt(position[static_cast<std::size_t>(a)]);
        switch (axis.parameter) {
            case SweepParameter::Sigma:
                p.sv = v;
                break;
            case SweepParameter::R:
                p.rv = v;
                break;
            case SweepParameter::B:
                p.bv = v;
                break;
        }
    }
    return p;
}

IndexRange shardRange(std::int64_t size, std::int64_t k, std::int64_t m) {
    // Both size and m are at most 10^8: the products stay far below 2^63.
    const auto at = [&](std::int64_t j) { return size * j / m; };
    return {at(k - 1), at(k)};
}

}  // namespace veltrano
