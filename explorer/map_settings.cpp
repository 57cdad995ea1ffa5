#include "map_settings.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "flow_point.h"
#include "system_entries.h"
#include "typed_flow.h"

namespace veltrano::explorer {

RunSettings MapSettings::defaultRun() {
    // Ten batches of 100 intervals: error bars, and with them the classes
    // of the points, from the first map.
    RunSettings run;
    run.intervals = 1000;
    run.errors = true;
    run.batch = 100;
    return run;
}

SweepParameter MapSettings::fixedParameter() const {
    for (SweepParameter p : {SweepParameter::Sigma, SweepParameter::R, SweepParameter::B})
        if (p != x.parameter && p != y.parameter) return p;
    return SweepParameter::B;
}

bool operator==(const MapSettings& a, const MapSettings& b) {
    const RunSettings &r = a.run, &q = b.run;
    return a.x == b.x && a.y == b.y && a.base.sv == b.base.sv && a.base.rv == b.base.rv && a.base.bv == b.base.bv &&
           r.intervals == q.intervals && r.transient == q.transient && r.initial == q.initial && r.step == q.step &&
           r.stepsPerInterval == q.stepsPerInterval && r.errors == q.errors && r.batch == q.batch &&
           r.targetError == q.targetError && a.system == b.system;
}

std::optional<MapSettings> systemDefaults(const SystemDescription& flow, int columns, int rows,
                                          const RunSettings& run) {
    if (flow.parameters.empty()) return std::nullopt;
    MapSettings s;
    s.run = run;
    SystemMap m;
    m.name = flow.name;
    m.dimension = flow.dimension;
    for (const ParameterDescription& p : flow.parameters) m.values.push_back(p.value);
    m.across = 0;
    m.up = flow.parameters.size() > 1 ? 1 : SystemMap::kNoAxis;
    m.initial = flow.start;
    m.exponents = flow.dimension;
    const ParameterDescription& across = flow.parameters[0];
    s.x = {SweepParameter::Sigma, across.lowest, across.highest, columns};
    if (m.up != SystemMap::kNoAxis) {
        const ParameterDescription& up = flow.parameters[1];
        s.y = {SweepParameter::R, up.lowest, up.highest, rows};
    } else {
        s.y = {SweepParameter::R, 0.0, 0.0, 1};
    }
    s.system = std::move(m);
    return s;
}

SystemDescription descriptionOf(const SystemMap& m) {
    if (!m.equations.empty()) return typedFlowDescription(m.equations);
    if (auto flow = findSystem(m.name, m.dimension)) return *flow;
    return {};
}

std::vector<double> systemPoint(const MapSettings& s, std::int64_t index) {
    const SystemMap& m = *s.system;
    std::vector<double> p = m.values;
    const std::int64_t rows = s.y.count;
    const auto value = [](const MapAxis& a, std::int64_t i) {
        return SweepAxis{SweepParameter::Sigma, a.from, a.to, a.count, {}}.valueAt(i);
    };
    if (m.across < p.size()) p[m.across] = value(s.x, index / rows);
    if (m.up < p.size()) p[m.up] = value(s.y, index % rows);
    return p;
}

SystemSettings systemRun(const MapSettings& s) {
    SystemSettings run;
    run.intervals = s.run.intervals;
    run.transient = s.run.transient;
    run.initial = s.system->initial;
    run.exponents = s.system->exponents;
    run.step = s.run.step;
    run.stepsPerInterval = s.run.stepsPerInterval;
    run.errors = s.run.errors;
    run.batch = s.run.batch;
    run.targetError = s.run.targetError;
    return run;
}

std::string systemKey(const SystemMap& m) {
    return systemField(descriptionOf(m));
}

SweepGrid gridOf(const MapSettings& s) {
    SweepGrid grid;
    grid.base = s.base;
    grid.axes[0] = SweepAxis{s.x.parameter, s.x.from, s.x.to, s.x.count, {}};
    grid.axes[1] = SweepAxis{s.y.parameter, s.y.from, s.y.to, s.y.count, {}};
    grid.axisCount = 2;
    return grid;
}

double valueOf(const FlowParameters& p, SweepParameter which) {
    switch (which) {
        case SweepParameter::Sigma:
            return p.sv;
        case SweepParameter::R:
            return p.rv;
        case SweepParameter::B:
            return p.bv;
    }
    return p.bv;
}

void setValue(FlowParameters& p, SweepParameter which, double v) {
    switch (which) {
        case SweepParameter::Sigma:
            p.sv = v;
            return;
        case SweepParameter::R:
            p.rv = v;
            return;
        case SweepParameter::B:
            p.bv = v;
            return;
    }
}

std::string exactText(double v) {
    char buf[400];  // the longest plain text of a double has 309 digits before the point
    const auto end = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed).ptr;
    std::string text(buf, end);
    if (text == "-0") text = "0";
    return text;
}

