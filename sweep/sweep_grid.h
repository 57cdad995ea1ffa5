#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "rk4_integrator.h"

namespace veltrano {

enum class SweepParameter { Sigma, R, B };

// "sigma", "R" or "b", as the command line and the CSV header name them.
[[nodiscard]] std::string_view parameterName(SweepParameter p);
[[nodiscard]] std::optional<SweepParameter> parameterNamed(std::string_view name);

// Value i of an axis of `count` values from exactly `from` to exactly `to`,
// evenly spaced (`from` alone when count is 1), or of the values listed.
[[nodiscard]] double axisValue(double from, double to, std::int64_t count, const std::vector<double>& values,
                               std::int64_t i);
// The points of a grid whose first `axisCount` axes hold `counts` values
// (the first varying slowest), and the position of point `index` on each.
[[nodiscard]] std::int64_t gridSize(const std::array<std::int64_t, 3>& counts, int axisCount);
[[nodiscard]] std::array<std::int64_t, 3> gridPosition(const std::array<std::int64_t, 3>& counts, int axisCount,
                                                       std::int64_t index);

// COUNT values from exactly FROM to exactly TO, evenly spaced; FROM alone
// when COUNT is 1. Or any values, listed: then count is their number.
struct SweepAxis {
    SweepParameter parameter = SweepParameter::R;
    double from = 0.0;
    double to = 0.0;
    std::int64_t count = 1;
    std::vector<double> values;

    [[nodiscard]] double valueAt(std::int64_t i) const;
};

// Every point of a sweep: no axis (the base point), one (a line), two or
// three (a grid, the first axis varying slowest), the other parameters at
// their base values. Points are numbered 0, 1, ... in that order.
struct SweepGrid {
    static constexpr std::int64_t kMaxPoints = 100'000'000;

    FlowParameters base{};
    std::array<SweepAxis, 3> axes{};
    int axisCount = 0;

    [[nodiscard]] std::int64_t size() const;
    [[nodiscard]] FlowParameters pointAt(std::int64_t index) const;
    // The position of a point along each axis.
    [[nodiscard]] std::array<std::int64_t, 3> positionOf(std::int64_t index) const;
};

// The contiguous block of indices that shard k of m (1 <= k <= m, both at
// most kMaxPoints) computes:
// nearly equal blocks, in order, that together cover 0 .. size - 1.
struct IndexRange {
    std::int64_t begin = 0;
    std::int64_t end = 0;
    friend bool operator==(const IndexRange&, const IndexRange&) = default;
};
[[nodiscard]] IndexRange shardRange(std::int64_t size, std::int64_t k, std::int64_t m);

}  // namespace veltrano
