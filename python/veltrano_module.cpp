// import veltrano: the Lyapunov spectrum of the Lorenz system for Python.
// A thin layer over the batched engine and the sweeps: it checks what
// Python hands it (with the command line's messages), runs the computation
// on threads of its own with the GIL released, and hands back NumPy arrays.
//
// The pieces: arguments (checks and conversions), released_run (the work on
// its own thread while this one polls signals and progress), result_types
// (Spectrum, History, Sweep), functions (spectrum, history, sweep) with
// their help in docstrings.h, the keywords' defaults (keyword_defaults);
// the flows of the catalogue: system_arguments, system_results and
// system_functions (systems, system, System).

#include <pybind11/pybind11.h>

#include "docstrings.h"
#include "functions.h"
#include "keyword_defaults.h"
#include "result_types.h"
#include "system_functions.h"
#include "system_results.h"

PYBIND11_MODULE(veltrano, m) {
    m.doc() = veltrano::python::withDefaults(veltrano::python::kModuleDoc);
    m.attr("__version__") = "1.0";
    veltrano::python::addResultTypes(m);
    veltrano::python::addFunctions(m);
    veltrano::python::addSystemResultTypes(m);
    veltrano::python::addSystemFunctions(m);
}
