#include "functions.h"

#include <pybind11/numpy.h>

#include <atomic>
#include <cmath>
#include <span>
#include <string>
#include <vector>

#include "arguments.h"
#include "batched_exponents.h"
#include "docstrings.h"
#include "file_sweep.h"
#include "keyword_defaults.h"
#include "released_run.h"
#include "research_rules.h"
#include "result_types.h"
#include "sweep_file_writer.h"
#include "sweep_runner.h"

namespace veltrano::python {

namespace {

SpectrumResult spectrum(py::object n, py::object sigma, py::object R, py::object b, py::object transient,
                        py::object initial, py::object step, py::object stepsPerInterval, py::object errors,
                        py::object batch, py::object targetError) {
    const std::int64_t intervals = intervalsOf(n);
    const FlowParameters p = parametersOf(sigma, R, b);
    const RunSettings s =
        settingsOf(intervals, {transient, initial, step, stepsPerInterval, errors, batch, targetError});
    PointResult result;
    std::atomic<std::int64_t> done{0};
    runReleased(
        [&](const std::atomic<bool>& stop) {
            runPoints(widestPath(), s, std::span(&p, 1), std::span(&result, 1), nullptr, &stop);
            done = 1;
        },
        py::none(), done, 1);
    return spectrumResultOf(result, p, s);
}

HistoryResult history(py::object n, py::object sigma, py::object R, py::object b, py::object every,
                      py::object transient, py::object initial, py::object step, py::object stepsPerInterval,
                      py::object errors, py::object batch, py::object targetError) {
    const std::int64_t intervals = intervalsOf(n);
    const FlowParameters p = parametersOf(sigma, R, b);
    const std::int64_t k = everyOf(every);
    const RunSettings s =
        settingsOf(intervals, {transient, initial, step, stepsPerInterval, errors, batch, targetError});
    HistoryRows rows;
    PointResult end;
    std::atomic<std::int64_t> done{0};
    runReleased(
        [&](const std::atomic<bool>& stop) {
            end = runObserved(
                s, p,
                [&](const IntervalState& state) {
                    done.store(state.interval, std::memory_order_relaxed);
                    if (state.interval % k != 0 && !state.last) return;
                    rows.interval.push_back(state.interval);
                    rows.t.push_back(state.t);
                    const auto widths = s.errors ? state.batches->halfWidths() : std::nullopt;
                    for (std::size_t i = 0; i < 3; ++i) {
                        rows.lambda[i].push_back(state.expo[i]);
                        rows.halfWidth[i].push_back(widths ? (*widths)[i] : std::nan(""));
                    }
                },
                &stop);
        },
        py::none(), done, intervals);
    return historyResultOf(rows, s.errors, end.completed);
}

SweepResult sweep(py::object n, py::object sigma, py::object R, py::object b, py::object threads, py::object progress,
                  py::object vary, py::object output, py::object resume, py::object shard, py::object transient,
                  py::object initial, py::object step, py::object stepsPerInterval, py::object errors, py::object batch,
                  py::object targetError) {
    const std::int64_t intervals = intervalsOf(n);
    const SweepAxes axes = axesOf(sigma, R, b);
    const RunSettings s =
        settingsOf(intervals, {transient, initial, step, stepsPerInterval, errors, batch, targetError});
    const SweepFileKeywords file = sweepFileKeywordsOf(threads, progress, output, resume, shard);
    const auto& path = file.output;
    const auto& shardKM = file.shard;
    const ShapedGrid shaped = gridOf(axes, orderOf(vary, axes));

    const IndexRange range = shardKM ? shardRange(shaped.grid.size(), shardKM->first, shardKM->second)
                                     : IndexRange{0, shaped.grid.size()};
    const std::int64_t total = range.end - range.begin;
    const auto count = static_cast<std::size_t>(total);
    std::vector<FlowParameters> points(count);
    std::vector<PointResult> results(count);
    const auto keep = [&](const SweepPoint& p) {
        points[static_cast<std::size_t>(p.index - range.begin)] = p.parameters;
        results[static_cast<std::size_t>(p.index - range.begin)] = p.result;
    };
    std::atomic<std::int64_t> done{0};
    std::optional<SweepFileFailure> failure;
    HeldWarnings warnings;
    runReleased(
        [&](const std::atomic<bool>& stop) {
            if (!path) {
                SweepSettings settings;
                settings.threads = file.threads;
                settings.path = widestPath();
                settings.run = s;
                settings.stop = &stop;
                runSweep(shaped.grid, range, settings, [&](std::span<const SweepPoint> finished) {
                    for (const SweepPoint& p : finished) keep(p);
                    done += static_cast<std::int64_t>(finished.size());
                    return true;
                });
                return;
            }
            SweepFileJob job;
            job.grid = shaped.grid;
            job.run = s;
            job.output = *path;
            job.resume = file.resume;
            job.resumeName = "resume=True";
            job.shard = shardKM;
            job.threads = file.threads;
            job.stop = &stop;
            SweepFileEvents events;
            events.row = keep;  // the rows read back from a continued file, then those computed
            events.computingStarts = [&](std::int64_t, std::int64_t already) { done = already; };
            events.computed = [&](std::int64_t points) { done += points; };
            events.warning = [&](const std::string& warning) { warnings.hold(warning); };
            failure = writeSweepFile(job, events);
        },
        progress, done, total, [&] { return warnings.give(); });
    if (!warnings.give()) throw py::error_already_set();
    if (failure) raiseFileFailure(*failure);
    return sweepResultOf(shardKM ? std::vector<py::ssize_t>{static_cast<py::ssize_t>(total)} : shaped.shape,
                         range.begin, points, results, s);
}

// The values of --vary NAME=START:STOP:COUNT.
py::array_t<double> spaced(py::object start, py::object stop, py::object count) {
    SweepAxis axis;
    axis.from = finiteNumber(start, "start must be a finite number, not " + shown(start));
    axis.to = finiteNumber(stop, "stop must be a finite number, not " + shown(stop));
    const auto n = wholeNumber(count);
    if (!n || *n < 1 || *n > SweepGrid::kMaxPoints)
        refuse(countRangeRule("count") + ", not " + shown(count));
    axis.count = *n;
    py::array_t<double> values(static_cast<py::ssize_t>(axis.count));
    double* out = values.mutable_data();
    for (std::int64_t i = 0; i < axis.count; ++i) out[i] = axis.valueAt(i);
    return values;
}

}  // namespace

void addFunctions(py::module_& m) {
    using namespace py::literals;
    const KeywordDefaults d = keywordDefaults();
    m.def("spectrum", &spectrum, withDefaults(kSpectrumDoc).c_str(), "n"_a, "sigma"_a, "R"_a, "b"_a, py::kw_only(),
          "transient"_a = d.transient, "initial"_a = d.initial, "step"_a = d.step,
          "steps_per_interval"_a = d.stepsPerInterval, "errors"_a = d.errors, "batch"_a = d.batch,
          "target_error"_a = d.targetError);
    m.def("history", &history, withDefaults(kHistoryDoc).c_str(), "n"_a, "sigma"_a, "R"_a, "b"_a, "every"_a = 1,
          py::kw_only(), "transient"_a = d.transient, "initial"_a = d.initial, "step"_a = d.step,
          "steps_per_interval"_a = d.stepsPerInterval, "errors"_a = d.errors, "batch"_a = d.batch,
          "target_error"_a = d.targetError);
    m.def("sweep", &sweep, withDefaults(kSweepDoc).c_str(), "n"_a, "sigma"_a, "R"_a, "b"_a, "threads"_a = py::none(),
          "progress"_a = py::none(), py::kw_only(), "vary"_a = py::none(), "output"_a = py::none(), "resume"_a = false,
          "shard"_a = py::none(), "transient"_a = d.transient, "initial"_a = d.initial, "step"_a = d.step,
          "steps_per_interval"_a = d.stepsPerInterval, "errors"_a = d.errors, "batch"_a = d.batch,
          "target_error"_a = d.targetError);
    m.def("spaced", &spaced, kSpacedDoc, "start"_a, "stop"_a, "count"_a);
}

}  // namespace veltrano::python
