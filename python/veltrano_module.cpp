// import veltrano: the Lyapunov spectrum of the Lorenz system for Python.
// A thin layer over the batched engine and the sweeps: it checks what
// Python hands it (with the command line's messages), runs the computation
// on threads of its own with the GIL released, and hands back NumPy arrays.

#include <pybind11/numpy.h>
#include <pybind11/pybind11.h>

#include <atomic>
#include <charconv>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "batched_exponents.h"
#include "kaplan_yorke.h"
#include "parameter_check.h"
#include "number_text.h"
#include "research_rules.h"
#include "sweep_runner.h"

namespace py = pybind11;
using namespace veltrano;

namespace {

[[noreturn]] void refuse(std::string_view message) {
    throw py::value_error(std::string(message));
}

std::string shown(py::handle value) {
    return py::str(py::repr(value));
}

bool isText(py::handle v) {
    return PyUnicode_Check(v.ptr()) || PyBytes_Check(v.ptr()) || PyByteArray_Check(v.ptr());
}

// A finite number: a Python or NumPy int or float (not a bool, a text or an
// array of more than no dimension); otherwise `message`.
double finiteNumber(py::handle v, std::string_view message) {
    if (v.is_none() || PyBool_Check(v.ptr()) || isText(v)) refuse(message);
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

// A whole number from `lo` to `hi`: a Python or NumPy int, not a bool.
std::optional<std::int64_t> wholeNumber(py::handle v, std::int64_t lo, std::int64_t hi) {
    if (v.is_none() || PyBool_Check(v.ptr()) || isText(v) || !PyIndex_Check(v.ptr())) return std::nullopt;
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

// n as history and sweep take it: 1 to 10^9.
std::int64_t intervalsOf(py::handle n) {
    if (const auto value = wholeNumber(n, 1, RunSettings::kMaxIntervals)) return *value;
    // Whole numbers beyond the range get the range's message, anything else
    // the entry's.
    if (!PyBool_Check(n.ptr()) && PyIndex_Check(n.ptr()) && !isText(n)) {
        const py::object index = py::reinterpret_steal<py::object>(PyNumber_Index(n.ptr()));
        if (!index) PyErr_Clear();
        if (index && PyObject_RichCompareBool(index.ptr(), py::int_(0).ptr(), Py_GT) == 1)
            refuse(kMessageResearchRange);
        PyErr_Clear();
    }
    refuse(kMessageN);
}

// The research options, checked as the command line checks them.
RunSettings settingsOf(std::int64_t n, py::handle transient, py::handle initial, py::handle step,
                       py::handle stepsPerInterval, py::handle errors, py::handle batch, py::handle targetError) {
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
    s.transient = whole(transient, 0, ResearchOption::Transient);
    {
        const std::string message = refusedOption(ResearchOption::Initial, shown(initial));
        if (isText(initial) || !py::isinstance<py::sequence>(initial)) refuse(message);
        const auto point = py::reinterpret_borrow<py::sequence>(initial);
        if (py::len(point) != 3) refuse(message);
        for (std::size_t i = 0; i < 3; ++i) s.initial[i] = finiteNumber(point[i], message);
    }
    s.step = positive(step, ResearchOption::Step);
    s.stepsPerInterval = whole(stepsPerInterval, 1, ResearchOption::StepsPerInterval);
    if (!PyBool_Check(errors.ptr())) refuse("errors must be True or False, not " + shown(errors));
    s.errors = errors.cast<bool>();
    s.batch = whole(batch, 1, ResearchOption::Batch);
    if (!targetError.is_none()) {
        s.targetError = positive(targetError, ResearchOption::TargetError);
        s.errors = true;
    }
    return s;
}

// The values a parameter takes: one number (no dimension of the result) or
// a 1-D sequence of numbers (one dimension).
struct AxisValues {
    bool scalar = true;
    std::vector<double> values;
};

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

int threadsOf(py::handle threads) {
    if (threads.is_none()) return static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    const auto t = wholeNumber(threads, 1, 4096);
    if (!t) refuse(refusedOption(ResearchOption::Threads, shown(threads)));
    return static_cast<int>(*t);
}

// Runs `work` on a thread of its own while this thread, without the GIL,
// looks ten times a second for Ctrl-C (or any signal that raises) and
// reports progress. A raised exception stops the work at its next interval
// boundary and is raised here.
template <class Work>
void runReleased(Work&& work, py::handle progress, const std::atomic<std::int64_t>& done, std::int64_t total) {
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable finished;
    bool over = false;
    std::exception_ptr failure;
    bool raised = false;
    {
        py::gil_scoped_release release;
        std::thread worker([&] {
            try {
                work(stop);
            } catch (...) {
                failure = std::current_exception();
            }
            std::lock_guard lock(mutex);
            over = true;
            finished.notify_all();
        });
        std::int64_t reported = -1;
        for (;;) {
            bool end = false;
            {
                std::unique_lock lock(mutex);
                end = finished.wait_for(lock, std::chrono::milliseconds(100), [&] { return over; });
            }
            {
                py::gil_scoped_acquire acquire;
                if (PyErr_CheckSignals() != 0) raised = true;
                const std::int64_t now = done.load();
                if (!raised && !progress.is_none() && (now != reported || end)) {
                    reported = now;
                    PyObject* result = PyObject_CallFunction(progress.ptr(), "LL", static_cast<long long>(now),
                                                             static_cast<long long>(total));
                    if (result == nullptr) raised = true;
                    Py_XDECREF(result);
                }
            }
            if (raised) stop = true;
            if (raised || end) break;
        }
        worker.join();
    }
    if (raised) throw py::error_already_set();
    if (failure) std::rethrow_exception(failure);
}

// What spectrum() hands back.
struct SpectrumResult {
    double t = 0;
    Triple lambdas{};
    double kaplanYorke = 0;
    bool ok = false;
    bool errors = false;
    std::int64_t intervals = 0;
    Triple halfWidths{};
};

SpectrumResult resultOf(const PointResult& r, bool errors) {
    const double nan = std::nan("");
    SpectrumResult out;
    out.t = r.t;
    out.ok = r.completed;
    out.lambdas = r.completed ? r.expo : Triple{nan, nan, nan};
    out.kaplanYorke = r.completed ? kaplanYorke(r.expo) : nan;
    out.errors = errors;
    out.intervals = r.intervals;
    out.halfWidths = r.completed && r.errorsKnown ? r.halfWidth : Triple{nan, nan, nan};
    return out;
}

py::tuple tupleOf(const Triple& v) {
    return py::make_tuple(v[0], v[1], v[2]);
}

SpectrumResult spectrum(py::object n, py::object sigma, py::object R, py::object b, py::object transient,
                        py::object initial, py::object step, py::object stepsPerInterval, py::object errors,
                        py::object batch, py::object targetError) {
    const std::int64_t intervals = intervalsOf(n);
    const FlowParameters p{finiteNumber(sigma, kMessageSigma), finiteNumber(R, kMessageR), finiteNumber(b, kMessageB)};
    const RunSettings s = settingsOf(intervals, transient, initial, step, stepsPerInterval, errors, batch, targetError);
    PointResult result;
    std::atomic<std::int64_t> done{0};
    runReleased(
        [&](const std::atomic<bool>& stop) {
            runPoints(widestPath(), s, std::span(&p, 1), std::span(&result, 1), nullptr, &stop);
            done = 1;
        },
        py::none(), done, 1);
    return resultOf(result, s.errors);
}

// What history() hands back: one row after every `every`-th interval and
// after the last.
struct HistoryResult {
    py::object interval, t, lambda1, lambda2, lambda3, lambda1Err, lambda2Err, lambda3Err;
    bool ok = false;
};

template <class T>
py::array_t<T> arrayOf(const std::vector<T>& values) {
    py::array_t<T> a(static_cast<py::ssize_t>(values.size()));
    std::copy(values.begin(), values.end(), a.mutable_data());
    return a;
}

HistoryResult history(py::object n, py::object sigma, py::object R, py::object b, py::object every,
                      py::object transient, py::object initial, py::object step, py::object stepsPerInterval,
                      py::object errors, py::object batch, py::object targetError) {
    const std::int64_t intervals = intervalsOf(n);
    const FlowParameters p{finiteNumber(sigma, kMessageSigma), finiteNumber(R, kMessageR), finiteNumber(b, kMessageB)};
    const auto k = wholeNumber(every, 1, RunSettings::kMaxIntervals);
    if (!k) refuse(refusedOption(ResearchOption::Every, shown(every)));
    const RunSettings s = settingsOf(intervals, transient, initial, step, stepsPerInterval, errors, batch, targetError);
    std::vector<std::int64_t> rows;
    std::vector<double> t, l[3], e[3];
    PointResult end;
    std::atomic<std::int64_t> done{0};
    runReleased(
        [&](const std::atomic<bool>& stop) {
            end = runObserved(
                s, p,
                [&](const IntervalState& state) {
                    done.store(state.interval, std::memory_order_relaxed);
                    if (state.interval % *k != 0 && !state.last) return;
                    rows.push_back(state.interval);
                    t.push_back(state.t);
                    const auto widths = s.errors ? state.batches->halfWidths() : std::nullopt;
                    for (std::size_t i = 0; i < 3; ++i) {
                        l[i].push_back(state.expo[i]);
                        e[i].push_back(widths ? (*widths)[i] : std::nan(""));
                    }
                },
                &stop);
        },
        py::none(), done, intervals);
    HistoryResult h;
    h.interval = arrayOf(rows);
    h.t = arrayOf(t);
    h.lambda1 = arrayOf(l[0]);
    h.lambda2 = arrayOf(l[1]);
    h.lambda3 = arrayOf(l[2]);
    h.lambda1Err = s.errors ? py::object(arrayOf(e[0])) : py::none();
    h.lambda2Err = s.errors ? py::object(arrayOf(e[1])) : py::none();
    h.lambda3Err = s.errors ? py::object(arrayOf(e[2])) : py::none();
    h.ok = end.completed;
    return h;
}

// What sweep() hands back: arrays with the shape of the sequences given.
struct SweepResult {
    py::object sigma, R, b, t, lambda1, lambda2, lambda3, kaplanYorke, ok, intervals, lambda1Err, lambda2Err,
        lambda3Err;
    py::tuple shape;
};

SweepResult sweep(py::object n, py::object sigma, py::object R, py::object b, py::object threads,
                  py::object progress, py::object transient, py::object initial, py::object step,
                  py::object stepsPerInterval, py::object errors, py::object batch, py::object targetError) {
    const std::int64_t intervals = intervalsOf(n);
    const AxisValues axes[] = {axisOf(sigma, kMessageSigma), axisOf(R, kMessageR), axisOf(b, kMessageB)};
    const RunSettings s = settingsOf(intervals, transient, initial, step, stepsPerInterval, errors, batch, targetError);
    const int threadCount = threadsOf(threads);
    if (!progress.is_none() && !PyCallable_Check(progress.ptr()))
        refuse("progress must be a callable that takes (done, total), not " + shown(progress));

    SweepGrid grid;
    grid.base = {axes[0].values.empty() ? 0 : axes[0].values[0], axes[1].values.empty() ? 0 : axes[1].values[0],
                 axes[2].values.empty() ? 0 : axes[2].values[0]};
    std::vector<py::ssize_t> shape;
    const SweepParameter names[] = {SweepParameter::Sigma, SweepParameter::R, SweepParameter::B};
    for (std::size_t a = 0; a < 3; ++a) {
        if (axes[a].scalar) continue;
        SweepAxis axis;
        axis.parameter = names[a];
        axis.values = axes[a].values;
        axis.count = static_cast<std::int64_t>(axis.values.size());
        grid.axes[static_cast<std::size_t>(grid.axisCount++)] = std::move(axis);
        shape.push_back(static_cast<py::ssize_t>(axes[a].values.size()));
    }
    const std::int64_t total = grid.size();
    if (total > SweepGrid::kMaxPoints)
        refuse("the grid has " + std::to_string(total) + " points; a sweep has at most 100000000");

    const auto count = static_cast<std::size_t>(total);
    std::vector<FlowParameters> points(count);
    std::vector<PointResult> results(count);
    std::atomic<std::int64_t> done{0};
    runReleased(
        [&](const std::atomic<bool>& stop) {
            SweepSettings settings;
            settings.threads = threadCount;
            settings.path = widestPath();
            settings.run = s;
            settings.stop = &stop;
            runSweep(grid, {0, total}, settings, [&](std::span<const SweepPoint> finished) {
                for (const SweepPoint& p : finished) {
                    points[static_cast<std::size_t>(p.index)] = p.parameters;
                    results[static_cast<std::size_t>(p.index)] = p.result;
                }
                done += static_cast<std::int64_t>(finished.size());
                return true;
            });
        },
        progress, done, total);

    const auto make = [&](auto value) {
        using T = decltype(value(PointResult{}, FlowParameters{}));
        py::array_t<T> a(shape);
        T* out = a.mutable_data();
        for (std::size_t i = 0; i < count; ++i) out[i] = value(results[i], points[i]);
        return py::object(a);
    };
    const double nan = std::nan("");
    SweepResult r;
    py::tuple dimensions(shape.size());
    for (std::size_t i = 0; i < shape.size(); ++i) dimensions[i] = py::int_(shape[i]);
    r.shape = dimensions;
    r.sigma = make([](const PointResult&, const FlowParameters& p) { return p.sv; });
    r.R = make([](const PointResult&, const FlowParameters& p) { return p.rv; });
    r.b = make([](const PointResult&, const FlowParameters& p) { return p.bv; });
    r.t = make([](const PointResult& x, const FlowParameters&) { return x.t; });
    r.ok = make([](const PointResult& x, const FlowParameters&) { return x.completed; });
    r.lambda1 = make([nan](const PointResult& x, const FlowParameters&) { return x.completed ? x.expo[0] : nan; });
    r.lambda2 = make([nan](const PointResult& x, const FlowParameters&) { return x.completed ? x.expo[1] : nan; });
    r.lambda3 = make([nan](const PointResult& x, const FlowParameters&) { return x.completed ? x.expo[2] : nan; });
    r.kaplanYorke =
        make([nan](const PointResult& x, const FlowParameters&) { return x.completed ? kaplanYorke(x.expo) : nan; });
    if (s.errors) {
        r.intervals = make([](const PointResult& x, const FlowParameters&) { return x.intervals; });
        const auto width = [nan](std::size_t k) {
            return [nan, k](const PointResult& x, const FlowParameters&) {
                return x.completed && x.errorsKnown ? x.halfWidth[k] : nan;
            };
        };
        r.lambda1Err = make(width(0));
        r.lambda2Err = make(width(1));
        r.lambda3Err = make(width(2));
    } else {
        r.intervals = r.lambda1Err = r.lambda2Err = r.lambda3Err = py::none();
    }
    return r;
}

constexpr const char* kModuleDoc = R"(The Lyapunov spectrum of the Lorenz system

    dx/dt = sigma (y - x),  dy/dt = R x - y - x z,  dz/dt = x y - b z

by fourth-order Runge-Kutta integration of the flow and three tangent
vectors, with Gram-Schmidt reorthonormalisation after every interval of
steps (by default 20 steps of h = 0.01 from x = y = z = 1).

spectrum() runs one point, history() follows its estimates as the run goes,
sweep() runs the outer product of values of sigma, R and b on every core
and SIMD lane. Every value is bit for bit what veltrano-cli gives for the
same computation. Bad input raises ValueError with the command line's
message; Ctrl-C stops a long computation within a second.

Research options (keywords of all three, with the command line's defaults):
  transient=0           intervals run first and not measured
  initial=(1, 1, 1)     the starting point
  step=0.01             the Runge-Kutta step h
  steps_per_interval=20 steps between two Gram-Schmidt passes
  errors=False          95 % half-widths of the exponents by batch means
  batch=500             intervals per batch
  target_error=None     stop a point once its three half-widths are at most
                        this (implies errors; n is then the most intervals)
)";

constexpr const char* kSpectrumDoc = R"(spectrum(n, sigma, R, b, *, transient=0, initial=(1, 1, 1), step=0.01,
         steps_per_interval=20, errors=False, batch=500, target_error=None)

One run of n measured intervals (1 <= n <= 10**9) for the parameters sigma,
R and b. Returns a Spectrum with

  t             the time integrated (after an arithmetic fault: the time
                reached, 0 in the transient)
  lambdas       the three exponents (NaN after a fault)
  kaplan_yorke  the Kaplan-Yorke dimension of the three
  ok            False when an arithmetic fault stopped the run
  intervals     measured intervals done (with errors; None otherwise)
  errors        the three 95 % half-widths (with errors; NaN with fewer than
                ten batches; None without errors)

>>> veltrano.spectrum(100, 10, 28, 2.6667).lambdas[0]
0.380427939225588...
)";

constexpr const char* kHistoryDoc = R"(history(n, sigma, R, b, every=1, *, transient=0, initial=(1, 1, 1),
        step=0.01, steps_per_interval=20, errors=False, batch=500,
        target_error=None)

