#include "system_results.h"

#include <pybind11/numpy.h>

#include <algorithm>
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

template <class T>
py::array_t<T> arrayOf(const std::vector<T>& values, std::vector<py::ssize_t> shape) {
    py::array_t<T> a(shape);
    std::copy(values.begin(), values.end(), a.mutable_data());
    return a;
}

py::tuple shapeOf(const std::vector<py::ssize_t>& shape) {
    py::tuple t(shape.size());
    for (std::size_t i = 0; i < shape.size(); ++i) t[i] = shape[i];
    return t;
}

std::vector<py::ssize_t> withK(const SystemSweepResult& r) {
    std::vector<py::ssize_t> shape = r.shape;
    shape.push_back(static_cast<py::ssize_t>(r.exponents));
    return shape;
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

    py::class_<SystemSweepResult>(m, "SystemSweep", "The result of System.sweep(): see help(veltrano.System.sweep).")
        .def_property_readonly("shape",
                               [](const SystemSweepResult& r) { return shapeOf(r.shape); })
        .def_property_readonly("t", [](const SystemSweepResult& r) { return arrayOf(r.t, r.shape); })
        .def_property_readonly("exponents",
                               [](const SystemSweepResult& r) { return arrayOf(r.estimates, withK(r)); })
        .def_property_readonly("half_widths",
                               [](const SystemSweepResult& r) {
                                   return r.errors ? py::object(arrayOf(r.halfWidths, withK(r))) : py::none();
                               })
        .def_property_readonly("completed",
                               [](const SystemSweepResult& r) {
                                   py::array_t<bool> a(r.shape);
                                   std::copy(r.completed.begin(), r.completed.end(), a.mutable_data());
                                   return a;
                               })
        .def_property_readonly("mean_divergence",
                               [](const SystemSweepResult& r) { return arrayOf(r.meanDivergence, r.shape); })
        .def("__repr__", [](const SystemSweepResult& r) {
            return "SystemSweep(shape=" + py::str(py::repr(shapeOf(r.shape))).cast<std::string>() +
                   ", exponents=" + std::to_string(r.exponents) + ")";
        });

    py::class_<SystemHistoryResult>(m, "SystemHistory",
                                    "The result of System.history(): see help(veltrano.System.history).")
        .def_readonly("system", &SystemHistoryResult::system)
        .def_property_readonly("interval",
                               [](const SystemHistoryResult& h) {
                                   return arrayOf(h.interval, {static_cast<py::ssize_t>(h.interval.size())});
                               })
        .def_property_readonly(
            "t", [](const SystemHistoryResult& h) { return arrayOf(h.t, {static_cast<py::ssize_t>(h.t.size())}); })
        .def_property_readonly("exponents",
                               [](const SystemHistoryResult& h) {
                                   return arrayOf(h.estimates, {static_cast<py::ssize_t>(h.t.size()),
                                                                static_cast<py::ssize_t>(h.exponents)});
                               })
        .def_property_readonly("half_widths",
                               [](const SystemHistoryResult& h) {
                                   if (!h.errors) return py::object(py::none());
                                   return py::object(arrayOf(h.halfWidths, {static_cast<py::ssize_t>(h.t.size()),
                                                                            static_cast<py::ssize_t>(h.exponents)}));
                               })
        .def_readonly("completed", &SystemHistoryResult::completed)
        .def("__len__", [](const SystemHistoryResult& h) { return h.t.size(); })
        .def("__repr__", [](const SystemHistoryResult& h) {
            return "SystemHistory(" + py::str(py::repr(py::str(h.system))).cast<std::string>() + ", " +
                   std::to_string(h.t.size()) + " rows, exponents=" + std::to_string(h.exponents) +
                   ", completed=" + (h.completed ? "True" : "False") + ")";
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
