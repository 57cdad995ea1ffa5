#pragma once

#include <string>
#include <vector>

#include "sweep_file_writer.h"
#include "sweep_rows.h"
#include "sweep_runner.h"

namespace veltrano::testing {

// A line of R from 0 to 250 over `count` points, σ = 10, b = 2.6667.
inline SweepGrid lineOfR(std::int64_t count) {
    return {.base = {10, 28, 2.6667}, .axes = {{{SweepParameter::R, 0, 250, count, {}}}}, .axisCount = 1};
}

// A short run: a few intervals, so that recomputing rows is cheap.
inline RunSettings shortRun(bool errors = false) {
    return {.intervals = 4, .errors = errors, .batch = 1};
}

// The lines of `range` of the sweep, without newlines, as sweep writes them.
inline std::vector<std::string> sweepLines(const SweepGrid& grid, IndexRange range, const RunSettings& run) {
    std::vector<std::string> lines;
    SweepSettings settings;
    settings.run = run;
    settings.path = widestPath();
    runSweep(grid, range, settings, [&](std::span<const SweepPoint> points) {
        for (const SweepPoint& p : points) lines.push_back(sweepRow(p, run));
        return true;
    });
    return lines;
}

inline std::string fileOf(const std::string& header, const std::vector<std::string>& lines) {
    std::string text = header + '\n';
    for (const std::string& line : lines) text += line + '\n';
    return text;
}

// What went wrong with a sweep's file, "" if nothing did.
inline std::string messageOf(const std::optional<SweepFileFailure>& failure) {
    if (!failure) return "";
    using K = SweepFileFailure::Kind;
    const K kind = failure->kind;
    return (kind == K::Refused ? "refused: " : kind == K::Failed ? "failed: " : kind == K::Stopped ? "stopped: " : "? ") +
           failure->message;
}

}  // namespace veltrano::testing
