#include "sweep_rows.h"

#include <vector>

#include "csv_fields.h"
#include "kaplan_yorke.h"
#include "precise_text.h"

namespace veltrano {

namespace {

std::optional<SweepPoint> readFields(const std::vector<std::string_view>& fields, bool errors) {
    if (fields.size() != (errors ? 14U : 10U)) return std::nullopt;
    SweepPoint p;
    const auto index = wholeField(fields[0]);
    if (!index) return std::nullopt;
    p.index = *index;
    double* numbers[] = {&p.parameters.sv, &p.parameters.rv, &p.parameters.bv, &p.result.t};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto v = finiteField(fields[i + 1]);
        if (!v) return std::nullopt;
        *numbers[i] = *v;
    }
    p.result.completed = fields[9] != "error";
    for (std::size_t k = 0; k < 3 && p.result.completed; ++k) {
        const auto v = finiteField(fields[5 + k]);
        if (!v) return std::nullopt;
        p.result.expo[k] = *v;
    }
    if (!errors) return p;
    const auto intervals = wholeField(fields[10]);
    if (!intervals) return std::nullopt;
    p.result.intervals = *intervals;
    p.result.errorsKnown = !fields[11].empty();
    for (std::size_t k = 0; k < 3 && p.result.errorsKnown; ++k) {
        const auto v = finiteField(fields[11 + k]);
        if (!v) return std::nullopt;
        p.result.halfWidth[k] = *v;
    }
    return p;
}

}  // namespace

std::string sweepHeader(bool errors) {
    std::string header(kSweepHeader);
    if (errors) header += kSweepErrorColumns;
    return header;
}

std::string_view statusWord(PointStatus status) {
    switch (status) {
        case PointStatus::Ok:
            return "ok";
        case PointStatus::Inconsistent:
            return "inconsistent";
        case PointStatus::Error:
            break;
    }
    return "error";
}

namespace {

// The line of a point with the status given.
std::string rowText(const SweepPoint& point, bool errors, std::string_view status) {
    const PointResult& r = point.result;
    std::string row = std::to_string(point.index);
    for (double v : {point.parameters.sv, point.parameters.rv, point.parameters.bv, r.t}) row += ',' + preciseText(v);
    if (r.completed) {
        for (double v : r.expo) row += ',' + preciseText(v);
        row += ',' + preciseText(kaplanYorke(r.expo));
    } else {
        row += ",,,,";
    }
    row += ',';
    row += status;
    if (!errors) return row;
    row += ',' + std::to_string(r.intervals);
    if (r.completed && r.errorsKnown) {
        for (double v : r.halfWidth) row += ',' + preciseText(v);
    } else {
        row += ",,,";
    }
    return row;
}

}  // namespace

std::string sweepRow(const SweepPoint& point, const RunSettings& settings) {
    return rowText(point, settings.errors, statusWord(statusOf(point.result, point.parameters, settings)));
}

std::optional<SweepPoint> parseSweepRow(std::string_view line, bool errors, PointStatus* status) {
    const auto fields = csvFields(line);
    auto point = readFields(fields, errors);
    // Only what this program writes: the same digits, empty fields where it
    // leaves them empty, the dimension of the exponents, a status it writes.
    if (!point) return std::nullopt;
    const std::string_view written = fields[9];
    std::optional<PointStatus> known;
    // (readFields took "error" for a point without exponents, any other
    // word for one with them.)
    for (PointStatus s : {PointStatus::Ok, PointStatus::Inconsistent, PointStatus::Error})
        if (written == statusWord(s)) known = s;
    if (!known || rowText(*point, errors, written) != line) return std::nullopt;
    if (status) *status = *known;
    return point;
}

}  // namespace veltrano