The estimates as one run goes: a row after every `every`-th measured
interval and after the last. Returns a History whose attributes are NumPy
arrays of one entry per row: interval, t, lambda1, lambda2, lambda3 and,
with errors, lambda1_err, lambda2_err, lambda3_err (NaN before the tenth
batch; None without errors); ok is False when an arithmetic fault stopped
the run after the rows it has. The row of interval k is bit for bit a run
of n = k.
)";

constexpr const char* kSweepDoc = R"(sweep(n, sigma, R, b, threads=None, progress=None, *, transient=0,
      initial=(1, 1, 1), step=0.01, steps_per_interval=20, errors=False,
      batch=500, target_error=None)

The spectrum over every combination of the values given. Each of sigma, R
and b is a number or a 1-D sequence of numbers (any values, in any order);
the points are their outer product in the order sigma, R, b (the first
sequence varies slowest), and every result array has the shape of the
sequences given: sweep(n, [10, 16], np.linspace(0, 250, 100), 2.6667) has
the shape (2, 100).

threads   how many threads compute (default: every hardware thread)
progress  a callable that receives (done, total) now and then

Returns a Sweep with arrays sigma, R, b (the point's values), t, lambda1,
lambda2, lambda3, kaplan_yorke (NaN where a fault stopped the point), ok,
and with errors intervals, lambda1_err, lambda2_err, lambda3_err (None
without errors), and shape. The element for (sigma, R, b) is bit for bit the
row that 'veltrano-cli sweep' gives for those values.
)";

}  // namespace

