#include "system_results.h"

#include <string>

#include "system_description.h"

namespace veltrano::python {

namespace {

py::tuple tupleOf(const std::vector<double>& values) {
    py::tuple t(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) t[i] = values[i];
    return t;
}

std::string reprOf(const std::vector<double>& values) {
    return py::str(py::repr(tupleOf(values)));
}

}  // namespace

void addSystemResultTypes(py::module_& m) {
    py::class_<SystemSpectrumResult>(m, "SystemSpectrum",
                                     "The result of System.spectrum(): see help(veltrano.System.spectrum).")
        .def_readonly("completed", &SystemSpectrumResult::completed)
        .def_readonly("t", &SystemSpectrumResult::t)
        .def_property_readonly("exponents", [](const SystemSpectrumResult& r) { return tupleOf(r.exponents); })
        .def_property_readonly("half_widths",
                               [](const SystemSpectrumResult& r) {
                                   return r.errors ? py::object(tupleOf(r.halfWidths)) : py::none();
                               })
        .def_property_readonly("intervals",
                               [](const SystemSpectrumResult& r) {
                                   return r.errors ? py::object(py::int_(r.intervals)) : py::none();
                               })
        .def_readonly("mean_divergence", &SystemSpectrumResult::meanDivergence)
        .def("__repr__", [](const SystemSpectrumResult& r) {
            std::string text = "SystemSpectrum(t=" + py::str(py::repr(py::float_(r.t))).cast<std::string>() +
                               ", exponents=" + reprOf(r.exponents);
            if (r.errors) text += ", half_widths=" + reprOf(r.halfWidths);
            return text + ", completed=" + (r.completed ? "True" : "False") + ")";
        });

    py::class_<PublishedSpectrum>(m, "PublishedSpectrum",
                                  "A Lyapunov spectrum as a publication gives it: the exponents (largest first, "
                                  "in nats per unit time, with `decimals` digits after the point), the parameters "
                                  "and the start it was computed for, and the source.")
        .def_property_readonly("exponents", [](const PublishedSpectrum& p) { return tupleOf(p.exponents); })
        .def_readonly("decimals", &PublishedSpectrum::decimals)
        .def_property_readonly("parameters", [](const PublishedSpectrum& p) { return tupleOf(p.parameters); })
        .def_property_readonly("start", [](const PublishedSpectrum& p) { return tupleOf(p.start); })
        .def_readonly("source", &PublishedSpectrum::source)
        .def("__repr__", [](const PublishedSpectrum& p) {
            return "PublishedSpectrum(exponents=" + reprOf(p.exponents) + ", source=" +
                   py::str(py::repr(py::str(p.source))).cast<std::string>() + ")";
        });
}

}  // namespace veltrano::python
