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
    if (ec != std::errc{} || end != field.data() + field.size()) return std::nullopt;
    return v;
}

}  // namespace

std::string sweepRow(const SweepPoint& point) {
    std::string row = std::to_string(point.index);
    for (double v : {point.parameters.sv, point.parameters.rv, point.parameters.bv, point.result.t})
        row += ',' + preciseText(v);
    if (!point.result.completed) return row + ",,,,,error";
    for (double v : point.result.expo) row += ',' + preciseText(v);
    return row + ',' + preciseText(kaplanYorke(point.result.expo)) + ",ok";
}

std::optional<SweepPoint> parseSweepRow(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const auto comma = line.find(',', start);
        fields.push_back(line.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos) break;
        start = comma + 1;
    }
    if (fields.size() != 10) return std::nullopt;
    SweepPoint p;
    const auto [end, ec] = std::from_chars(fields[0].data(), fields[0].data() + fields[0].size(), p.index);
    if (ec != std::errc{} || end != fields[0].data() + fields[0].size()) return std::nullopt;
    double* numbers[] = {&p.parameters.sv, &p.parameters.rv, &p.parameters.bv, &p.result.t};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto v = number(fields[i + 1]);
        if (!v) return std::nullopt;
        *numbers[i] = *v;
    }
    p.result.completed = fields[9] == "ok";
    if (!p.result.completed) {
        if (fields[9] != "error") return std::nullopt;
        for (std::size_t i = 5; i < 9; ++i)
            if (!fields[i].empty()) return std::nullopt;
        return p;
    }
    for (std::size_t k = 0; k < 3; ++k) {
        const auto v = number(fields[5 + k]);
        if (!v) return std::nullopt;
        p.result.expo[k] = *v;
    }
    if (!number(fields[8])) return std::nullopt;
    return p;
}

}  // namespace veltrano::cli
