#pragma once

#include <QString>
#include <functional>
#include <vector>

namespace veltrano::explorer {

// Round values (1, 2 or 5 times a power of ten apart, about `wanted` of
// them) from lo to hi, both included where round.
[[nodiscard]] std::vector<double> ticksBetween(double lo, double hi, int wanted);

// The labelled ticks of an axis.
struct AxisLabels {
    std::vector<double> values;
    std::vector<QString> texts;
};

// The most round values from lo to hi whose labels fit on an axis `length`
// pixels long: each label is `extent(text)` pixels long along the axis and
// keeps `gap` pixels from its neighbours. Each label has as many decimals as
// it takes to tell it from its neighbours, and no more.
[[nodiscard]] AxisLabels axisLabels(double lo, double hi, double length,
                                    const std::function<double(const QString&)>& extent, double gap);

}  // namespace veltrano::explorer
