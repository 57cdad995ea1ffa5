#include "system_functions.h"

#include <atomic>
#include <cmath>
#include <optional>
#include <span>
#include <string>
#include <type_traits>

#include "docstrings.h"
#include "file_sweep.h"
#include "keyword_defaults.h"
#include "released_run.h"
#include "simd_path.h"
#include "system_arguments.h"
#include "system_entries.h"
#include "system_exponents.h"
#include "system_history_run.h"
#include "system_results.h"
#include "system_sweep_file_writer.h"
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

ChosenSystem system(py::object name, py::object dimension) { return systemOf(name, dimension); }

ChosenSystem typedEquations(py::object text) { return equationsOf(text); }

SystemSpectrumResult systemSpectrum(const ChosenSystem& description, py::object n, py::object exponents,
                              py::object initial, py::object transient, py::object step, py::object stepsPerInterval,
                              py::object errors, py::object batch, py::object targetError, py::kwargs parameters) {
    const SystemSettings s = systemSettingsOf(
        description, n, {exponents, initial, transient, step, stepsPerInterval, errors, batch, targetError});
    const std::vector<double> values = systemParametersOf(description, parameters);
    SystemSpectrumResult result;
    std::atomic<std::int64_t> done{0};
    runReleased(
        [&](const std::atomic<bool>& stop) {
            visitChosen(description, SimdPath::Lanes128, [&](const auto& flow) {
                using Flow = std::decay_t<decltype(flow)>;
                ParametersOf<Flow> point{};
                for (std::size_t i = 0; i < values.size(); ++i) point[i] = values[i];
                result = systemSpectrumOf(runSystemPoint(flow, s, point, &stop), s);
            });
            done = 1;
        },
        py::none(), done, 1);
    return result;
}

SystemSweepResult systemSweep(const ChosenSystem& description, py::object n, py::object threads,
                              py::object progress, py::object vary, py::object output, py::object resume,
                              py::object shard, py::object exponents, py::object initial, py::object transient,
                              py::object step, py::object stepsPerInterval, py::object errors, py::object batch,
                              py::object targetError, py::kwargs parameters) {
    const SystemKeywords keywords{exponents, initial, transient, step, stepsPerInterval, errors, batch, targetError};
    SystemSweep sweep{sweptFlowOf(description), {}, systemSettingsOf(description, n, keywords)};
    const SystemSettings& s = sweep.run;
    const std::vector<AxisValues> axes = systemAxesOf(description, parameters);
    const SweepFileKeywords file = sweepFileKeywordsOf(threads, progress, output, resume, shard);
    SystemShapedGrid shaped = systemGridOf(description, axes, vary);
    sweep.grid = std::move(shaped.grid);

    const std::int64_t size = sweep.grid.size();
    const IndexRange range = file.shard ? shardRange(size, file.shard->first, file.shard->second) : IndexRange{0, size};
    const std::int64_t total = range.end - range.begin;
    SystemSweepResult result(file.shard ? std::vector<py::ssize_t>{static_cast<py::ssize_t>(total)} : shaped.shape,
                             range.begin, static_cast<std::size_t>(total), s);
    const auto keep = [&](const SystemSweepPoint& p) {
        placePoint(result, static_cast<std::size_t>(p.index - range.begin), p.result, systemPointStatus(sweep, p), s);
    };
    std::atomic<std::int64_t> done{0};
    std::optional<SweepFileFailure> failure;
    HeldWarnings warnings;
    runReleased(
        [&](const std::atomic<bool>& stop) {
            if (!file.output) {
                SystemSweepSettings settings;
                settings.threads = file.threads;
                settings.path = widestPath();
                settings.run = s;
                settings.stop = &stop;
                visitChosen(description, settings.path, [&](const auto& flow) {
                    runFlowSweep(flow, sweep.grid, range, settings, [&](std::span<const SystemSweepPoint> finished) {
                        for (const SystemSweepPoint& p : finished) keep(p);
                        done += static_cast<std::int64_t>(finished.size());
                        return true;
                    });
                });
                return;
            }
            SystemSweepFileJob job;
            job.sweep = sweep;
            job.output = *file.output;
            job.resume = file.resume;
            job.resumeName = "resume=True";
            job.shard = file.shard;
            job.threads = file.threads;
            job.stop = &stop;
            SweepFileEventsOf<SystemSweepPoint> events;
            events.row = keep;  // the rows read back from a continued file, then those computed
            events.computingStarts = [&](std::int64_t, std::int64_t already) { done = already; };
            events.computed = [&](std::int64_t points) { done += points; };
            events.warning = [&](const std::string& warning) { warnings.hold(warning); };
            failure = writeSystemSweepFile(job, events);
        },
        progress, done, total, [&] { return warnings.give(); });
    if (!warnings.give()) throw py::error_already_set();
    if (failure) raiseFileFailure(*failure);
    return result;
}

