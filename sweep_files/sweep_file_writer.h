#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "sweep_examination.h"
#include "sweep_runner.h"

namespace veltrano {

// A sweep to write: its grid and run, where its rows go, and how.
struct SweepFileJob {
    SweepGrid grid;
    RunSettings run;
    std::string output;  // empty: the stream handed to writeSweepFile
    bool resume = false;  // continue the file of `output` (checked first) if it exists
    std::string resumeName = "--resume";  // how the front end names `resume`, in messages
    std::optional<std::pair<std::int64_t, std::int64_t>> shard;  // K of M
    int threads = 1;
    const std::atomic<bool>* stop = nullptr;  // if given and set, the sweep ends soon
};

// What a front end may want to hear while a sweep is written; each may be
// left empty.
struct SweepFileProgress {
    // The rows of an existing file are being checked: the rows to expect,
    // then the rows read so far now and then, then the end of the checks.
    std::function<void(std::int64_t total)> checkingStarts;
    std::function<void(std::int64_t rows)> checked;
    std::function<void()> checkingEnds;
    // The points are being computed: the points of the whole run and those
    // already in the file, then the points done, a block at a time.
    std::function<void(std::int64_t total, std::int64_t done)> computingStarts;
    std::function<void(std::int64_t points)> computed;
    std::function<void()> computingEnds;
    // A warning that does not stop the sweep (a disk that seems too small).
    std::function<void(const std::string&)> warning;
};

// With, for a sweep whose points are `Point`s: every row of the finished
// file, read back from a continued file or computed, in index order.
template <class Point>
struct SweepFileEventsOf : SweepFileProgress {
    std::function<void(const Point&)> row;
};
using SweepFileEvents = SweepFileEventsOf<SweepPoint>;

// Why a sweep's file was not written to its end.
struct SweepFileFailure {
    enum class Kind {
        Refused,  // before any work: the file is the user's, or another process's, or not this sweep's
        Failed,   // a file could not be opened, continued or written
        Stopped,  // job.stop was set: the file holds a clean start of the sweep
    } kind;
    std::string message;
};

// The rows of a sweep, one CSV row per point in index order, written and
// flushed as the points complete, to `job.output` (a new file, created
// without replacing anything and held locked while it is written; with
// `resume`, an existing one checked as this sweep's and continued; a device
// or a pipe written as it is) or to `standardOutput`. The header goes out
// first, so that a file stopped before its first rows is still this
// sweep's. Nothing on standard error: what went wrong is returned.
[[nodiscard]] std::optional<SweepFileFailure> writeSweepFile(const SweepFileJob& job, const SweepFileEvents& events,
                                                             std::FILE* standardOutput = stdout);

// The file of any form of sweep, as writeSweepFile writes it: where the
// rows go, which of them, their header, and how an existing file is
// examined and the rows are computed.
struct RowsFileJob {
    std::string output;
    bool resume = false;
    std::string resumeName;
    IndexRange range;
    std::string header;
    double rowBytes = 0;  // about how many bytes a row takes
    // The existing file checked as this sweep's, with the progress of its rows.
    std::function<std::variant<ExaminedFile, ExaminationRefusal>(std::istream& in,
                                                                 const std::function<void(std::int64_t)>& progress)>
        examine;
    // The points from `from` to range.end computed, each block handed to
    // `write` as its lines and its number of points; false when stopped
    // (by `write` declining or from outside).
    std::function<bool(std::int64_t from, const std::function<bool(const std::string&, std::int64_t)>& write)> compute;
};
[[nodiscard]] std::optional<SweepFileFailure> writeRowsFile(const RowsFileJob& job, const SweepFileProgress& events,
                                                            std::FILE* standardOutput);

// About how many bytes a row takes, for the warning on a short disk.
[[nodiscard]] double expectedRowBytes(bool errors);

}  // namespace veltrano
