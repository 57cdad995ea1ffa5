#include "result_types.h"

#include <pybind11/numpy.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "kaplan_yorke.h"
#include "number_text.h"
#include "sweep_rows.h"

namespace veltrano::python {

namespace {

py::tuple tupleOf(const Triple& v) {
    return py::make_tuple(v[0], v[1], v[2]);
}

template <class T>
py::array_t<T> arrayOf(const std::vector<T>& values) {
    py::array_t<T> a(static_cast<py::ssize_t>(values.size()));
    std::copy(values.begin(), values.end(), a.mutable_data());
    return a;
}

}  // namespace

py::object statusWords(const std::vector<py::ssize_t>& shape, const std::vector<PointStatus>& statuses) {
    // The words picked by the statuses' codes.
    constexpr PointStatus kOrder[] = {PointStatus::Ok, PointStatus::Error, PointStatus::Inconsistent};
    py::list words;
    for (const PointStatus w : kOrder) words.append(statusWord(w));
    py::array_t<std::int8_t> codes(shape);
    std::int8_t* out = codes.mutable_data();
    for (std::size_t i = 0; i < statuses.size(); ++i)
        out[i] =
            static_cast<std::int8_t>(std::find(std::begin(kOrder), std::end(kOrder), statuses[i]) - std::begin(kOrder));
    return py::module_::import("numpy").attr("array")(words)[codes];
}

SpectrumResult spectrumResultOf(const PointResult& r, const FlowParameters& p, const RunSettings& s) {
    const double nan = std::nan("");
    SpectrumResult out;
    out.t = r.t;
    out.status = statusOf(r, p, s);
    out.lambdas = r.completed ? r.expo : Triple{nan, nan, nan};
    out.kaplanYorke = r.completed ? kaplanYorke(r.expo) : nan;
    out.errors = s.errors;
    out.intervals = r.intervals;
    out.halfWidths = r.completed && r.errorsKnown ? r.halfWidth : Triple{nan, nan, nan};
    return out;
}

HistoryResult historyResultOf(const HistoryRows& rows, bool errors, bool ok) {
    HistoryResult h;
    h.interval = arrayOf(rows.interval);
    h.t = arrayOf(rows.t);
    h.lambda1 = arrayOf(rows.lambda[0]);
    h.lambda2 = arrayOf(rows.lambda[1]);
    h.lambda3 = arrayOf(rows.lambda[2]);
    h.lambda1Err = errors ? py::object(arrayOf(rows.halfWidth[0])) : py::none();
    h.lambda2Err = errors ? py::object(arrayOf(rows.halfWidth[1])) : py::none();
    h.lambda3Err = errors ? py::object(arrayOf(rows.halfWidth[2])) : py::none();
    h.ok = ok;
    return h;
}

SweepResult sweepResultOf(const std::vector<py::ssize_t>& shape, std::int64_t first,
                          const std::vector<FlowParameters>& points, const std::vector<PointResult>& results,
                          const RunSettings& s) {
    const std::size_t count = results.size();
    // An array of the shape whose element i is value(i).
    const auto make = [&](auto value) {
        using T = decltype(value(std::size_t{0}));
        py::array_t<T> a(shape);
        T* out = a.mutable_data();
        for (std::size_t i = 0; i < count; ++i) out[i] = value(i);
        return py::object(a);
    };
    const double nan = std::nan("");
    const auto done = [&](std::size_t i) { return results[i].completed; };
    std::vector<PointStatus> statuses(count);
    for (std::size_t i = 0; i < count; ++i) statuses[i] = statusOf(results[i], points[i], s);

    SweepResult r;
    py::tuple dimensions(shape.size());
    for (std::size_t i = 0; i < shape.size(); ++i) dimensions[i] = py::int_(shape[i]);
    r.shape = dimensions;
    r.index = make([&](std::size_t i) { return first + static_cast<std::int64_t>(i); });
    r.sigma = make([&](std::size_t i) { return points[i].sv; });
    r.R = make([&](std::size_t i) { return points[i].rv; });
    r.b = make([&](std::size_t i) { return points[i].bv; });
    r.t = make([&](std::size_t i) { return results[i].t; });
    r.lambda1 = make([&](std::size_t i) { return done(i) ? results[i].expo[0] : nan; });
    r.lambda2 = make([&](std::size_t i) { return done(i) ? results[i].expo[1] : nan; });
    r.lambda3 = make([&](std::size_t i) { return done(i) ? results[i].expo[2] : nan; });
    r.kaplanYorke = make([&](std::size_t i) { return done(i) ? kaplanYorke(results[i].expo) : nan; });
    r.status = statusWords(shape, statuses);
    r.ok = make([&](std::size_t i) { return statuses[i] == PointStatus::Ok; });
    if (s.errors) {
        r.intervals = make([&](std::size_t i) { return results[i].intervals; });
        const auto width = [&](std::size_t k) {
            return [&, k](std::size_t i) { return done(i) && results[i].errorsKnown ? results[i].halfWidth[k] : nan; };
        };
        r.lambda1Err = make(width(0));
        r.lambda2Err = make(width(1));
        r.lambda3Err = make(width(2));
    } else {
        r.intervals = r.lambda1Err = r.lambda2Err = r.lambda3Err = py::none();
    }
    return r;
}

void addResultTypes(py::module_& m) {
    py::class_<SpectrumResult>(m, "Spectrum", "The result of spectrum(): see help(veltrano.spectrum).")
        .def_readonly("t", &SpectrumResult::t)
        .def_property_readonly("lambdas", [](const SpectrumResult& r) { return tupleOf(r.lambdas); })
        .def_readonly("kaplan_yorke", &SpectrumResult::kaplanYorke)
        .def_property_readonly("status", [](const SpectrumResult& r) { return statusWord(r.status); })
        .def_property_readonly("ok", [](const SpectrumResult& r) { return r.status == PointStatus::Ok; })
        .def_property_readonly("intervals",
                               [](const SpectrumResult& r) { return r.errors ? py::object(py::int_(r.intervals)) : py::none(); })
        .def_property_readonly("errors",
                               [](const SpectrumResult& r) { return r.errors ? py::object(tupleOf(r.halfWidths)) : py::none(); })
        .def("__repr__", [](const SpectrumResult& r) {
            std::string text = "Spectrum(t=" + shortest(r.t) + ", lambdas=(" + shortest(r.lambdas[0]) + ", " +
                               shortest(r.lambdas[1]) + ", " + shortest(r.lambdas[2]) +
                               "), kaplan_yorke=" + shortest(r.kaplanYorke) +
                               ", ok=" + (r.status == PointStatus::Ok ? "True" : "False");
            // The status only where ok and the numbers do not tell it.
            if (r.status == PointStatus::Inconsistent) text += ", status='inconsistent'";
            if (r.errors)
                text += ", intervals=" + std::to_string(r.intervals) + ", errors=(" + shortest(r.halfWidths[0]) + ", " +
                        shortest(r.halfWidths[1]) + ", " + shortest(r.halfWidths[2]) + ")";
            return text + ")";
        });

    py::class_<HistoryResult>(m, "History", "The result of history(): see help(veltrano.history).")
        .def_readonly("interval", &HistoryResult::interval)
        .def_readonly("t", &HistoryResult::t)
        .def_readonly("lambda1", &HistoryResult::lambda1)
        .def_readonly("lambda2", &HistoryResult::lambda2)
        .def_readonly("lambda3", &HistoryResult::lambda3)
        .def_readonly("lambda1_err", &HistoryResult::lambda1Err)
        .def_readonly("lambda2_err", &HistoryResult::lambda2Err)
        .def_readonly("lambda3_err", &HistoryResult::lambda3Err)
        .def_readonly("ok", &HistoryResult::ok)
        .def("__len__", [](const HistoryResult& h) { return py::len(h.interval); })
        .def("__repr__", [](const HistoryResult& h) {
            return "History(" + std::to_string(py::len(h.interval)) + " rows, ok=" + (h.ok ? "True" : "False") + ")";
        });

    py::class_<SweepResult>(m, "Sweep", "The result of sweep(): see help(veltrano.sweep).")
        .def_readonly("index", &SweepResult::index)
        .def_readonly("sigma", &SweepResult::sigma)
        .def_readonly("R", &SweepResult::R)
        .def_readonly("b", &SweepResult::b)
        .def_readonly("t", &SweepResult::t)
        .def_readonly("lambda1", &SweepResult::lambda1)
        .def_readonly("lambda2", &SweepResult::lambda2)
        .def_readonly("lambda3", &SweepResult::lambda3)
        .def_readonly("kaplan_yorke", &SweepResult::kaplanYorke)
        .def_readonly("status", &SweepResult::status)
        .def_readonly("ok", &SweepResult::ok)
        .def_readonly("intervals", &SweepResult::intervals)
        .def_readonly("lambda1_err", &SweepResult::lambda1Err)
        .def_readonly("lambda2_err", &SweepResult::lambda2Err)
        .def_readonly("lambda3_err", &SweepResult::lambda3Err)
        .def_readonly("shape", &SweepResult::shape)
        .def("__repr__", [](const SweepResult& r) { return "Sweep(shape=" + std::string(py::str(py::repr(r.shape))) + ")"; });
}

}  // namespace veltrano::python
