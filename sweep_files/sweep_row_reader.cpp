#include "sweep_row_reader.h"

#include "sweep_rows.h"

namespace veltrano {

std::optional<SweepPoint> SweepRowReader::next() {
    if (!error_.empty()) return std::nullopt;
    const std::string where = name_ + " line " + std::to_string(count_ + 2);
    const LineReader::Got got = lines_.next(line_);
    if (got == LineReader::Got::End) return std::nullopt;
    if (got != LineReader::Got::Line) {
        error_ = LineReader::trouble(got, name_, count_ + 2);
        return std::nullopt;
    }
    auto point = parseSweepRow(line_, errors_, &status_);
    if (!point || point->index != count_) {
        error_ = where + " is not row " + std::to_string(count_) +
                 " of a sweep (a sweep's file, whole or with its shards joined, starts at index 0)";
        return std::nullopt;
    }
    ++count_;
    return point;
}

}  // namespace veltrano
