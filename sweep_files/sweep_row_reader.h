#pragma once

#include <cstdint>
#include <functional>
#include <istream>
#include <optional>
#include <string>
#include <string_view>

#include "line_reader.h"
#include "sweep_runner.h"
#include "trace_check.h"

namespace veltrano {

// Reads the rows of a whole sweep's file after its header, in order from
// index 0, each as `parse` reads it (nullopt for a line it does not take);
// `what` names the sweep in messages ("a sweep").
template <class Point>
class IndexedRowReader {
public:
    using Parse = std::function<std::optional<Point>(std::string_view line, PointStatus* status)>;
    // What a line refused is when it is a row of another file ("a row of a
    // sweep of lu, not of chen"), empty when it is not that.
    using Foreign = std::function<std::string(std::string_view line)>;
    IndexedRowReader(std::istream& in, std::string name, std::string what, Parse parse, Foreign foreign = {})
        : lines_(in),
          name_(std::move(name)),
          what_(std::move(what)),
          parse_(std::move(parse)),
          foreign_(std::move(foreign)) {}
    // The next row; nullopt at the end of the file or at the first line that
    // is not the next row (then `error()` says why).
    std::optional<Point> next() {
        if (!error_.empty()) return std::nullopt;
        const LineReader::Got got = lines_.next(line_);
        if (got == LineReader::Got::End) return std::nullopt;
        if (got != LineReader::Got::Line) {
            error_ = LineReader::trouble(got, name_, count_ + 2);
            return std::nullopt;
        }
        auto point = parse_(line_, &status_);
        if (!point || point->index != count_) {
            const std::string where = name_ + " line " + std::to_string(count_ + 2);
            if (const std::string other = foreign_ ? foreign_(line_) : std::string(); !other.empty())
                error_ = where + " is " + other;
            else
                error_ = where + " is not row " + std::to_string(count_) + " of " + what_ +
                         " (a sweep's file, whole or with its shards joined, starts at index 0)";
            return std::nullopt;
        }
        ++count_;
        return point;
    }
    [[nodiscard]] const std::string& error() const { return error_; }
    // The status the last row read was written with.
    [[nodiscard]] PointStatus status() const { return status_; }

private:
    LineReader lines_;
    std::string name_, what_;
    Parse parse_;
    Foreign foreign_;
    std::string line_, error_;
    std::int64_t count_ = 0;
    PointStatus status_ = PointStatus::Ok;
};

// The rows of a Lorenz sweep's file, each exactly as this program writes it.
class SweepRowReader : public IndexedRowReader<SweepPoint> {
public:
    SweepRowReader(std::istream& in, bool errors, std::string name);
};

}  // namespace veltrano
