#include "released_run.h"

#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>

namespace veltrano::python {

void runReleased(const ReleasedWork& work, py::handle progress, const std::atomic<std::int64_t>& done,
                 std::int64_t total, const ReleasedPoll& poll) {
    std::atomic<bool> stop{false};
    std::mutex mutex;
    std::condition_variable finished;
    bool over = false;
    std::exception_ptr failure;
    bool raised = false;
    {
        py::gil_scoped_release release;
        std::thread worker([&] {
            try {
                work(stop);
            } catch (...) {
                failure = std::current_exception();
            }
            std::lock_guard lock(mutex);
            over = true;
            finished.notify_all();
        });
        std::int64_t reported = -1;
        for (;;) {
            bool end = false;
            {
                std::unique_lock lock(mutex);
                end = finished.wait_for(lock, std::chrono::milliseconds(100), [&] { return over; });
            }
            {
                py::gil_scoped_acquire acquire;
                if (PyErr_CheckSignals() != 0) raised = true;
                if (!raised && poll && !poll()) raised = true;
                const std::int64_t now = done.load();
                // Each count once: the last poll may already have seen them all.
                if (!raised && !progress.is_none() && now != reported) {
                    reported = now;
                    PyObject* result = PyObject_CallFunction(progress.ptr(), "LL", static_cast<long long>(now),
                                                             static_cast<long long>(total));
                    if (result == nullptr) raised = true;
                    Py_XDECREF(result);
                }
            }
            if (raised) stop = true;
            if (raised || end) break;
        }
        worker.join();
    }
    if (raised) throw py::error_already_set();
    if (failure) std::rethrow_exception(failure);
}

}  // namespace veltrano::python
