#pragma once

// spectrum(), history() and sweep(): Python's arguments checked, the
// engine run with the GIL released, the results handed back.

#include <pybind11/pybind11.h>

namespace veltrano::python {

namespace py = pybind11;

// The three functions, with their keywords and help, in module `m`.
void addFunctions(py::module_& m);

}  // namespace veltrano::python
