#pragma once

// What spectrum(), history() and sweep() hand back (the Python classes
// Spectrum, History and Sweep), made from the engine's results.

#include <pybind11/pybind11.h>

#include <cstdint>
#include <vector>

#include "rk4_integrator.h"
#include "run_settings.h"
#include "trace_check.h"

namespace veltrano::python {

namespace py = pybind11;

struct SpectrumResult {
    double t = 0;
    Triple lambdas{};
    double kaplanYorke = 0;
    PointStatus status = PointStatus::Error;
    bool errors = false;
    std::int64_t intervals = 0;
    Triple halfWidths{};
};

// NaN for what a fault left unknown (an inconsistent point keeps its
// numbers); intervals and half-widths only with errors.
[[nodiscard]] SpectrumResult spectrumResultOf(const PointResult& r, const FlowParameters& p, const RunSettings& s);

// The rows of a history as they are recorded: one after every `every`-th
// interval and after the last.
struct HistoryRows {
    std::vector<std::int64_t> interval;
    std::vector<double> t;
    std::vector<double> lambda[3];
    std::vector<double> halfWidth[3];  // NaN before the tenth batch
};

struct HistoryResult {
    py::object interval, t, lambda1, lambda2, lambda3, lambda1Err, lambda2Err, lambda3Err;
    bool ok = false;
};

// NumPy arrays of the rows; the half-widths None without errors.
[[nodiscard]] HistoryResult historyResultOf(const HistoryRows& rows, bool errors, bool ok);

// Arrays with the shape of the sequences given.
struct SweepResult {
    py::object index, sigma, R, b, t, lambda1, lambda2, lambda3, kaplanYorke, status, ok, intervals, lambda1Err,
        lambda2Err, lambda3Err;
    py::tuple shape;
};

// Point `first` + i of the grid is element i of the arrays in C order.
[[nodiscard]] SweepResult sweepResultOf(const std::vector<py::ssize_t>& shape, std::int64_t first,
                                        const std::vector<FlowParameters>& points,
                                        const std::vector<PointResult>& results, const RunSettings& s);

// An array of str of this shape, element i the word of statuses[i] ('ok',
// 'error', 'inconsistent').
[[nodiscard]] py::object statusWords(const std::vector<py::ssize_t>& shape, const std::vector<PointStatus>& statuses);

// The classes Spectrum, History and Sweep in module `m`.
void addResultTypes(py::module_& m);

}  // namespace veltrano::python
