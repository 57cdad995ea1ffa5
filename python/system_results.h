#pragma once

// What System.spectrum() hands back (the Python class SystemSpectrum) and
// how a published spectrum is shown (PublishedSpectrum).

#include <pybind11/pybind11.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "system_run.h"
#include "trace_check.h"

namespace veltrano::python {

namespace py = pybind11;

struct SystemSpectrumResult {
    bool completed = false;
    double t = 0;
    std::vector<double> exponents;   // k; NaN where a fault left them unknown
    bool errors = false;             // run with error bars
    std::vector<double> halfWidths;  // k with errors; NaN before enough batches
    std::int64_t intervals = 0;
    double meanDivergence = 0;
};

template <std::size_t N>
[[nodiscard]] SystemSpectrumResult systemSpectrumOf(const SystemResult<N>& r, const SystemSettings& s) {
    const double nan = std::nan("");
    SystemSpectrumResult out;
    out.completed = r.completed;
    out.t = r.t;
    out.errors = s.errors;
    out.intervals = r.intervals;
    out.meanDivergence = r.completed ? r.meanDivergence : nan;
    for (std::size_t i = 0; i < s.exponents; ++i) {
        out.exponents.push_back(r.completed ? r.expo[i] : nan);
        out.halfWidths.push_back(r.completed && r.errorsKnown ? r.halfWidth[i] : nan);
    }
    return out;
}

// The points of System.sweep(), in C order over the shape of the
// sequences given (a shard's points in a line); k values per point.
struct SystemSweepResult {
    std::vector<py::ssize_t> shape;
    std::int64_t first = 0;  // the index of the first point in the sweep
    std::size_t exponents = 0;
    bool errors = false;
    std::vector<double> t, estimates, halfWidths, meanDivergence;  // estimates and halfWidths: k per point
    std::vector<bool> completed;
    std::vector<PointStatus> statuses;

    // Room for `count` points of k values.
    SystemSweepResult(std::vector<py::ssize_t> shape, std::int64_t first, std::size_t count, const SystemSettings& s)
        : shape(std::move(shape)),
          first(first),
          exponents(s.exponents),
          errors(s.errors),
          t(count),
          estimates(count * s.exponents),
          halfWidths(count * s.exponents),
          meanDivergence(count),
          completed(count),
          statuses(count, PointStatus::Error) {}
};

// Point `at` of the result: `r` with its status.
template <std::size_t N>
void placePoint(SystemSweepResult& sweep, std::size_t at, const SystemResult<N>& r, PointStatus status,
                const SystemSettings& s) {
    const SystemSpectrumResult point = systemSpectrumOf(r, s);
    sweep.t[at] = point.t;
    sweep.completed[at] = point.completed;
    sweep.meanDivergence[at] = point.meanDivergence;
    sweep.statuses[at] = status;
    std::copy(point.exponents.begin(), point.exponents.end(), sweep.estimates.begin() + at * s.exponents);
    std::copy(point.halfWidths.begin(), point.halfWidths.end(), sweep.halfWidths.begin() + at * s.exponents);
}

// The rows of System.history(): k values per row in the estimates and
// half-widths (NaN before the tenth batch).
struct SystemHistoryResult {
    std::string system;  // the flow's name in files
    std::size_t exponents = 0;
    bool errors = false;
    bool completed = false;
    std::vector<std::int64_t> interval;
    std::vector<double> t, estimates, halfWidths;
};

// The classes SystemSpectrum, SystemSweep, SystemHistory and
// PublishedSpectrum in module `m`.
void addSystemResultTypes(py::module_& m);

}  // namespace veltrano::python