namespace {

std::string wholeText(std::int64_t v) {
    return std::to_string(v);
}

std::string varyText(const MapAxis& a) {
    return std::string(parameterName(a.parameter)) + '=' + exactText(a.from) + ':' + exactText(a.to) + ':' +
           wholeText(a.count);
}

// The options that differ from their defaults, in the command line's order.
template <class Option>
void researchOptions(const RunSettings& run, Option&& option) {
    const RunSettings defaults;
    if (run.transient != defaults.transient) option("transient", wholeText(run.transient));
    if (run.initial != defaults.initial)
        option("initial", exactText(run.initial[0]) + ',' + exactText(run.initial[1]) + ',' + exactText(run.initial[2]));
    if (run.step != defaults.step) option("step", exactText(run.step));
    if (run.stepsPerInterval != defaults.stepsPerInterval)
        option("steps-per-interval", wholeText(run.stepsPerInterval));
    if (run.targetError > 0) {
        option("target-error", exactText(run.targetError));
    } else if (run.errors) {
        option("errors", std::string());
    }
    if (run.errors && run.batch != defaults.batch) option("batch", wholeText(run.batch));
}

// Python's repr of a float: the shortest text that reads back the same.
std::string pythonFloat(double v) {
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, v).ptr;
    std::string text(buf, end);
    if (text.find_first_of(".en") == std::string::npos) text += ".0";
    return text;
}

// The values of an axis in Python: exactly those of the command line's
// --vary NAME=FROM:TO:COUNT, as the module spaces them.
std::string pythonValues(const MapAxis& a) {
    return "veltrano.spaced(" + pythonFloat(a.from) + ", " + pythonFloat(a.to) + ", " + wholeText(a.count) + ")";
}

}  // namespace

namespace {

// The file a copied system command writes (the command line writes a
// system's sweep to a file, never to the terminal).
constexpr const char* kSystemOutput = "map.csv";

std::string systemVary(const SystemDescription& flow, std::size_t index, const MapAxis& a) {
    return flow.parameters[index].name + '=' + exactText(a.from) + ':' + exactText(a.to) + ':' + wholeText(a.count);
}

// The marker that ends the here-document of a typed flow's text: a line
// that is the bare name EOF is no statement, so no text that parses holds
// it.
constexpr const char* kTextEnd = "EOF";

std::string systemCommandLine(const MapSettings& s) {
    const SystemMap& m = *s.system;
    const SystemDescription flow = descriptionOf(m);
    std::string line =
        m.equations.empty() ? "veltrano-cli sweep --system " + m.name : std::string("veltrano-cli sweep --equations -");
    if (flow.dimensionChoice) line += " --dimension " + wholeText(static_cast<std::int64_t>(m.dimension));
    if (m.exponents != flow.dimension) line += " --exponents " + wholeText(static_cast<std::int64_t>(m.exponents));
    line += " --vary " + systemVary(flow, m.across, s.x);
    if (m.up != SystemMap::kNoAxis) line += " --vary " + systemVary(flow, m.up, s.y);
    RunSettings run = s.run;
    run.initial = RunSettings{}.initial;  // the system's start is said below
    if (m.initial != flow.start) {
        std::string values;
        for (double v : m.initial) {
            if (!values.empty()) values += ',';
            values += exactText(v);
        }
        line += " --initial " + values;
    }
    researchOptions(run, [&](const char* name, const std::string& value) {
        line += std::string(" --") + name;
        if (!value.empty()) line += ' ' + value;
    });
    line += std::string(" --output ") + kSystemOutput + ' ' + wholeText(s.run.intervals);
    for (std::size_t i = 0; i < m.values.size(); ++i)
        if (i != m.across && i != m.up) line += ' ' + flow.parameters[i].name + '=' + exactText(m.values[i]);
    if (m.equations.empty()) return line;
    std::string body = m.equations;
    if (body.back() != '\n') body += '\n';
    return line + " <<'" + kTextEnd + "'\n" + body + kTextEnd + '\n';
}

// The keywords of the research options that differ from their defaults.
std::string pythonOptions(const RunSettings& run) {
    const RunSettings defaults;
    std::string call;
    if (run.transient != defaults.transient) call += ", transient=" + wholeText(run.transient);
    if (run.initial != defaults.initial)
        call += ", initial=(" + pythonFloat(run.initial[0]) + ", " + pythonFloat(run.initial[1]) + ", " +
                pythonFloat(run.initial[2]) + ")";
    if (run.step != defaults.step) call += ", step=" + pythonFloat(run.step);
    if (run.stepsPerInterval != defaults.stepsPerInterval)
        call += ", steps_per_interval=" + wholeText(run.stepsPerInterval);
    if (run.targetError > 0)
        call += ", target_error=" + pythonFloat(run.targetError);
    else if (run.errors)
        call += ", errors=True";
    if (run.errors && run.batch != defaults.batch) call += ", batch=" + wholeText(run.batch);
    return call;
}

// A Python string literal of `text`: between double quotes, with the
// backslash, the quote and the control characters escaped (the rest, UTF-8,
// as it is).
std::string pythonString(const std::string& text) {
    std::string literal = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"') {
            literal += '\\';
            literal += c;
        } else if (c == '\n') {
            literal += "\\n";
        } else if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", static_cast<unsigned char>(c));
            literal += escaped;
        } else {
            literal += c;
        }
    }
    return literal + '"';
}