PYBIND11_MODULE(veltrano, m) {
    m.doc() = kModuleDoc;
    m.attr("__version__") = "1.0";

    py::class_<SpectrumResult>(m, "Spectrum", "The result of spectrum(): see help(veltrano.spectrum).")
        .def_readonly("t", &SpectrumResult::t)
        .def_property_readonly("lambdas", [](const SpectrumResult& r) { return tupleOf(r.lambdas); })
        .def_readonly("kaplan_yorke", &SpectrumResult::kaplanYorke)
        .def_readonly("ok", &SpectrumResult::ok)
        .def_property_readonly("intervals",
                               [](const SpectrumResult& r) { return r.errors ? py::object(py::int_(r.intervals)) : py::none(); })
        .def_property_readonly("errors",
                               [](const SpectrumResult& r) { return r.errors ? py::object(tupleOf(r.halfWidths)) : py::none(); })
        .def("__repr__", [](const SpectrumResult& r) {
            std::string text = "Spectrum(t=" + shortest(r.t) + ", lambdas=(" + shortest(r.lambdas[0]) + ", " +
                               shortest(r.lambdas[1]) + ", " + shortest(r.lambdas[2]) +
                               "), kaplan_yorke=" + shortest(r.kaplanYorke) + ", ok=" + (r.ok ? "True" : "False");
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
        .def_readonly("sigma", &SweepResult::sigma)
        .def_readonly("R", &SweepResult::R)
        .def_readonly("b", &SweepResult::b)
        .def_readonly("t", &SweepResult::t)
        .def_readonly("lambda1", &SweepResult::lambda1)
        .def_readonly("lambda2", &SweepResult::lambda2)
        .def_readonly("lambda3", &SweepResult::lambda3)
        .def_readonly("kaplan_yorke", &SweepResult::kaplanYorke)
        .def_readonly("ok", &SweepResult::ok)
        .def_readonly("intervals", &SweepResult::intervals)
        .def_readonly("lambda1_err", &SweepResult::lambda1Err)
        .def_readonly("lambda2_err", &SweepResult::lambda2Err)
        .def_readonly("lambda3_err", &SweepResult::lambda3Err)
        .def_readonly("shape", &SweepResult::shape)
        .def("__repr__", [](const SweepResult& r) { return "Sweep(shape=" + shown(r.shape) + ")"; });

    using namespace py::literals;
    m.def("spectrum", &spectrum, kSpectrumDoc, "n"_a, "sigma"_a, "R"_a, "b"_a, py::kw_only(), "transient"_a = 0,
          "initial"_a = py::make_tuple(1, 1, 1), "step"_a = 0.01, "steps_per_interval"_a = 20, "errors"_a = false,
          "batch"_a = 500, "target_error"_a = py::none());
    m.def("history", &history, kHistoryDoc, "n"_a, "sigma"_a, "R"_a, "b"_a, "every"_a = 1, py::kw_only(),
          "transient"_a = 0, "initial"_a = py::make_tuple(1, 1, 1), "step"_a = 0.01, "steps_per_interval"_a = 20,
          "errors"_a = false, "batch"_a = 500, "target_error"_a = py::none());
    m.def("sweep", &sweep, kSweepDoc, "n"_a, "sigma"_a, "R"_a, "b"_a, "threads"_a = py::none(),
          "progress"_a = py::none(), py::kw_only(), "transient"_a = 0, "initial"_a = py::make_tuple(1, 1, 1),
          "step"_a = 0.01, "steps_per_interval"_a = 20, "errors"_a = false, "batch"_a = 500,
          "target_error"_a = py::none());
}
