#pragma once

// What Python hands a flow of the catalogue (veltrano.system() and
// System.spectrum()), checked by the rules the command line's --system
// shares (texts_and_rules/system_entries.h); a refusal raises ValueError
// with its message.

#include <pybind11/pybind11.h>

#include <vector>

#include "arguments.h"
#include "system_description.h"
#include "system_grid.h"
#include "system_run.h"

namespace veltrano::python {

namespace py = pybind11;

// The flow called `name` at `dimension` (None: its default).
[[nodiscard]] SystemDescription systemOf(py::handle name, py::handle dimension);

// The keywords of a run of `system` as the caller gave them; `initial` None
// is the flow's own start, `exponents` None all d.
struct SystemKeywords {
    py::handle exponents, initial, transient, step, stepsPerInterval, errors, batch, targetError;
};

// The settings of a run of `system` over n intervals.
[[nodiscard]] SystemSettings systemSettingsOf(const SystemDescription& system, py::handle n,
                                              const SystemKeywords& k);

// The values of the flow's parameters in its order: the defaults, with
// those named in `given` (NAME=number) in their place.
[[nodiscard]] std::vector<double> systemParametersOf(const SystemDescription& system, const py::dict& given);

// The values each parameter takes in a sweep, in the flow's order: the
// default (a number), or a number or 1-D sequence named in `given`; refused
// beyond a sweep's most points.
[[nodiscard]] std::vector<AxisValues> systemAxesOf(const SystemDescription& system, const py::dict& given);

// The grid over the sequences among `axes` (systemAxesOf) in the order they
// vary, the first slowest (as the command line's --vary): vary=None is the
// flow's order; otherwise the names of exactly the parameters given as
// sequences, each once. At most three sequences, as --vary. The shape of
// its results is the sequences' lengths in that order.
struct SystemShapedGrid {
    SystemGrid grid;
    std::vector<py::ssize_t> shape;
};
[[nodiscard]] SystemShapedGrid systemGridOf(const SystemDescription& system, const std::vector<AxisValues>& axes,
                                            py::handle vary);

}  // namespace veltrano::python
