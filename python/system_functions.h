#pragma once

// systems(), system() and the class System: the flows of the catalogue,
// described and run by the engine of the command line's --system, with the
// GIL released while it computes.

#include <pybind11/pybind11.h>

namespace veltrano::python {

namespace py = pybind11;

// The two functions and the class, with their help, in module `m`.
void addSystemFunctions(py::module_& m);

}  // namespace veltrano::python
