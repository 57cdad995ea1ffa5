#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <variant>

#include "sweep_runner.h"

namespace veltrano::cli {

// Where a sweep continues in a file it wrote before.
struct ResumePoint {
    std::uint64_t keepBytes = 0;  // the header and the complete rows; the rest is an unfinished line
    bool hasHeader = false;
    std::int64_t nextIndex = 0;
};

// Reads `path` as the output of the sweep of `grid` over `range`: the
// header, then one complete row for each index from range.begin on, with
// the parameters of that index. Up to 17 rows spread over the file and the
// last complete row are computed again and must match to the byte. Calls
// `accepted` for every complete row. The file is only read. On refusal, the
// text says why.
[[nodiscard]] std::variant<ResumePoint, std::string> examineForResume(
    const std::string& path, const SweepGrid& grid, IndexRange range,
    const std::function<void(const SweepPoint&)>& accepted);

}  // namespace veltrano::cli
