#include "system_arguments.h"

#include <string>
#include <variant>

#include "arguments.h"
#include "research_rules.h"
#include "system_entries.h"

namespace veltrano::python {

namespace {

// A whole number as its digits, anything else as Python shows it: the
// text the shared rules read (and quote) as the command line's.
std::string wholeText(py::handle v) {
    const auto value = wholeNumber(v);
    return value ? std::to_string(*value) : shown(v);
}

}  // namespace

SystemDescription systemOf(py::handle name, py::handle dimension) {
    if (!py::isinstance<py::str>(name)) refuse("the name of a system must be a str, not " + shown(name));
    const std::string dimensionText = dimension.is_none() ? std::string() : wholeText(dimension);
    auto chosen = chooseSystem(name.cast<std::string>(), dimensionText);
    if (const auto* why = std::get_if<std::string>(&chosen)) refuse(*why);
    return std::get<SystemDescription>(std::move(chosen));
}

SystemSettings systemSettingsOf(const SystemDescription& system, py::handle n, const SystemKeywords& k) {
    const std::int64_t intervals = intervalsOf(n);
    SystemSettings s;
    {
        const auto count = exponentCount(system, k.exponents.is_none() ? std::string() : wholeText(k.exponents));
        if (const auto* why = std::get_if<std::string>(&count)) refuse(*why);
        s.exponents = std::get<std::size_t>(count);
    }
    const RunSettings run =
        settingsOf(intervals, {k.transient, py::handle(), k.step, k.stepsPerInterval, k.errors, k.batch, k.targetError});
    s.intervals = run.intervals;
    s.transient = run.transient;
    s.step = run.step;
    s.stepsPerInterval = run.stepsPerInterval;
    s.errors = run.errors;
    s.batch = run.batch;
    s.targetError = run.targetError;

    s.initial = system.start;
    if (k.initial.is_none()) return s;
    const std::size_t d = system.dimension;
    const std::string rule = "initial must be " + initialRule(system) + ", not " + shown(k.initial);
    if (py::isinstance<py::str>(k.initial) || py::isinstance<py::bytes>(k.initial) ||
        PyByteArray_Check(k.initial.ptr()) || PyMemoryView_Check(k.initial.ptr()) ||
        !py::isinstance<py::sequence>(k.initial))
        refuse(rule);
    const auto point = py::reinterpret_borrow<py::sequence>(k.initial);
    if (py::len(point) != d) refuse(rule);
    for (std::size_t i = 0; i < d; ++i) s.initial[i] = finiteNumber(point[i], rule);
    return s;
}

namespace {

// Calls take(i, value, message) for every parameter named in `given`, i its
// place in the flow's order, once the names passed the command line's
// rules (a value of 0 stands for each there; Python's are read by `take`).
template <class Take>
void forGiven(const SystemDescription& system, const py::dict& given, Take&& take) {
    std::vector<std::string> entries{"1"};
    for (const auto& [name, value] : given) entries.push_back(py::str(name).cast<std::string>() + "=0");
    const auto checked = checkSystemEntries(system, entries);
    if (const auto* why = std::get_if<std::string>(&checked)) refuse(*why);
    for (const auto& [name, value] : given) {
        const std::string text = py::str(name).cast<std::string>();
        for (std::size_t i = 0; i < system.parameters.size(); ++i)
            if (system.parameters[i].name == text) take(i, value, text + " must be a finite number, not " + shown(value));
    }
}

}  // namespace

std::vector<double> systemParametersOf(const SystemDescription& system, const py::dict& given) {
    std::vector<double> values;
    for (const ParameterDescription& p : system.parameters) values.push_back(p.value);
    forGiven(system, given, [&](std::size_t i, py::handle value, const std::string& message) {
        values[i] = finiteNumber(value, message);
    });
    return values;
}

std::vector<AxisValues> systemAxesOf(const SystemDescription& system, const py::dict& given) {
    std::vector<AxisValues> axes;
    for (const ParameterDescription& p : system.parameters) axes.push_back({true, {p.value}});
    forGiven(system, given, [&](std::size_t i, py::handle value, const std::string& message) {
        axes[i] = axisOf(value, message);
    });
    std::vector<std::int64_t> lengths;
    for (const AxisValues& a : axes)
        if (!a.scalar) lengths.push_back(static_cast<std::int64_t>(a.values.size()));
    if (const auto why = refusedGridSize(lengths)) refuse(*why);
    return axes;
}

}  // namespace veltrano::python
