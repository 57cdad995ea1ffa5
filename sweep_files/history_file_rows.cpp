#include "history_file_rows.h"

#include <cctype>
#include <cmath>
#include <span>

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

// The header of k estimates, with the field `system` after the interval
// unless it is the Lorenz form's.
std::string headerText(std::size_t k, bool errors, bool withSystem) {
    std::string text = withSystem ? "interval,system,t" : "interval,t";
    for (std::size_t i = 1; i <= k; ++i) text += ",lambda" + std::to_string(i);
    if (errors)
        for (std::size_t i = 1; i <= k; ++i) text += ",lambda" + std::to_string(i) + "_err";
    return text;
}

// A row of k = expo.size() estimates; `system` empty is the Lorenz form.
std::string rowText(std::int64_t interval, double t, std::span<const double> expo, const double* halfWidths,
                    std::string_view system, bool errors) {
    std::string line = std::to_string(interval);
    if (!system.empty()) line += ',' + std::string(system);
    line += ',' + preciseText(t);
    for (double e : expo) line += ',' + preciseText(e);
    if (errors)
        for (std::size_t i = 0; i < expo.size(); ++i) line += halfWidths ? ',' + preciseText(halfWidths[i]) : ",";
    return line;
}

}  // namespace

std::string historyHeader(bool errors) {
    return headerText(3, errors, false);
}

std::string historyRow(const HistoryRow& row, bool errors) {
    return rowText(row.interval, row.t, row.expo, row.halfWidth ? row.halfWidth->data() : nullptr, {}, errors);
}

std::string systemHistoryHeader(std::size_t k, bool errors) {
    return headerText(k, errors, true);
}

std::string systemHistoryRow(const SystemHistoryRow& row, std::string_view system, bool errors) {
    return rowText(row.interval, row.t, row.expo, row.halfWidth ? row.halfWidth->data() : nullptr, system, errors);
}

SystemHistoryReader::SystemHistoryReader(std::istream& in, std::string system, std::size_t k, bool errors,
                                         std::string name, std::int64_t firstLine)
    : lines_(in),
      system_(std::move(system)),
      k_(k),
      errors_(errors),
      name_(std::move(name)),
      lineNumber_(firstLine - 1) {}

std::optional<SystemHistoryRow> SystemHistoryReader::next() {
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
    const std::size_t first = system_.empty() ? 1 : 2;  // the field of t
    SystemHistoryRow row;
    bool ok = fields.size() == first + 1 + k_ * (errors_ ? 2 : 1);
    // A name (it starts with a letter), but another flow's.
    if (ok && !system_.empty() && fields[1] != system_ && !fields[1].empty() &&
        std::isalpha(static_cast<unsigned char>(fields[1][0]))) {
        error_ = where + " is a row of the history of " + std::string(fields[1]) + ", not of " + system_;
        return std::nullopt;
    }
    const auto interval = ok ? wholeField(fields[0]) : std::nullopt;
    ok = ok && interval && *interval > 0;
    const auto t = ok ? numberField(fields[first]) : std::nullopt;
    ok = ok && t && *t > 0;
    for (std::size_t i = 0; ok && i < k_; ++i) {
        const auto v = numberField(fields[first + 1 + i]);
        ok = v && possibleEstimate(*v, *interval, *t);
        if (ok) row.expo.push_back(*v);
    }
    if (ok && errors_ && !fields[first + 1 + k_].empty()) {
        row.halfWidth.emplace();
        for (std::size_t i = 0; ok && i < k_; ++i) {
            const auto v = numberField(fields[first + 1 + k_ + i]);
            ok = v && *v >= 0;
            if (ok) row.halfWidth->push_back(*v);
        }
    }
    if (ok) {
        row.interval = *interval;
        row.t = *t;
        ok = rowText(row.interval, row.t, row.expo, row.halfWidth ? row.halfWidth->data() : nullptr, system_,
                     errors_) == line_;
    }
    if (!ok) {
        error_ = where + " is not a row of a history" + (system_.empty() ? "" : " of " + system_);
        return std::nullopt;
    }
    if (previous_ && (row.interval <= previous_->interval || row.t <= previous_->t)) {
        error_ = where + " does not follow the row before it (its interval and t must be larger)";
        return std::nullopt;
    }
    previous_ = row;
    return row;
}

HistoryReader::HistoryReader(std::istream& in, bool errors, std::string name, std::int64_t firstLine)
    : rows_(in, {}, 3, errors, std::move(name), firstLine) {}

std::optional<HistoryRow> HistoryReader::next() {
    const auto got = rows_.next();
    if (!got) return std::nullopt;
    HistoryRow row{got->interval, got->t, {got->expo[0], got->expo[1], got->expo[2]}, std::nullopt};
    if (got->halfWidth) row.halfWidth = Triple{(*got->halfWidth)[0], (*got->halfWidth)[1], (*got->halfWidth)[2]};
    return row;
}

}  // namespace veltrano
