#pragma once

#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "line_reader.h"
#include "gram_schmidt.h"

namespace veltrano {

// One row of a history: the estimates after `interval` measured intervals,
// at time t, with their half-widths once they are known (error bars only).
struct HistoryRow {
    std::int64_t interval = 0;
    double t = 0.0;
    Triple expo{};
    std::optional<Triple> halfWidth;
};

[[nodiscard]] std::string historyHeader(bool errors);

// The line of a row, without its newline: the interval, t and the three
// estimates with 17 significant digits; with error bars, then the three
// half-widths (empty fields while they are unknown).
[[nodiscard]] std::string historyRow(const HistoryRow& row, bool errors);

// Reads the rows of a history back after its header, each exactly as
// historyRow writes it and as a run makes them: intervals and times that
// grow from row to row, t above 0, every estimate no larger than a sum of
// logarithms of finite doubles allows, half-widths finite and not negative.
class HistoryReader {
public:
    // `name` is the file in messages; `firstLine` the number of the first
    // row's line (2 after the header).
    HistoryReader(std::istream& in, bool errors, std::string name, std::int64_t firstLine = 2);
    // The next row, nullopt at the end of the file or at the first line that
    // is not the next row (then `error()` says why).
    std::optional<HistoryRow> next();
    [[nodiscard]] const std::string& error() const { return error_; }

private:
    LineReader lines_;
    bool errors_;
    std::string name_, line_, error_;
    std::int64_t lineNumber_;
    std::optional<HistoryRow> previous_;
};

}  // namespace veltrano
