#pragma once

// What System.spectrum() hands back (the Python class SystemSpectrum) and
// how a published spectrum is shown (PublishedSpectrum).

#include <pybind11/pybind11.h>

#include <cmath>
#include <cstdint>
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

// The classes SystemSpectrum and PublishedSpectrum in module `m`.
void addSystemResultTypes(py::module_& m);

}  // namespace veltrano::python
