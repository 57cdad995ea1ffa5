#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <variant>

#include "sweep_runner.h"

namespace veltrano::cli {

// What a sweep's file holds.
struct ExaminedFile {
    std::uint64_t keepBytes = 0;  // the header and the complete rows; the rest is an unfinished line
    std::uint64_t totalBytes = 0;
    bool hasHeader = false;
    std::int64_t nextIndex = 0;  // the index after the last complete row
};

// Reads the file at `readPath` (named `shown` in messages) as the output of
// the sweep of `grid` over `range` with `settings`: the header, then one
// complete row for each index from range.begin on. Every row must be in
// exactly the form this program writes, with the index and the parameters
// of its place; up to 17 rows spread over the file and the last complete row
// are computed again and must match to the byte. Calls `accepted` for every
// complete row and `progress` with the rows read so far, now and then. The
// file is only read. On refusal, the text says why.
[[nodiscard]] std::variant<ExaminedFile, std::string> examineSweepFile(
    const std::string& readPath, const std::string& shown, const SweepGrid& grid, IndexRange range,
    const RunSettings& settings, const std::function<void(const SweepPoint&)>& accepted,
    const std::function<void(std::int64_t)>& progress);

}  // namespace veltrano::cli
