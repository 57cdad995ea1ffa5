#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>

#include "line_reader.h"
#include "sweep_runner.h"
#include "trace_check.h"

namespace veltrano {

// Reads the rows of a whole sweep's file after its header, in order from
// index 0, each exactly as this program writes it.
class SweepRowReader {
public:
    SweepRowReader(std::istream& in, bool errors, std::string name) : lines_(in), errors_(errors), name_(std::move(name)) {}
    // The next row; nullopt at the end of the file or at the first line that
    // is not the next row (then `error()` says why).
    std::optional<SweepPoint> next();
    [[nodiscard]] const std::string& error() const { return error_; }
    // The status the last row read was written with.
    [[nodiscard]] PointStatus status() const { return status_; }

private:
    LineReader lines_;
    bool errors_;
    std::string name_, line_, error_;
    std::int64_t count_ = 0;
    PointStatus status_ = PointStatus::Ok;
};

}  // namespace veltrano
