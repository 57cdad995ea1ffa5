#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "sweep_grid.h"

namespace veltrano {

// An axis of a sweep of a flow of the catalogue: the parameter it varies, by
// its place among the flow's parameters, and its values (as SweepAxis).
struct SystemAxis {
    std::size_t parameter = 0;
    double from = 0.0;
    double to = 0.0;
    std::int64_t count = 1;
    std::vector<double> values;

    [[nodiscard]] double valueAt(std::int64_t i) const { return axisValue(from, to, count, values, i); }
};

// Every point of a sweep of a flow: its parameters at `base` (one value per
// parameter of the flow) but for up to three varied ones, numbered as the
// points of a SweepGrid (the first axis varying slowest).
struct SystemGrid {
    std::vector<double> base;
    std::array<SystemAxis, 3> axes{};
    int axisCount = 0;

    [[nodiscard]] std::int64_t size() const;
    [[nodiscard]] std::array<std::int64_t, 3> positionOf(std::int64_t index) const;
    // The parameters of point `index` into `point` (base.size() values).
    void pointAt(std::int64_t index, std::span<double> point) const;
    [[nodiscard]] std::vector<double> pointAt(std::int64_t index) const;
};

}  // namespace veltrano
