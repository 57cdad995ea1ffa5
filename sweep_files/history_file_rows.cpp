#include "history_file_rows.h"

#include <cmath>

#include "csv_fields.h"
#include "precise_text.h"

namespace veltrano {

namespace {

// The logarithm of a finite positive double lies within ±745; an estimate
// is a sum of one such logarithm per interval, divided by t.
constexpr double kLargestLogarithm = 745.0;

bool possibleEstimate(double lambda, std::int64_t interval, double t) {
    return std::abs(lambda) * t <= kLargestLogarithm * static_cast<double>(interval);
}

}  // namespace

std::string historyHeader(bool errors) {
    return errors ? "interval,t,lambda1,lambda2,lambda3,lambda1_err,lambda2_err,lambda3_err"
                  : "interval,t,lambda1,lambda2,lambda3";
}

std::string historyRow(const HistoryRow& row, bool errors) {
    std::string line = std::to_string(row.interval) + ',' + preciseText(row.t);
    for (double e : row.expo) line += ',' + preciseText(e);
    if (errors) {
        if (row.halfWidth) {
            for (double w : *row.halfWidth) line += ',' + preciseText(w);
        } else {
            line += ",,,";
        }
    }
    return line;
}

HistoryReader::HistoryReader(std::istream& in, bool errors, std::string name, std::int64_t firstLine)
    : lines_(in), errors_(errors), name_(std::move(name)), lineNumber_(firstLine - 1) {}

std::optional<HistoryRow> HistoryReader::next() {
    if (!error_.empty()) return std::nullopt;
    ++lineNumber_;
    const std::string where = name_ + " line " + std::to_string(lineNumber_);
    const LineReader::Got got = lines_.next(line_);
    if (got == LineReader::Got::End) return std::nullopt;
    if (got != LineReader::Got::Line) {
        error_ = LineReader::trouble(got, name_, lineNumber_);
        return std::nullopt;
    }
    const auto fields = csvFields(line_);
    HistoryRow row;
    bool ok = fields.size() == (errors_ ? 8U : 5U);
    const auto interval = ok ? wholeField(fields[0]) : std::nullopt;
    ok = ok && interval && *interval > 0;
    double values[4] = {};
    for (std::size_t i = 0; ok && i < 4; ++i) {
        const auto v = numberField(fields[i + 1]);
        ok = v.has_value();
        if (ok) values[i] = *v;
    }
    if (ok) {
        row.interval = *interval;
        row.t = values[0];
        row.expo = {values[1], values[2], values[3]};
        ok = row.t > 0;
        for (double e : row.expo) ok = ok && possibleEstimate(e, row.interval, row.t);
    }
    if (ok && errors_ && !fields[5].empty()) {
        Triple w{};
        for (std::size_t k = 0; ok && k < 3; ++k) {
            const auto v = numberField(fields[5 + k]);
            ok = v && *v >= 0;
            if (ok) w[k] = *v;
        }
        row.halfWidth = w;
    }
    ok = ok && historyRow(row, errors_) == line_;
    if (!ok) {
        error_ = where + " is not a row of a history";
        return std::nullopt;
    }
    if (previous_ && (row.interval <= previous_->interval || row.t <= previous_->t)) {
        error_ = where + " does not follow the row before it (its interval and t must be larger)";
        return std::nullopt;
    }
    previous_ = row;
    return row;
}

}  // namespace veltrano
