#pragma once

#include <cstddef>
#include <cstdint>
#include <istream>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

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

// One row of the history of a flow of the catalogue: as HistoryRow, with
// the k exponents computed.
struct SystemHistoryRow {
    std::int64_t interval = 0;
    double t = 0.0;
    std::vector<double> expo;                      // k estimates
    std::optional<std::vector<double>> halfWidth;  // k half-widths, once known
    friend bool operator==(const SystemHistoryRow&, const SystemHistoryRow&) = default;
};

// interval,system,t,lambda1,...,lambdaK and with error bars
// ,lambda1_err,...,lambdaK_err.
[[nodiscard]] std::string systemHistoryHeader(std::size_t k, bool errors);

// The line of a row of the flow named `system` in files (its systemField),
// without its newline: as historyRow, with the name after the interval and
// the row's k estimates (k empty fields for unknown half-widths).
[[nodiscard]] std::string systemHistoryRow(const SystemHistoryRow& row, std::string_view system, bool errors);

// Reads the rows of a history of a flow back after its header, each
// exactly as systemHistoryRow writes it for `system` and k exponents and
// as a run makes them: intervals and times that grow from row to row, t
// above 0, every estimate no larger than a sum of logarithms of finite
// doubles allows, half-widths finite and not negative. A row of another
// flow is refused naming both.
class SystemHistoryReader {
public:
    // `name` is the file in messages; `firstLine` the number of the first
    // row's line (2 after the header).
    SystemHistoryReader(std::istream& in, std::string system, std::size_t k, bool errors, std::string name,
                        std::int64_t firstLine = 2);
    // The next row, nullopt at the end of the file or at the first line that
    // is not the next row (then `error()` says why).
    std::optional<SystemHistoryRow> next();
    [[nodiscard]] const std::string& error() const { return error_; }

private:
    LineReader lines_;
    std::string system_;  // empty: the Lorenz form, without the field
    std::size_t k_;
    bool errors_;
    std::string name_, line_, error_;
    std::int64_t lineNumber_;
    std::optional<SystemHistoryRow> previous_;
};

// Reads the rows of a Lorenz history back after its header, each exactly
// as historyRow writes it, by the rules of SystemHistoryReader.
class HistoryReader {
public:
    HistoryReader(std::istream& in, bool errors, std::string name, std::int64_t firstLine = 2);
    std::optional<HistoryRow> next();
    [[nodiscard]] const std::string& error() const { return rows_.error(); }

private:
    SystemHistoryReader rows_;
};

}  // namespace veltrano
