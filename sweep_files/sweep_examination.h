#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

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
        OtherSweep,    // a file of another flow, or of another form
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

// A row kept to be computed again: its index and its line.
struct SampledLine {
    std::int64_t index = 0;
    std::string line;
};

// What makes a file the output of one sweep, whichever its form.
struct RowRules {
    std::string header;
    // Why `line` is not row `index` of the sweep (the reason and what to
    // say); nullopt when it is.
    std::function<std::optional<std::pair<ExaminationRefusal::Why, std::string>>(std::int64_t index,
                                                                                 const std::string& line)>
        row;
    // The index of the first of the sampled rows that differs from what the
    // sweep computes for it; nullopt when none does.
    std::function<std::optional<std::int64_t>(const std::vector<SampledLine>& sampled)> differs;
    // What to say of a first line other than the header, given the line
    // after it (empty if there is none); unset: that it is not the header.
    std::function<std::string(const std::string& first, const std::string& second)> otherHeader;
};

// The examination of examineSweepFile with the rules of any form of sweep.
[[nodiscard]] std::variant<ExaminedFile, ExaminationRefusal> examineRows(
    std::istream& in, const std::string& shown, IndexRange range, const RowRules& rules,
    const std::function<void(std::int64_t)>& progress = {});

// What one run gives every point that it completes without a target error:
// the same t, and with error bars all the measured intervals.
template <class Settings>
class SameRunCheck {
public:
    explicit SameRunCheck(const Settings& settings) : settings_(settings) {}
    template <class Result>
    [[nodiscard]] bool fits(const Result& r) {
        if (!r.completed || settings_.targetError > 0) return true;
        if (settings_.errors && r.intervals != settings_.intervals) return false;
        if (!seen_) {
            seen_ = true;
            t_ = r.t;
        }
        return r.t == t_;
    }

private:
    const Settings& settings_;
    bool seen_ = false;
    double t_ = 0.0;
};

}  // namespace veltrano
