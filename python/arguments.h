#pragma once

// What Python hands the module, turned into the values that the rules of a
// run take (texts_and_rules/), which check them; a refusal raises
// ValueError with the command line's message.

#include <pybind11/pybind11.h>

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <utility>
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

// True or False as Python or NumPy has them (a NumPy bool, or an array of
// no dimension holding one); 1, "yes", None or 0.0 are not.
[[nodiscard]] bool isBool(py::handle v);

// A finite number: a Python or NumPy int or float (not a bool, a text or an
// array of more than no dimension); otherwise refused with `message`.
[[nodiscard]] double finiteNumber(py::handle v, std::string_view message);

// A whole number: a Python or NumPy int, not a bool; one beyond 64 bits
// comes as the nearest 64-bit value, for the rules to refuse by its range.
[[nodiscard]] std::optional<std::int64_t> wholeNumber(py::handle v);

// n as spectrum, history and sweep take it: 1 to 10^9.
[[nodiscard]] std::int64_t intervalsOf(py::handle n);

// sigma, R and b of one point.
[[nodiscard]] FlowParameters parametersOf(py::handle sigma, py::handle R, py::handle b);

// The research keywords as the caller gave them.
struct ResearchKeywords {
    py::handle transient, initial, step, stepsPerInterval, errors, batch, targetError;
};

// The research options, checked by the rules every front end shares; a
// null `initial` (py::handle()) leaves the start to the caller.
[[nodiscard]] RunSettings settingsOf(std::int64_t n, const ResearchKeywords& k);

// K of history's every=.
[[nodiscard]] std::int64_t everyOf(py::handle every);

// The values a parameter takes: one number (no dimension of the result) or
// a 1-D sequence of numbers (one dimension).
struct AxisValues {
    bool scalar = true;
    std::vector<double> values;
};
using SweepAxes = std::array<AxisValues, 3>;

// How many values `v` gives as the values of a parameter, read without
// converting them (so that a range or array too long for any sweep is
// refused by its length, not first built in memory); nullopt for a number
// or anything whose length is not known.
[[nodiscard]] std::optional<std::int64_t> sequenceLength(py::handle v);

// Refuses values of these parameters that make more points than a sweep may
// have, before any of them is converted.
void refuseLongSequences(std::span<const py::handle> given);

// The values of one parameter, refused with `message`.
[[nodiscard]] AxisValues axisOf(py::handle v, std::string_view message);

// sigma, R and b of a sweep.
[[nodiscard]] SweepAxes axesOf(py::handle sigma, py::handle R, py::handle b);

// The order the sequences among them vary in, the first slowest (as the
// command line's --vary): vary=None is sigma, R, b; otherwise the names
// "sigma", "R", "b" of exactly the sequences given, each once.
using AxisOrder = std::vector<std::size_t>;  // indices into SweepAxes
[[nodiscard]] AxisOrder orderOf(py::handle vary, const SweepAxes& axes);

// The grid over the sequences in that order and the shape of its results;
// refused beyond SweepGrid::kMaxPoints points.
struct ShapedGrid {
    SweepGrid grid;
    std::vector<py::ssize_t> shape;
};
[[nodiscard]] ShapedGrid gridOf(const SweepAxes& axes, const AxisOrder& order);

// How many threads a sweep uses: every hardware thread for None.
[[nodiscard]] int threadsOf(py::handle threads);

// Where a sweep's rows go: None, or the path of a file (a str, bytes or
// os.PathLike, not empty).
[[nodiscard]] std::optional<std::string> outputOf(py::handle output);

// resume=, which needs a file.
[[nodiscard]] bool resumeOf(py::handle resume, bool hasOutput);

// shard=(K, M): None, or two whole numbers with 1 <= K <= M <= SweepGrid::kMaxPoints.
[[nodiscard]] std::optional<std::pair<std::int64_t, std::int64_t>> shardOf(py::handle shard);

}  // namespace veltrano::python
