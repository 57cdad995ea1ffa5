#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <string>
#include <variant>

#include "sweep_runner.h"

namespace veltrano {

// What a sweep's file holds.
struct ExaminedFile {
    std::uint64_t keepBytes = 0;  // the header and the complete rows; the rest is an unfinished line
    std::uint64_t totalBytes = 0;
    bool hasHeader = false;
    std::int64_t nextIndex = 0;  // the index after the last complete row
};

// Why a file is not the output of a sweep.
struct ExaminationRefusal {
    enum class Why {
        Unreadable,    // it could not be read to its end
        Header,        // its first line is not the header of this sweep
        TooManyRows,   // a row beyond the sweep's last index
        ForeignRow,    // a row not in the form this program writes, or not of its place
        Differs,       // a row differs from what the sweep computes
        Inconsistent,  // rows that one run cannot have written together
    } why;
    std::int64_t index = -1;  // the row concerned, if any
    std::string message;
};

// Reads `in` (named `shown` in messages) as the output of the sweep of
// `grid` over `range` with `settings`: the header, then one complete row for
// each index from range.begin on, perhaps an unfinished last line. Every row
// must be in exactly the form this program writes, with the index and the
// parameters of its place; the completed rows of a run without a target
// error share one t (and, with error bars, the run's intervals); at least 17
// rows spread over those present (all of them when fewer) and the last one
// are computed again and must match to the byte. Calls `accepted` for every
// complete row and `progress` with the rows read so far, now and then.
[[nodiscard]] std::variant<ExaminedFile, ExaminationRefusal> examineSweepFile(
    std::istream& in, const std::string& shown, const SweepGrid& grid, IndexRange range, const RunSettings& settings,
    const std::function<void(const SweepPoint&)>& accepted = {},
    const std::function<void(std::int64_t)>& progress = {});

}  // namespace veltrano