std::string systemPythonCall(const MapSettings& s) {
    const SystemMap& m = *s.system;
    const SystemDescription flow = descriptionOf(m);
    std::string call = "import veltrano\n\nmap = ";
    if (!m.equations.empty())
        call += "veltrano.equations(" + pythonString(m.equations);
    else
        call += "veltrano.system(\"" + m.name + "\"";
    if (flow.dimensionChoice) call += ", dimension=" + wholeText(static_cast<std::int64_t>(m.dimension));
    call += ").sweep(" + wholeText(s.run.intervals);
    call += ", " + flow.parameters[m.across].name + '=' + pythonValues(s.x);
    if (m.up != SystemMap::kNoAxis) call += ", " + flow.parameters[m.up].name + '=' + pythonValues(s.y);
    for (std::size_t i = 0; i < m.values.size(); ++i)
        if (i != m.across && i != m.up) call += ", " + flow.parameters[i].name + '=' + pythonFloat(m.values[i]);
    if (m.exponents != flow.dimension) call += ", exponents=" + wholeText(static_cast<std::int64_t>(m.exponents));
    if (m.initial != flow.start) {
        call += ", initial=(";
        for (std::size_t i = 0; i < m.initial.size(); ++i) {
            if (i > 0) call += ", ";
            call += pythonFloat(m.initial[i]);
        }
        call += m.initial.size() == 1 ? ",)" : ")";
    }
    RunSettings run = s.run;
    run.initial = RunSettings{}.initial;
    call += pythonOptions(run);
    return call + ")\n";
}

}  // namespace

std::string commandLine(const MapSettings& s) {
    if (s.system) return systemCommandLine(s);
    std::string line = "veltrano-cli sweep " + wholeText(s.run.intervals) + ' ' + exactText(s.base.sv) + ' ' +
                       exactText(s.base.rv) + ' ' + exactText(s.base.bv) + " --vary " + varyText(s.x) + " --vary " +
                       varyText(s.y);
    researchOptions(s.run, [&](const char* name, const std::string& value) {
        line += std::string(" --") + name;
        if (!value.empty()) line += ' ' + value;
    });
    return line;
}

std::string pythonCall(const MapSettings& s) {
    if (s.system) return systemPythonCall(s);
    std::string args[3];
    for (SweepParameter p : {SweepParameter::Sigma, SweepParameter::R, SweepParameter::B}) {
        const auto k = static_cast<std::size_t>(p);
        args[k] = p == s.x.parameter   ? pythonValues(s.x)
                  : p == s.y.parameter ? pythonValues(s.y)
                                       : pythonFloat(valueOf(s.base, p));
    }
    std::string call = "import veltrano\n\nmap = veltrano.sweep(" + wholeText(s.run.intervals) +
                       ", " + args[0] + ", " + args[1] + ", " + args[2];
    // The points in the window's order, the axis across varying slowest, so
    // that output= writes the rows of Export CSV.
    if (static_cast<int>(s.x.parameter) > static_cast<int>(s.y.parameter))
        call += ", vary=(\"" + std::string(parameterName(s.x.parameter)) + "\", \"" +
                std::string(parameterName(s.y.parameter)) + "\")";
    return call + pythonOptions(s.run) + ")\n";
}

}  // namespace veltrano::explorer
