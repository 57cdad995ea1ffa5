#include "file_sweep.h"

#include "arguments.h"

namespace veltrano::python {

SweepFileKeywords sweepFileKeywordsOf(py::handle threads, py::handle progress, py::handle output, py::handle resume,
                                      py::handle shard) {
    SweepFileKeywords k;
    k.threads = threadsOf(threads);
    if (!progress.is_none() && !PyCallable_Check(progress.ptr()))
        refuse("progress must be a callable that takes (done, total), not " + shown(progress));
    k.output = outputOf(output);
    k.resume = resumeOf(resume, k.output.has_value());
    k.shard = shardOf(shard);
    return k;
}

void HeldWarnings::hold(const std::string& warning) {
    std::lock_guard lock(held_);
    warnings_.push_back(warning);
}

bool HeldWarnings::give() {
    std::vector<std::string> now;
    {
        std::lock_guard lock(held_);
        now.swap(warnings_);
    }
    for (const std::string& warning : now)
        if (PyErr_WarnEx(PyExc_RuntimeWarning, warning.c_str(), 1) != 0) return false;
    return true;
}

void raiseFileFailure(const SweepFileFailure& failure) {
    if (failure.kind == SweepFileFailure::Kind::Refused) refuse(failure.message);
    PyErr_SetString(PyExc_OSError, failure.message.c_str());
    throw py::error_already_set();
}

}  // namespace veltrano::python
