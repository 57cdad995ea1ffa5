#include "system_functions.h"

#include <atomic>
#include <cmath>
#include <span>
#include <string>
#include <type_traits>

#include "docstrings.h"
#include "keyword_defaults.h"
#include "released_run.h"
#include "simd_path.h"
#include "system_arguments.h"
#include "system_entries.h"
#include "system_exponents.h"
#include "system_history_run.h"
#include "system_results.h"
#include "visit_system.h"

namespace veltrano::python {

namespace {

py::tuple textsOf(const std::vector<std::string>& texts) {
    py::tuple t(texts.size());
    for (std::size_t i = 0; i < texts.size(); ++i) t[i] = texts[i];
    return t;
}

py::list systems() {
    py::list names;
    for (const SystemDescription& s : allSystems()) names.append(s.name);
    return names;
}

SystemDescription system(py::object name, py::object dimension) {
    return systemOf(name, dimension);
}

SystemSpectrumResult systemSpectrum(const SystemDescription& description, py::object n, py::object exponents,
                              py::object initial, py::object transient, py::object step, py::object stepsPerInterval,
                              py::object errors, py::object batch, py::object targetError, py::kwargs parameters) {
    const SystemSettings s = systemSettingsOf(
        description, n, {exponents, initial, transient, step, stepsPerInterval, errors, batch, targetError});
    const std::vector<double> values = systemParametersOf(description, parameters);
    SystemSpectrumResult result;
    std::atomic<std::int64_t> done{0};
    runReleased(
        [&](const std::atomic<bool>& stop) {
            visitSystem(description.name, description.dimension, [&](const auto& flow) {
                using Flow = std::decay_t<decltype(flow)>;
                ParametersOf<Flow> point{};
                for (std::size_t i = 0; i < point.size(); ++i) point[i] = values[i];
                result = systemSpectrumOf(runSystemPoint(flow, s, point, &stop), s);
            });
            done = 1;
        },
        py::none(), done, 1);
    return result;
}

SystemSweepResult systemSweep(const SystemDescription& description, py::object n, py::object exponents, py::object initial,
                        py::object transient, py::object step, py::object stepsPerInterval, py::object errors,
                        py::object batch, py::object targetError, py::kwargs parameters) {
    const SystemSettings s = systemSettingsOf(
        description, n, {exponents, initial, transient, step, stepsPerInterval, errors, batch, targetError});
    const std::vector<AxisValues> axes = systemAxesOf(description, parameters);
    SystemSweepResult result;
    result.exponents = s.exponents;
    result.errors = s.errors;
    std::size_t count = 1;
    for (const AxisValues& a : axes) {
        if (a.scalar) continue;
        result.shape.push_back(static_cast<py::ssize_t>(a.values.size()));
        count *= a.values.size();
    }
    std::atomic<std::int64_t> done{0};
    runReleased(
        [&](const std::atomic<bool>& stop) {
            visitSystem(description.name, description.dimension, [&](const auto& flow) {
                using Flow = std::decay_t<decltype(flow)>;
                // Point i of the grid: the last sequence varies fastest.
                std::vector<ParametersOf<Flow>> points(count);
                for (std::size_t i = 0; i < count; ++i) {
                    std::size_t rest = i;
                    for (std::size_t p = axes.size(); p-- > 0;) {
                        const std::size_t length = axes[p].values.size();
                        points[i][p] = axes[p].values[axes[p].scalar ? 0 : rest % length];
                        if (!axes[p].scalar) rest /= length;
                    }
                }
                std::vector<ResultOf<Flow>> results(count);
                runSystemPoints(widestPath(), flow, s, std::span<const ParametersOf<Flow>>(points),
                                std::span<ResultOf<Flow>>(results), nullptr, &stop);
                for (const auto& r : results) appendPoint(result, r, s);
            });
            done = static_cast<std::int64_t>(count);
        },
        py::none(), done, static_cast<std::int64_t>(count));
    return result;
}

SystemHistoryResult systemHistory(const SystemDescription& description, py::object n, py::object every,
                                  py::object exponents, py::object initial, py::object transient, py::object step,
                                  py::object stepsPerInterval, py::object errors, py::object batch,
                                  py::object targetError, py::kwargs parameters) {
    const SystemSettings s = systemSettingsOf(
        description, n, {exponents, initial, transient, step, stepsPerInterval, errors, batch, targetError});
    const std::int64_t k = everyOf(every);
    const std::vector<double> values = systemParametersOf(description, parameters);
    SystemHistoryResult result;
    result.system = systemField(description);
    result.exponents = s.exponents;
    result.errors = s.errors;
    std::atomic<std::int64_t> done{0};
    runReleased(
        [&](const std::atomic<bool>& stop) {
            const SystemHistoryEnd end = runSystemHistory(
                description, s, values, k,
                [&result](const SystemHistoryRow& row) {
                    result.interval.push_back(row.interval);
                    result.t.push_back(row.t);
                    result.estimates.insert(result.estimates.end(), row.expo.begin(), row.expo.end());
                    if (!result.errors) return;
                    if (row.halfWidth)
                        result.halfWidths.insert(result.halfWidths.end(), row.halfWidth->begin(), row.halfWidth->end());
                    else
                        result.halfWidths.insert(result.halfWidths.end(), row.expo.size(), std::nan(""));
                },
                &stop, &done);
            result.completed = end.completed;
        },
        py::none(), done, s.intervals);
    return result;
}

}  // namespace

void addSystemFunctions(py::module_& m) {
    using namespace py::literals;
    py::class_<SystemDescription>(m, "System", kSystemClassDoc)
        .def_readonly("name", &SystemDescription::name)
        .def_readonly("title", &SystemDescription::title)
        .def_readonly("summary", &SystemDescription::summary)
        .def_readonly("dimension", &SystemDescription::dimension)
        .def_readonly("source", &SystemDescription::source)
        .def_property_readonly("variables", [](const SystemDescription& s) { return textsOf(s.variables); })
        .def_property_readonly("parameters",
                               [](const SystemDescription& s) {
                                   py::dict values;
                                   for (const ParameterDescription& p : s.parameters) values[py::str(p.name)] = p.value;
                                   return values;
                               })
        .def_property_readonly("start",
                               [](const SystemDescription& s) {
                                   py::tuple t(s.start.size());
                                   for (std::size_t i = 0; i < s.start.size(); ++i) t[i] = s.start[i];
                                   return t;
                               })
        .def_property_readonly("equations",
                               [](const SystemDescription& s) {
                                   std::string text;
                                   for (const std::string& line : equationText(s))
                                       text += (text.empty() ? "" : "\n") + line;
                                   return text;
                               })
        .def_property_readonly("spectra",
                               [](const SystemDescription& s) {
                                   py::list spectra;
                                   for (const PublishedSpectrum& p : s.spectra) spectra.append(py::cast(p));
                                   return spectra;
                               })
        .def("spectrum", &systemSpectrum, withDefaults(kSystemSpectrumDoc).c_str(), "n"_a, py::kw_only(),
             "exponents"_a = py::none(), "initial"_a = py::none(), "transient"_a = keywordDefaults().transient,
             "step"_a = keywordDefaults().step, "steps_per_interval"_a = keywordDefaults().stepsPerInterval,
             "errors"_a = keywordDefaults().errors, "batch"_a = keywordDefaults().batch,
             "target_error"_a = keywordDefaults().targetError)
        .def("sweep", &systemSweep, withDefaults(kSystemSweepDoc).c_str(), "n"_a, py::kw_only(),
             "exponents"_a = py::none(), "initial"_a = py::none(), "transient"_a = keywordDefaults().transient,
             "step"_a = keywordDefaults().step, "steps_per_interval"_a = keywordDefaults().stepsPerInterval,
             "errors"_a = keywordDefaults().errors, "batch"_a = keywordDefaults().batch,
             "target_error"_a = keywordDefaults().targetError)
        .def("history", &systemHistory, withDefaults(kSystemHistoryDoc).c_str(), "n"_a, "every"_a = 1, py::kw_only(),
             "exponents"_a = py::none(), "initial"_a = py::none(), "transient"_a = keywordDefaults().transient,
             "step"_a = keywordDefaults().step, "steps_per_interval"_a = keywordDefaults().stepsPerInterval,
             "errors"_a = keywordDefaults().errors, "batch"_a = keywordDefaults().batch,
             "target_error"_a = keywordDefaults().targetError)
        .def("__repr__", [](const SystemDescription& s) {
            return "System(" + py::str(py::repr(py::str(s.name))).cast<std::string>() +
                   ", dimension=" + std::to_string(s.dimension) + ")";
        });
    m.def("systems", &systems, kSystemsDoc);
    m.def("system", &system, kSystemDoc, "name"_a, "dimension"_a = py::none());
}

}  // namespace veltrano::python
