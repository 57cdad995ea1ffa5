#pragma once

// A computation run on a thread of its own with the GIL released, while the
// calling thread stays responsive to Python: Ctrl-C, other Python threads,
// progress reports.

#include <pybind11/pybind11.h>

#include <atomic>
#include <cstdint>
#include <functional>

namespace veltrano::python {

namespace py = pybind11;

// The work: it runs until done or until `stop` turns true, then returns
// within a few thousand steps.
using ReleasedWork = std::function<void(const std::atomic<bool>& stop)>;

// Called with the GIL held each time the calling thread looks in; false
// when it has raised a Python exception.
using ReleasedPoll = std::function<bool()>;

// Runs `work` on a thread of its own while this thread, without the GIL,
// looks ten times a second for Ctrl-C (or any signal that raises), calls
// `poll` (if given), and calls `progress(done, total)` when `done` moved
// (unless progress is None); the last call is at the end. An exception raised
// by a signal handler, by poll or by progress stops the work within a few
// thousand steps and is raised here; so is one thrown by the work.
void runReleased(const ReleasedWork& work, py::handle progress, const std::atomic<std::int64_t>& done,
                 std::int64_t total, const ReleasedPoll& poll = {});

}  // namespace veltrano::python
