#pragma once

// What the sweeps of veltrano.sweep() and System.sweep() share about their
// threads, progress and file: the keywords checked, the warnings held until
// Python can take them, and a file that failed raised as Python's error.

#include <pybind11/pybind11.h>

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sweep_file_writer.h"

namespace veltrano::python {

namespace py = pybind11;

// threads=, output=, resume= and shard= as checked (progress= is checked to
// be None or a callable and used as it is).
struct SweepFileKeywords {
    int threads = 1;
    std::optional<std::string> output;
    bool resume = false;
    std::optional<std::pair<std::int64_t, std::int64_t>> shard;
};
[[nodiscard]] SweepFileKeywords sweepFileKeywordsOf(py::handle threads, py::handle progress, py::handle output,
                                                    py::handle resume, py::handle shard);

// Warnings of the writer (a file system short of space), held from any
// thread and given to Python as they come, before the hours of computing
// they warn of.
class HeldWarnings {
public:
    void hold(const std::string& warning);
    // With the GIL: each held warning as a RuntimeWarning; false when one
    // raised (warnings made errors).
    [[nodiscard]] bool give();

private:
    std::mutex held_;
    std::vector<std::string> warnings_;
};

// A sweep's file that failed: refused (the file is the user's, another
// writer's or another sweep's) as ValueError, unwritable as OSError.
[[noreturn]] void raiseFileFailure(const SweepFileFailure& failure);

}  // namespace veltrano::python
