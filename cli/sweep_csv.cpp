#include "sweep_csv.h"

#include <charconv>
#include <vector>

#include "kaplan_yorke.h"
#include "precise_text.h"

namespace veltrano::cli {

namespace {

std::optional<double> number(std::string_view field) {
    double v = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), v);
    if (ec != std::errc{} || end != field.data() + field.size() || !(v - v == 0)) return std::nullopt;
    return v;
}

std::optional<std::int64_t> whole(std::string_view field) {
    std::int64_t v = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), v);
    if (ec != std::errc{} || end != field.data() + field.size()) return std::nullopt;
    return v;
}

std::optional<SweepPoint> readFields(const std::vector<std::string_view>& fields, bool errors) {
    if (fields.size() != (errors ? 14U : 10U)) return std::nullopt;
    SweepPoint p;
    const auto index = whole(fields[0]);
    if (!index) return std::nullopt;
    p.index = *index;
    double* numbers[] = {&p.parameters.sv, &p.parameters.rv, &p.parameters.bv, &p.result.t};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto v = number(fields[i + 1]);
        if (!v) return std::nullopt;
        *numbers[i] = *v;
    }
    p.result.completed = fields[9] == "ok";
    if (!p.result.completed && fields[9] != "error") return std::nullopt;
    for (std::size_t k = 0; k < 3 && p.result.completed; ++k) {
        const auto v = number(fields[5 + k]);
        if (!v) return std::nullopt;
        p.result.expo[k] = *v;
    }
    if (!errors) return p;
    const auto intervals = whole(fields[10]);
    if (!intervals) return std::nullopt;
    p.result.intervals = *intervals;
    p.result.errorsKnown = !fields[11].empty();
    for (std::size_t k = 0; k < 3 && p.result.errorsKnown; ++k) {
        const auto v = number(fields[11 + k]);
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

std::string sweepRow(const SweepPoint& point, bool errors) {
    const PointResult& r = point.result;
    std::string row = std::to_string(point.index);
    for (double v : {point.parameters.sv, point.parameters.rv, point.parameters.bv, r.t}) row += ',' + preciseText(v);
    if (r.completed) {
        for (double v : r.expo) row += ',' + preciseText(v);
        row += ',' + preciseText(kaplanYorke(r.expo)) + ",ok";
    } else {
        row += ",,,,,error";
    }
    if (!errors) return row;
    row += ',' + std::to_string(r.intervals);
    if (r.completed && r.errorsKnown) {
        for (double v : r.halfWidth) row += ',' + preciseText(v);
    } else {
        row += ",,,";
    }
    return row;
}

std::optional<SweepPoint> parseSweepRow(std::string_view line, bool errors) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const auto comma = line.find(',', start);
        fields.push_back(line.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    auto point = readFields(fields, errors);
    // Only what this program writes: the same digits, empty fields where it
    // leaves them empty, the dimension of the exponents.
    if (!point || sweepRow(*point, errors) != line) return std::nullopt;
    return point;
}

}  // namespace veltrano::cli
