#pragma once

#include <functional>
#include <istream>
#include <string>
#include <variant>

#include "sweep_runner.h"
#include "trace_check.h"

namespace veltrano {

// The grid of a whole sweep's file, found from its rows (`in` stands after
// the header and is read again from there, so it must be a file that can be
// read twice): no axis, a line, or a grid of two evenly spaced axes, the
// slow one first, as sweep makes them. An axis may hold one value several
// times (FROM = TO) or values a few ulps apart. When the file does not say
// which parameter a one-valued axis varies, it is the first of σ, R, b that
// the other axis does not vary. The message says why there is none.
[[nodiscard]] std::variant<SweepGrid, std::string> sweepFileGrid(std::istream& in, bool errors, const std::string& name);

// Reads the rows of the file from where `in` stands (and puts it back
// there), handing each to `each` while every row is the point of its index
// in `grid`; the message says which row is not (empty: all are).
[[nodiscard]] std::string rowsOffGrid(std::istream& in, bool errors, const std::string& name, const SweepGrid& grid,
                                      const std::function<void(const SweepPoint&, PointStatus)>& each = {});

}  // namespace veltrano
