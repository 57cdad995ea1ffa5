#pragma once

// What System.spectrum() hands back (the Python class SystemSpectrum) and
// how a published spectrum is shown (PublishedSpectrum).

#include <pybind11/pybind11.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "system_run.h"

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
// sequences given; k values per point.
struct SystemSweepResult {
    std::vector<py::ssize_t> shape;
    std::size_t exponents = 0;
    bool errors = false;
    std::vector<double> t, estimates, halfWidths, meanDivergence;  // estimates and halfWidths: k per point
    std::vector<bool> completed;
};

template <std::size_t N>
void appendPoint(SystemSweepResult& sweep, const SystemResult<N>& r, const SystemSettings& s) {
    const SystemSpectrumResult point = systemSpectrumOf(r, s);
    sweep.t.push_back(point.t);
    sweep.completed.push_back(point.completed);
    sweep.meanDivergence.push_back(point.meanDivergence);
    sweep.estimates.insert(sweep.estimates.end(), point.exponents.begin(), point.exponents.end());
    sweep.halfWidths.insert(sweep.halfWidths.end(), point.halfWidths.begin(), point.halfWidths.end());
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
