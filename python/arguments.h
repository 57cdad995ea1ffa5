#pragma once

// What Python hands the module, checked and turned into the engine's
// values. A refusal raises ValueError with the command line's message.

#include <pybind11/pybind11.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "parameters.h"
#include "rk4_integrator.h"
#include "run_settings.h"
#include "sweep_grid.h"

namespace veltrano::python {

namespace py = pybind11;

[[noreturn]] void refuse(std::string_view message);

// repr(value), as a refusal quotes what it was given.
[[nodiscard]] std::string shown(py::handle value);

// A finite number: a Python or NumPy int or float (not a bool, a text or an
// array of more than no dimension); otherwise refused with `message`.
[[nodiscard]] double finiteNumber(py::handle v, std::string_view message);

// A whole number from `lo` to `hi`: a Python or NumPy int, not a bool.
[[nodiscard]] std::optional<std::int64_t> wholeNumber(py::handle v, std::int64_t lo, std::int64_t hi);

// n as spectrum, history and sweep take it: 1 to 10^9.
[[nodiscard]] std::int64_t intervalsOf(py::handle n);

// sigma, R and b of one point.
[[nodiscard]] FlowParameters parametersOf(py::handle sigma, py::handle R, py::handle b);

// The research keywords as the caller gave them.
struct ResearchKeywords {
    py::handle transient, initial, step, stepsPerInterval, errors, batch, targetError;
};

// The research options, checked as the command line checks them.
[[nodiscard]] RunSettings settingsOf(std::int64_t n, const ResearchKeywords& k);

// The values a parameter takes: one number (no dimension of the result) or
// a 1-D sequence of numbers (one dimension).
struct AxisValues {
    bool scalar = true;
    std::vector<double> values;
};
using SweepAxes = std::array<AxisValues, 3>;

// sigma, R and b of a sweep.
[[nodiscard]] SweepAxes axesOf(py::handle sigma, py::handle R, py::handle b);

// The grid over the sequences among them (in the order sigma, R, b, the
// first varying slowest) and the shape of its results; refused beyond
// SweepGrid::kMaxPoints points.
struct ShapedGrid {
    SweepGrid grid;
    std::vector<py::ssize_t> shape;
};
[[nodiscard]] ShapedGrid gridOf(const SweepAxes& axes);

// How many threads a sweep uses: every hardware thread for None.
[[nodiscard]] int threadsOf(py::handle threads);

}  // namespace veltrano::python
