#include "sweep_row_reader.h"

#include "sweep_rows.h"

namespace veltrano {

std::optional<SweepPoint> SweepRowReader::next() {
    if (!error_.empty()) return std::nullopt;
    const std::string where = name_ + " line " + std::to_string(count_ + 2);
    switch (lines_.next(line_)) {
        case LineReader::Got::End:
            return std::nullopt;
        case LineReader::Got::Unfinished:
            error_ = where + " is unfinished (no newline ends it)";
            return std::nullopt;
        case LineReader::Got::TooLong:
            error_ = where + " is longer than any line veltrano-cli writes";
            return std::nullopt;
        case LineReader::Got::Failed:
            error_ = "cannot read " + name_;
            return std::nullopt;
        case LineReader::Got::Line:
            break;
    }
    auto point = parseSweepRow(line_, errors_);
    if (!point || point->index != count_) {
        error_ = where + " is not row " + std::to_string(count_) +
                 " of a sweep (a sweep's file, whole or with its shards joined, starts at index 0)";
        return std::nullopt;
    }
    ++count_;
    return point;
}

}  // namespace veltrano