SystemHistoryResult systemHistory(const ChosenSystem& description, py::object n, py::object every,
                                  py::object exponents, py::object initial, py::object transient, py::object step,
                                  py::object stepsPerInterval, py::object errors, py::object batch,
                                  py::object targetError, py::kwargs parameters) {
    const SystemSettings s = systemSettingsOf(
        description, n, {exponents, initial, transient, step, stepsPerInterval, errors, batch, targetError});
    const std::int64_t k = everyOf(every);
    const std::vector<double> values = systemParametersOf(description, parameters);
    SystemHistoryResult result;
    result.system = fileNameOf(description);
    result.exponents = s.exponents;
    result.errors = s.errors;
    std::atomic<std::int64_t> done{0};
    runReleased(
        [&](const std::atomic<bool>& stop) {
            SystemHistoryEnd end;
            visitChosen(description, SimdPath::Lanes128, [&](const auto& flow) {
                end = runFlowHistory(flow, s, values, k,
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
            });
            result.completed = end.completed;
        },
        py::none(), done, s.intervals);
    return result;
}

}  // namespace

void addSystemFunctions(py::module_& m) {
    using namespace py::literals;
    py::class_<ChosenSystem>(m, "System", kSystemClassDoc)
        .def_readonly("name", &SystemDescription::name)
        .def_readonly("title", &SystemDescription::title)
        .def_readonly("summary", &SystemDescription::summary)
        .def_readonly("dimension", &SystemDescription::dimension)
        .def_readonly("source", &SystemDescription::source)
        .def_property_readonly("digest",
                               [](const ChosenSystem& s) -> py::object {
                                   if (!s.typed) return py::none();
                                   return py::str(s.typed->digest);
                               })
        .def_property_readonly("variables", [](const ChosenSystem& s) { return textsOf(s.variables); })
        .def_property_readonly("parameters",
                               [](const ChosenSystem& s) {
                                   py::dict values;
                                   for (const ParameterDescription& p : s.parameters) values[py::str(p.name)] = p.value;
                                   return values;
                               })
        .def_property_readonly("start",
                               [](const ChosenSystem& s) {
                                   py::tuple t(s.start.size());
                                   for (std::size_t i = 0; i < s.start.size(); ++i) t[i] = s.start[i];
                                   return t;
                               })
        .def_property_readonly("equations",
                               [](const ChosenSystem& s) {
                                   if (s.typed) return s.typed->text;
                                   std::string text;
                                   for (const std::string& line : equationText(s))
                                       text += (text.empty() ? "" : "\n") + line;
                                   return text;
                               })
        .def_property_readonly("spectra",
                               [](const ChosenSystem& s) {
                                   py::list spectra;
                                   for (const PublishedSpectrum& p : s.spectra) spectra.append(py::cast(p));
                                   return spectra;
                               })
        .def("spectrum", &systemSpectrum, withDefaults(kSystemSpectrumDoc).c_str(), "n"_a, py::kw_only(),
             "exponents"_a = py::none(), "initial"_a = py::none(), "transient"_a = keywordDefaults().transient,
             "step"_a = keywordDefaults().step, "steps_per_interval"_a = keywordDefaults().stepsPerInterval,
             "errors"_a = keywordDefaults().errors, "batch"_a = keywordDefaults().batch,
             "target_error"_a = keywordDefaults().targetError)
        .def("sweep", &systemSweep, withDefaults(kSystemSweepDoc).c_str(), "n"_a, "threads"_a = py::none(),
             "progress"_a = py::none(), py::kw_only(), "vary"_a = py::none(), "output"_a = py::none(),
             "resume"_a = false, "shard"_a = py::none(), "exponents"_a = py::none(), "initial"_a = py::none(), "transient"_a = keywordDefaults().transient,
             "step"_a = keywordDefaults().step, "steps_per_interval"_a = keywordDefaults().stepsPerInterval,
             "errors"_a = keywordDefaults().errors, "batch"_a = keywordDefaults().batch,
             "target_error"_a = keywordDefaults().targetError)
        .def("history", &systemHistory, withDefaults(kSystemHistoryDoc).c_str(), "n"_a, "every"_a = 1, py::kw_only(),
             "exponents"_a = py::none(), "initial"_a = py::none(), "transient"_a = keywordDefaults().transient,
             "step"_a = keywordDefaults().step, "steps_per_interval"_a = keywordDefaults().stepsPerInterval,
             "errors"_a = keywordDefaults().errors, "batch"_a = keywordDefaults().batch,
             "target_error"_a = keywordDefaults().targetError)
        .def("__repr__", [](const ChosenSystem& s) {
            if (s.typed)
                return "System(equations, digest=" + s.typed->digest.substr(0, 12) + "..., dimension=" +
                       std::to_string(s.dimension) + ")";
            return "System(" + py::str(py::repr(py::str(s.name))).cast<std::string>() +
                   ", dimension=" + std::to_string(s.dimension) + ")";
        });
    m.def("systems", &systems, kSystemsDoc);
    m.def("system", &system, kSystemDoc, "name"_a, "dimension"_a = py::none());
    m.def("equations", &typedEquations, kEquationsDoc, "text"_a);
}

}  // namespace veltrano::python
