#include "arguments.h"

#include <pybind11/numpy.h>

#include <algorithm>
#include <cmath>
#include <thread>

#include "parameter_check.h"

namespace veltrano::python {

namespace {

constexpr std::string_view kMessageResearchRange = "Deve essere N <= 1000000000";

// str, bytes, bytearray, or a memoryview of bytes: never numbers, though
// bytes index as small whole numbers.
bool isText(py::handle v) {
    if (PyUnicode_Check(v.ptr()) || PyBytes_Check(v.ptr()) || PyByteArray_Check(v.ptr())) return true;
    if (!PyMemoryView_Check(v.ptr())) return false;
    const std::string_view format = PyMemoryView_GET_BUFFER(v.ptr())->format;
    return format == "B" || format == "b" || format == "c";
}

// True or False as Python or NumPy has them (a NumPy bool, or an array of
// no dimension holding one).
bool isBool(py::handle v) {
    if (PyBool_Check(v.ptr())) return true;
    const py::module_ numpy = py::module_::import("numpy");
    if (py::isinstance(v, numpy.attr("bool_"))) return true;
    return py::isinstance<py::array>(v) && py::reinterpret_borrow<py::array>(v).ndim() == 0 &&
           py::reinterpret_borrow<py::array>(v).dtype().kind() == 'b';
}

}  // namespace

void refuse(std::string_view message) {
    throw py::value_error(std::string(message));
}

std::string shown(py::handle value) {
    return py::str(py::repr(value));
}

double finiteNumber(py::handle v, std::string_view message) {
    if (v.is_none() || isBool(v) || isText(v)) refuse(message);
    if (py::isinstance<py::array>(v) && py::reinterpret_borrow<py::array>(v).ndim() != 0) refuse(message);
    if (!PyFloat_Check(v.ptr()) && !PyIndex_Check(v.ptr()) && !py::hasattr(v, "__float__")) refuse(message);
    const double d = PyFloat_AsDouble(v.ptr());
    if (PyErr_Occurred()) {
        PyErr_Clear();
        refuse(message);
    }
    if (!std::isfinite(d)) refuse(message);
    return d;
}

std::optional<std::int64_t> wholeNumber(py::handle v, std::int64_t lo, std::int64_t hi) {
    if (v.is_none() || isBool(v) || isText(v) || !PyIndex_Check(v.ptr())) return std::nullopt;
    const py::object index = py::reinterpret_steal<py::object>(PyNumber_Index(v.ptr()));
    if (!index) {
        PyErr_Clear();
        return std::nullopt;
    }
    int overflow = 0;
    const long long value = PyLong_AsLongLongAndOverflow(index.ptr(), &overflow);
    if (overflow != 0 || value < lo || value > hi) return std::nullopt;
    return value;
}

std::int64_t intervalsOf(py::handle n) {
    if (const auto value = wholeNumber(n, 1, RunSettings::kMaxIntervals)) return *value;
    // Whole numbers beyond the range get the range's message, anything else
    // the entry's.
    if (!isBool(n) && PyIndex_Check(n.ptr()) && !isText(n)) {
        const py::object index = py::reinterpret_steal<py::object>(PyNumber_Index(n.ptr()));
        if (!index) PyErr_Clear();
        if (index && PyObject_RichCompareBool(index.ptr(), py::int_(0).ptr(), Py_GT) == 1)
            refuse(kMessageResearchRange);
        PyErr_Clear();
    }
    refuse(kMessageN);
}

FlowParameters parametersOf(py::handle sigma, py::handle R, py::handle b) {
    return {finiteNumber(sigma, kMessageSigma), finiteNumber(R, kMessageR), finiteNumber(b, kMessageB)};
}

RunSettings settingsOf(std::int64_t n, const ResearchKeywords& k) {
    RunSettings s;
    s.intervals = n;
    const auto whole = [](py::handle v, std::int64_t lo, ResearchOption option) {
        const auto value = wholeNumber(v, lo, RunSettings::kMaxIntervals);
        if (!value) refuse(refusedOption(option, shown(v)));
        return *value;
    };
    const auto positive = [](py::handle v, ResearchOption option) {
        const std::string message = refusedOption(option, shown(v));
        const double value = finiteNumber(v, message);
        if (!(value > 0)) refuse(message);
        return value;
    };
    s.transient = whole(k.transient, 0, ResearchOption::Transient);
    {
        const std::string message = refusedOption(ResearchOption::Initial, shown(k.initial));
        if (isText(k.initial) || !py::isinstance<py::sequence>(k.initial)) refuse(message);
        const auto point = py::reinterpret_borrow<py::sequence>(k.initial);
        if (py::len(point) != 3) refuse(message);
        for (std::size_t i = 0; i < 3; ++i) s.initial[i] = finiteNumber(point[i], message);
    }
    s.step = positive(k.step, ResearchOption::Step);
    s.stepsPerInterval = whole(k.stepsPerInterval, 1, ResearchOption::StepsPerInterval);
    // Only a truth value: 1, "yes", None or 0.0 would be a guess.
    if (!isBool(k.errors)) refuse("errors must be True or False, not " + shown(k.errors));
    s.errors = PyObject_IsTrue(k.errors.ptr()) == 1;
    s.batch = whole(k.batch, 1, ResearchOption::Batch);
    if (!k.targetError.is_none()) {
        s.targetError = positive(k.targetError, ResearchOption::TargetError);
        s.errors = true;
    }
    return s;
}

namespace {

AxisValues axisOf(py::handle v, std::string_view message) {
    AxisValues axis;
    if (v.is_none() || isText(v)) refuse(message);
    const bool sequence = py::isinstance<py::array>(v) ? py::reinterpret_borrow<py::array>(v).ndim() != 0
                                                       : py::isinstance<py::sequence>(v);
    if (!sequence) {
        axis.values.push_back(finiteNumber(v, message));
        return axis;
    }
    axis.scalar = false;
    const py::module_ numpy = py::module_::import("numpy");
    const py::array given = numpy.attr("asarray")(v);
    const std::string kind = py::str(given.dtype().attr("kind"));
    if (given.ndim() != 1) refuse(std::string(message) + " (a number or a 1-D sequence of numbers)");
    if (given.size() > 0 && kind != "i" && kind != "u" && kind != "f") refuse(message);
    const auto values = py::array_t<double, py::array::c_style | py::array::forcecast>::ensure(given);
    if (!values) refuse(message);
    for (py::ssize_t i = 0; i < values.size(); ++i) {
        const double d = values.at(i);
        if (!std::isfinite(d)) refuse(message);
        axis.values.push_back(d);
    }
    return axis;
}

}  // namespace

SweepAxes axesOf(py::handle sigma, py::handle R, py::handle b) {
    return {axisOf(sigma, kMessageSigma), axisOf(R, kMessageR), axisOf(b, kMessageB)};
}

ShapedGrid gridOf(const SweepAxes& axes) {
    ShapedGrid shaped;
    SweepGrid& grid = shaped.grid;
    grid.base = {axes[0].values.empty() ? 0 : axes[0].values[0], axes[1].values.empty() ? 0 : axes[1].values[0],
                 axes[2].values.empty() ? 0 : axes[2].values[0]};
    const SweepParameter names[] = {SweepParameter::Sigma, SweepParameter::R, SweepParameter::B};
    for (std::size_t a = 0; a < 3; ++a) {
        if (axes[a].scalar) continue;
        SweepAxis axis;
        axis.parameter = names[a];
        axis.values = axes[a].values;
        axis.count = static_cast<std::int64_t>(axis.values.size());
        grid.axes[static_cast<std::size_t>(grid.axisCount++)] = std::move(axis);
        shaped.shape.push_back(static_cast<py::ssize_t>(axes[a].values.size()));
    }
    // Counted in Python's integers: three long sequences can multiply past
    // what 64 bits hold.
    py::object total = py::int_(1);
    for (const py::ssize_t length : shaped.shape) total = total * py::int_(length);
    if (total > py::int_(SweepGrid::kMaxPoints))
        refuse("the grid has " + std::string(py::str(total)) + " points; a sweep has at most 100000000");
    return shaped;
}

int threadsOf(py::handle threads) {
    if (threads.is_none()) return static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    const auto t = wholeNumber(threads, 1, 4096);
    if (!t) refuse(refusedOption(ResearchOption::Threads, shown(threads)));
    return static_cast<int>(*t);
}

}  // namespace veltrano::python
