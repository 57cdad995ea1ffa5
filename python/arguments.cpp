#include "arguments.h"

#include <pybind11/numpy.h>

#include <algorithm>
#include <cmath>
#include <limits>

#include "parameter_check.h"
#include "research_rules.h"

namespace veltrano::python {

namespace {

// str, bytes, bytearray, or a memoryview of bytes: never numbers, though
// bytes index as small whole numbers.
bool isText(py::handle v) {
    if (PyUnicode_Check(v.ptr()) || PyBytes_Check(v.ptr()) || PyByteArray_Check(v.ptr())) return true;
    if (!PyMemoryView_Check(v.ptr())) return false;
    const std::string_view format = PyMemoryView_GET_BUFFER(v.ptr())->format;
    return format == "B" || format == "b" || format == "c";
}

// A number of any kind, finite or not; nullopt for anything else.
std::optional<double> numberOf(py::handle v) {
    if (v.is_none() || isBool(v) || isText(v)) return std::nullopt;
    if (py::isinstance<py::array>(v) && py::reinterpret_borrow<py::array>(v).ndim() != 0) return std::nullopt;
    if (!PyFloat_Check(v.ptr()) && !PyIndex_Check(v.ptr()) && !py::hasattr(v, "__float__")) return std::nullopt;
    const double d = PyFloat_AsDouble(v.ptr());
    if (PyErr_Occurred()) {
        PyErr_Clear();
        return std::nullopt;
    }
    return d;
}

}  // namespace

void refuse(std::string_view message) {
    throw py::value_error(std::string(message));
}

std::string shown(py::handle value) {
    return py::str(py::repr(value));
}

bool isBool(py::handle v) {
    if (PyBool_Check(v.ptr())) return true;
    const py::module_ numpy = py::module_::import("numpy");
    if (py::isinstance(v, numpy.attr("bool_"))) return true;
    return py::isinstance<py::array>(v) && py::reinterpret_borrow<py::array>(v).ndim() == 0 &&
           py::reinterpret_borrow<py::array>(v).dtype().kind() == 'b';
}

double finiteNumber(py::handle v, std::string_view message) {
    const auto d = numberOf(v);
    if (!d || !std::isfinite(*d)) refuse(message);
    return *d;
}

std::optional<std::int64_t> wholeNumber(py::handle v) {
    if (v.is_none() || isBool(v) || isText(v) || !PyIndex_Check(v.ptr())) return std::nullopt;
    const py::object index = py::reinterpret_steal<py::object>(PyNumber_Index(v.ptr()));
    if (!index) {
        PyErr_Clear();
        return std::nullopt;
    }
    int overflow = 0;
    const long long value = PyLong_AsLongLongAndOverflow(index.ptr(), &overflow);
    if (overflow > 0) return std::numeric_limits<std::int64_t>::max();
    if (overflow < 0) return std::numeric_limits<std::int64_t>::min();
    return value;
}

std::int64_t intervalsOf(py::handle n) {
    const auto value = wholeNumber(n);
    if (!value) refuse(kMessageN);
    if (const auto why = refusedIntervals(*value)) refuse(*why);
    return *value;
}

FlowParameters parametersOf(py::handle sigma, py::handle R, py::handle b) {
    return {finiteNumber(sigma, kMessageSigma), finiteNumber(R, kMessageR), finiteNumber(b, kMessageB)};
}

RunSettings settingsOf(std::int64_t n, const ResearchKeywords& k) {
    const auto keyword = [&k](ResearchOption option) {
        switch (option) {
            case ResearchOption::Transient:
                return k.transient;
            case ResearchOption::Initial:
                return k.initial;
            case ResearchOption::Step:
                return k.step;
            case ResearchOption::StepsPerInterval:
                return k.stepsPerInterval;
            case ResearchOption::Batch:
                return k.batch;
            case ResearchOption::TargetError:
                return k.targetError;
            case ResearchOption::Every:
            case ResearchOption::Threads:
                break;
        }
        return py::handle();
    };
    const auto refused = [&](ResearchOption option) { refuse(refusedOption(option, shown(keyword(option)))); };
    const auto whole = [&](ResearchOption option) {
        const auto value = wholeNumber(keyword(option));
        if (!value) refused(option);
        return value;
    };
    const auto number = [&](ResearchOption option) {
        const auto value = numberOf(keyword(option));
        if (!value) refused(option);
        return value;
    };

    ResearchValues values;
    values.transient = whole(ResearchOption::Transient);
    if (k.initial) {
        if (isText(k.initial) || !py::isinstance<py::sequence>(k.initial)) refused(ResearchOption::Initial);
        const auto point = py::reinterpret_borrow<py::sequence>(k.initial);
        if (py::len(point) != 3) refused(ResearchOption::Initial);
        Triple initial{};
        for (std::size_t i = 0; i < 3; ++i) {
            const auto v = numberOf(point[i]);
            if (!v) refused(ResearchOption::Initial);
            initial[i] = *v;
        }
        values.initial = initial;
    }
    values.step = number(ResearchOption::Step);
    values.stepsPerInterval = whole(ResearchOption::StepsPerInterval);
    // Only a truth value: 1, "yes", None or 0.0 would be a guess.
    if (!isBool(k.errors)) refuse("errors must be True or False, not " + shown(k.errors));
    values.errors = PyObject_IsTrue(k.errors.ptr()) == 1;
    values.batch = whole(ResearchOption::Batch);
    if (!k.targetError.is_none()) values.targetError = number(ResearchOption::TargetError);

    auto settings = researchSettings(n, values, [&](ResearchOption option) { return shown(keyword(option)); });
    if (const auto* why = std::get_if<std::string>(&settings)) refuse(*why);
    return std::get<RunSettings>(settings);
}

std::int64_t everyOf(py::handle every) {
    const auto k = wholeNumber(every);
    if (!k) refuse(refusedOption(ResearchOption::Every, shown(every)));
    auto checked = veltrano::everyOf(*k, shown(every));
    if (const auto* why = std::get_if<std::string>(&checked)) refuse(*why);
    return std::get<std::int64_t>(checked);
}

std::optional<std::int64_t> sequenceLength(py::handle v) {
    if (v.is_none() || isText(v)) return std::nullopt;
    if (py::isinstance<py::array>(v)) {
        const auto array = py::reinterpret_borrow<py::array>(v);
        return array.ndim() == 1 ? std::optional<std::int64_t>(array.size()) : std::nullopt;
    }
    if (!py::isinstance<py::sequence>(v)) return std::nullopt;
    const Py_ssize_t length = PyObject_Length(v.ptr());
    if (length < 0) {
        PyErr_Clear();
        return std::nullopt;
    }
    return static_cast<std::int64_t>(length);
}

void refuseLongSequences(std::span<const py::handle> given) {
    std::vector<std::int64_t> lengths;
    for (const py::handle v : given)
        if (const auto length = sequenceLength(v)) lengths.push_back(*length);
    if (const auto why = refusedGridSize(lengths)) refuse(*why);
}

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
    // np.asarray drops a mask, and with it which values are missing.
    if (numpy.attr("ma").attr("is_masked")(v).cast<bool>())
        refuse(std::string(message) + " (its masked values have no number)");
    py::array given;
    try {
        given = numpy.attr("asarray")(v);
    } catch (const py::error_already_set&) {  // numpy's words for a ragged list do not name the parameter
        refuse(std::string(message) + " (a number or a 1-D sequence of numbers)");
    }
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

SweepAxes axesOf(py::handle sigma, py::handle R, py::handle b) {
    const py::handle given[] = {sigma, R, b};
    refuseLongSequences(given);
    return {axisOf(sigma, kMessageSigma), axisOf(R, kMessageR), axisOf(b, kMessageB)};
}

AxisOrder orderOf(py::handle vary, const SweepAxes& axes) {
    AxisOrder order;
    for (std::size_t a = 0; a < 3; ++a)
        if (!axes[a].scalar) order.push_back(a);
    if (vary.is_none()) return order;
    const std::string rule =
        "vary must name the parameters given as sequences, each once, the first varying slowest "
        "(for example vary=(\"b\", \"sigma\")), not " +
        shown(vary);
    if (isText(vary) || !py::isinstance<py::sequence>(vary)) refuse(rule);
    const auto names = py::reinterpret_borrow<py::sequence>(vary);
    AxisOrder named;
    for (const py::handle name : names) {
        if (!py::isinstance<py::str>(name)) refuse(rule);
        const std::string text = name.cast<std::string>();
        const std::size_t a = text == "sigma" ? 0 : text == "R" ? 1 : text == "b" ? 2 : 3;
        if (a == 3 || axes[a].scalar || std::find(named.begin(), named.end(), a) != named.end()) refuse(rule);
        named.push_back(a);
    }
    if (named.size() != order.size()) refuse(rule);
    return named;
}

ShapedGrid gridOf(const SweepAxes& axes, const AxisOrder& order) {
    ShapedGrid shaped;
    SweepGrid& grid = shaped.grid;
    grid.base = {axes[0].values.empty() ? 0 : axes[0].values[0], axes[1].values.empty() ? 0 : axes[1].values[0],
                 axes[2].values.empty() ? 0 : axes[2].values[0]};
    const SweepParameter names[] = {SweepParameter::Sigma, SweepParameter::R, SweepParameter::B};
    std::vector<std::int64_t> lengths;
    for (const std::size_t a : order) {
        SweepAxis axis;
        axis.parameter = names[a];
        axis.values = axes[a].values;
        axis.count = static_cast<std::int64_t>(axis.values.size());
        lengths.push_back(axis.count);
        grid.axes[static_cast<std::size_t>(grid.axisCount++)] = std::move(axis);
        shaped.shape.push_back(static_cast<py::ssize_t>(axes[a].values.size()));
    }
    if (const auto why = refusedGridSize(lengths)) refuse(*why);
    return shaped;
}

int threadsOf(py::handle threads) {
    std::optional<std::int64_t> given;
    if (!threads.is_none()) {
        given = wholeNumber(threads);
        if (!given) refuse(refusedOption(ResearchOption::Threads, shown(threads)));
    }
    auto count = threadCount(given, shown(threads));
    if (const auto* why = std::get_if<std::string>(&count)) refuse(*why);
    return std::get<int>(count);
}

std::optional<std::string> outputOf(py::handle output) {
    if (output.is_none()) return std::nullopt;
    const std::string refusal = "output must be the path of a file, not " + shown(output);
    const bool pathLike = PyUnicode_Check(output.ptr()) || PyBytes_Check(output.ptr()) ||
                          py::hasattr(output, "__fspath__");
    if (!pathLike) refuse(refusal);
    const py::object path = py::module_::import("os").attr("fsencode")(output);
    std::string text = path.cast<std::string>();
    if (text.empty() || text.find('\0') != std::string::npos) refuse(refusal);
    return text;
}

bool resumeOf(py::handle resume, bool hasOutput) {
    if (!isBool(resume)) refuse("resume must be True or False, not " + shown(resume));
    const bool on = PyObject_IsTrue(resume.ptr()) == 1;
    if (on && !hasOutput) refuse("resume=True needs output=PATH");
    return on;
}

std::optional<std::pair<std::int64_t, std::int64_t>> shardOf(py::handle shard) {
    if (shard.is_none()) return std::nullopt;
    const std::string refusal = "shard " + shown(shard) + ": " + shardRangeRule("(K, M)");
    if (isText(shard) || !py::isinstance<py::sequence>(shard)) refuse(refusal);
    const auto pair = py::reinterpret_borrow<py::sequence>(shard);
    if (py::len(pair) != 2) refuse(refusal);
    const auto k = wholeNumber(pair[0]);
    const auto m = wholeNumber(pair[1]);
    if (!k || !m || !shardInRange(*k, *m)) refuse(refusal);
    return std::pair{*k, *m};
}

}  // namespace veltrano::python
