#include "system_arguments.h"

#include <algorithm>
#include <string>
#include <variant>

#include "arguments.h"
#include "compiled_system.h"
#include "research_rules.h"
#include "system_entries.h"
#include "system_run_settings.h"

namespace veltrano::python {

namespace {

// A whole number as its digits, anything else as Python shows it: the
// text the shared rules read (and quote) as the command line's.
std::string wholeText(py::handle v) {
    // The digits of the whole number itself: wholeNumber saturates one
    // beyond 64 bits, whose message would then quote another number.
    if (!wholeNumber(v)) return shown(v);
    return py::str(py::reinterpret_steal<py::object>(PyNumber_Index(v.ptr())));
}

}  // namespace

ChosenSystem systemOf(py::handle name, py::handle dimension) {
    if (!py::isinstance<py::str>(name)) refuse("the name of a system must be a str, not " + shown(name));
    const std::string dimensionText = dimension.is_none() ? std::string() : wholeText(dimension);
    // A name with a character that cannot be shown or encoded (a NUL, a lone
    // surrogate) is quoted as Python writes it: it names no flow either.
    const std::string written = name.attr("isprintable")().cast<bool>() ? std::string() : shown(name);
    auto chosen =
        chooseSystem(written.empty() ? name.cast<std::string>() : written.substr(1, written.size() - 2), dimensionText);
    if (const auto* why = std::get_if<std::string>(&chosen)) refuse(*why);
    ChosenSystem system;
    static_cast<SystemDescription&>(system) = std::get<SystemDescription>(std::move(chosen));
    return system;
}

ChosenSystem equationsOf(py::handle text) {
    if (!py::isinstance<py::str>(text)) refuse("the equations must be a str, not " + shown(text));
    std::string bytes;
    try {
        bytes = text.cast<std::string>();
    } catch (const std::exception&) {  // a lone surrogate
        refuse("the equations must be text that can be encoded as UTF-8, not " + shown(text));
    }
    auto typed = std::make_shared<equations::Equations>();
    try {
        *typed = equations::parseEquations(bytes);
    } catch (const equations::EquationError& error) {
        refuse(error.what());
    }
    // Compiled here, once for the process: a missing compiler raises
    // RuntimeError now, before any output file of a sweep is opened.
    equations::visitCompiled(*typed, SimdPath::Lanes128, [](const auto&) {});
    ChosenSystem system;
    system.name = "equations";
    system.title = "Typed equations";
    system.summary = "a flow typed as text";
    system.dimension = typed->dimension();
    system.variables = typed->variables;
    for (std::size_t i = 0; i < typed->parameters.size(); ++i)
        system.parameters.push_back({typed->parameters[i], typed->defaults[i], typed->defaults[i], typed->defaults[i]});
    system.start = typed->initial;
    system.typed = std::move(typed);
    return system;
}

std::string fileNameOf(const ChosenSystem& system) {
    return system.typed ? "equations:" + system.typed->digest : systemField(system);
}

SystemDescription sweptFlowOf(const ChosenSystem& system) {
    SystemDescription flow = system;
    if (system.typed) {
        flow.name = fileNameOf(system);
        flow.text = system.typed->text;
    }
    return flow;
}

SystemSettings systemSettingsOf(const SystemDescription& system, py::handle n, const SystemKeywords& k) {
    const std::int64_t intervals = intervalsOf(n);
    const auto count = exponentCount(system, k.exponents.is_none() ? std::string() : wholeText(k.exponents));
    if (const auto* why = std::get_if<std::string>(&count)) refuse(*why);
    const RunSettings run = settingsOf(
        intervals, {k.transient, py::handle(), k.step, k.stepsPerInterval, k.errors, k.batch, k.targetError});
    if (k.initial.is_none()) return systemRunSettings(system, run, std::get<std::size_t>(count));
    const std::size_t d = system.dimension;
    const std::string rule = "initial must be " + initialRule(system) + ", not " + shown(k.initial);
    if (py::isinstance<py::str>(k.initial) || py::isinstance<py::bytes>(k.initial) ||
        PyByteArray_Check(k.initial.ptr()) || PyMemoryView_Check(k.initial.ptr()) ||
        !py::isinstance<py::sequence>(k.initial))
        refuse(rule);
    const auto point = py::reinterpret_borrow<py::sequence>(k.initial);
    if (py::len(point) != d) refuse(rule);
    std::vector<double> start(d);
    for (std::size_t i = 0; i < d; ++i) start[i] = finiteNumber(point[i], rule);
    return systemRunSettings(system, run, std::get<std::size_t>(count), std::move(start));
}

namespace {

// Calls take(i, value, message) for every parameter named in `given`, i its
// place in the flow's order, once the names passed the command line's
// rules (a value of 0 stands for each there; Python's are read by `take`).
template <class Take>
void forGiven(const SystemDescription& system, const py::dict& given, Take&& take) {
    std::vector<std::string> entries{"1"};
    for (const auto& [name, value] : given) {
        // The rules would read a name holding '=' as NAME=VALUE of another name.
        const std::string text = py::str(name).cast<std::string>();
        const std::string notOne = "'" + text + "' is not a parameter of " + system.name + ": " + parametersOf(system);
        if (text.find('=') != std::string::npos) refuse(notOne);
        if (text == "dimension")
            refuse(
                notOne + "; " +
                (system.dimensionChoice
                     ? "the dimension is chosen with the flow, as veltrano.system(\"" + system.name + "\", dimension)"
                     : system.name + " has the fixed dimension " + std::to_string(system.dimension)));
        entries.push_back(text + "=0");
    }
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
    forGiven(system, given, [](std::size_t, py::handle, const std::string&) {});  // the names first
    std::vector<py::handle> values;
    for (const auto& [name, value] : given) values.push_back(value);
    refuseLongSequences(values);
    forGiven(system, given, [&](std::size_t i, py::handle value, const std::string& message) {
        axes[i] = axisOf(value, message);
    });
    std::vector<std::int64_t> lengths;
    for (const AxisValues& a : axes)
        if (!a.scalar) lengths.push_back(static_cast<std::int64_t>(a.values.size()));
    if (const auto why = refusedGridSize(lengths)) refuse(*why);
    return axes;
}

SystemShapedGrid systemGridOf(const SystemDescription& system, const std::vector<AxisValues>& axes, py::handle vary) {
    std::vector<std::size_t> order;  // places among the flow's parameters
    std::string sequences;
    for (std::size_t p = 0; p < axes.size(); ++p)
        if (!axes[p].scalar) {
            order.push_back(p);
            sequences += (sequences.empty() ? "" : ", ") + system.parameters[p].name;
        }
    if (order.size() > 3)
        refuse("at most three parameters vary in a sweep (as --vary at most three times), not the " +
               std::to_string(order.size()) + " sequences " + sequences);
    if (!vary.is_none()) {
        const std::string rule = "vary must name the parameters given as sequences (" +
                                 (sequences.empty() ? std::string("none") : sequences) +
                                 "), each once, the first varying slowest, not " + shown(vary);
        if (py::isinstance<py::str>(vary) || py::isinstance<py::bytes>(vary) || !py::isinstance<py::sequence>(vary))
            refuse(rule);
        std::vector<std::size_t> named;
        for (const py::handle name : py::reinterpret_borrow<py::sequence>(vary)) {
            if (!py::isinstance<py::str>(name)) refuse(rule);
            const std::string text = name.cast<std::string>();
            const auto p = std::find_if(order.begin(), order.end(),
                                        [&](std::size_t q) { return system.parameters[q].name == text; });
            if (p == order.end() || std::find(named.begin(), named.end(), *p) != named.end()) refuse(rule);
            named.push_back(*p);
        }
        if (named.size() != order.size()) refuse(rule);
        order = std::move(named);
    }
    SystemShapedGrid shaped;
    SystemGrid& grid = shaped.grid;
    for (const AxisValues& a : axes) grid.base.push_back(a.values.empty() ? 0.0 : a.values[0]);
    for (const std::size_t p : order) {
        const auto count = static_cast<std::int64_t>(axes[p].values.size());
        grid.axes[static_cast<std::size_t>(grid.axisCount++)] = {p, 0.0, 0.0, count, axes[p].values};
        shaped.shape.push_back(static_cast<py::ssize_t>(count));
    }
    return shaped;
}

}  // namespace veltrano::python
