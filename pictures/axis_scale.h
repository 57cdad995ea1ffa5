#pragma once

namespace veltrano::pictures {

// An axis from `from` to `to` (from < to) with ticks every `step` at the
// multiples of `step` counted from `anchor`, labelled with `digits`
// significant digits: a handful of ticks, each a distinct double, for any
// range asked for.
struct AxisScale {
    double from = 0, to = 1;
    double step = 0.2;
    double anchor = 0;
    int digits = 4;
};

// The scale for values from `lo` to `hi` (either order): the range itself
// where it is wide enough to hold distinct ticks, widened around its
// middle where it is not (one value, a few ulps, zero), shrunk to what
// doubles can span where it is not finite (±1e308, infinities, NaN).
// Ticks fall on 1, 2 or 5 times a power of ten, at least a fifth of the
// range apart.
[[nodiscard]] AxisScale axisScale(double lo, double hi);

// A range for a logarithmic axis of values from `lo` to `hi`: positive,
// at least a decade wide where the values are one value.
struct LogRange {
    double from = 1, to = 10;
};
[[nodiscard]] LogRange logRange(double lo, double hi);

}  // namespace veltrano::pictures
