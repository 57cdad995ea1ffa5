#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <optional>
#include <string>
#include <utility>

#include "sweep_file_writer.h"
#include "system_sweep_examination.h"
#include "system_sweep_rows.h"

namespace veltrano {

// A sweep of a flow, of the catalogue or typed equations, to write (as
// SweepFileJob).
struct SystemSweepFileJob {
    SystemSweep sweep;
    std::string output;  // empty: the stream handed to writeSystemSweepFile
    bool resume = false;
    std::string resumeName = "--resume";
    std::optional<std::pair<std::int64_t, std::int64_t>> shard;  // K of M
    int threads = 1;
    const std::atomic<bool>* stop = nullptr;
};

// As writeSweepFile, in the form of a sweep of a flow (systemSweepHeader,
// systemSweepRow); with `resume`, only a file of this flow and these columns
// is continued (examineSystemSweepFile).
[[nodiscard]] std::optional<SweepFileFailure> writeSystemSweepFile(const SystemSweepFileJob& job,
                                                                   const SweepFileEventsOf<SystemSweepPoint>& events,
                                                                   std::FILE* standardOutput = stdout);

}  // namespace veltrano
