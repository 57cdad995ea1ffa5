#pragma once

// What Python hands a flow of the catalogue or one typed as text
// (veltrano.system(), veltrano.equations() and System.spectrum()), checked by the rules the command line's --system
// shares (texts_and_rules/system_entries.h); a refusal raises ValueError
// with its message.

#include <pybind11/pybind11.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "arguments.h"
#include "compiled_system.h"
#include "equation_text.h"
#include "simd_path.h"
#include "system_description.h"
#include "system_grid.h"
#include "system_run.h"
#include "visit_system.h"

namespace veltrano::python {

namespace py = pybind11;

// A flow as Python holds it (the class System): one of the catalogue, or
// one typed as text, which `typed` then holds; the description is what the
// checks of the arguments need of either.
struct ChosenSystem : SystemDescription {
    std::shared_ptr<const equations::Equations> typed;
};

// The flow called `name` at `dimension` (None: its default).
[[nodiscard]] ChosenSystem systemOf(py::handle name, py::handle dimension);

// The flow typed in `text` (a str), named "equations"; a text the parser
// refuses raises ValueError with the parser's message (line, column, the
// line and a caret under the place).
[[nodiscard]] ChosenSystem equationsOf(py::handle text);

// The name of the flow in files: the catalogue's (systemField), or
// "equations:" and the SHA-256 of the text.
[[nodiscard]] std::string fileNameOf(const ChosenSystem& system);

// The flow as a sweep's file and runs take it (SystemSweep): one of the
// catalogue as it is; typed equations named as their files name them
// (fileNameOf) and with their text, which the runs compile.
[[nodiscard]] SystemDescription sweptFlowOf(const ChosenSystem& system);

// Calls visit(flow) with the flow as its own type: a flow of the catalogue,
// or the typed one compiled for the lanes of `path` (the GIL released by the
// caller: compiling takes a while).
template <class Visit>
void visitChosen(const ChosenSystem& system, SimdPath path, Visit&& visit) {
    if (system.typed) return equations::visitCompiled(*system.typed, path, std::forward<Visit>(visit));
    if (!visitSystem(system.name, system.dimension, std::forward<Visit>(visit)))
        throw std::logic_error("there is no flow " + system.name);
}

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
