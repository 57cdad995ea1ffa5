#include "plot_command.h"

#include <charconv>
#include <fstream>
#include <iostream>
#include <optional>
#include <vector>

#include "command_line.h"
#include "history_command.h"
#include "history_picture.h"
#include "output_file.h"
#include "picture_file.h"
#include "plot_plugin.h"
#include "precise_text.h"
#include "sweep_csv.h"
#include "sweep_picture.h"

namespace veltrano::cli {

namespace {

int say(const std::string& message, int status) {
    std::cerr << "veltrano-cli plot: " << message << '\n';
    return status;
}

std::vector<std::string_view> fieldsOf(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const auto comma = line.find(',', start);
        fields.push_back(line.substr(start, comma == std::string_view::npos ? comma : comma - start));
        if (comma == std::string_view::npos) return fields;
        start = comma + 1;
    }
}

std::optional<double> number(std::string_view field) {
    double v = 0;
    const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), v);
    if (ec != std::errc{} || end != field.data() + field.size() || !(v - v == 0) || preciseText(v) != field)
        return std::nullopt;
    return v;
}

// A history's rows: interval, t, the three estimates and, with error bars,
// their half-widths (all three or none).
std::variant<pictures::HistoryPicture, std::string> readHistory(std::istream& in, bool errors, const std::string& name) {
    pictures::HistoryPicture picture;
    std::string line;
    std::int64_t previous = 0, row = 1;
    while (std::getline(in, line)) {
        ++row;
        const std::string where = name + " line " + std::to_string(row) + " is not a row of a history";
        const auto fields = fieldsOf(line);
        if (fields.size() != (errors ? 8U : 5U)) return where;
        std::int64_t interval = 0;
        const auto [end, ec] = std::from_chars(fields[0].data(), fields[0].data() + fields[0].size(), interval);
        if (ec != std::errc{} || end != fields[0].data() + fields[0].size() || interval <= previous ||
            std::to_string(interval) != fields[0])
            return where;
        previous = interval;
        double values[4];
        for (std::size_t i = 0; i < 4; ++i) {
            const auto v = number(fields[i + 1]);
            if (!v) return where;
            values[i] = *v;
        }
        std::optional<Triple> widths;
        if (errors && !fields[5].empty()) {
            Triple w{};
            for (std::size_t k = 0; k < 3; ++k) {
                const auto v = number(fields[5 + k]);
                if (!v) return where;
                w[k] = *v;
            }
            widths = w;
        } else if (errors && (!fields[6].empty() || !fields[7].empty())) {
            return where;
        }
        picture.add(interval, values[0], {values[1], values[2], values[3]}, widths);
    }
    if (picture.empty()) return name + " has no rows to draw";
    return picture;
}

double valueOf(const FlowParameters& p, SweepParameter which) {
    return which == SweepParameter::Sigma ? p.sv : which == SweepParameter::R ? p.rv : p.bv;
}

// Reads the rows of a sweep in order, each exactly as this program writes
// it, from index 0 on.
class SweepRows {
public:
    SweepRows(std::istream& in, bool errors, std::string name) : in_(in), errors_(errors), name_(std::move(name)) {}
    // The next row, nullopt at the end; `error` says why reading stopped early.
    std::optional<SweepPoint> next() {
        if (!std::getline(in_, line_)) return std::nullopt;
        auto point = parseSweepRow(line_, errors_);
        if (!point || point->index != count_) {
            error = name_ + " line " + std::to_string(count_ + 2) + " is not row " + std::to_string(count_) +
                    " of a sweep (a sweep's file, whole or with its shards joined, starts at index 0)";
            return std::nullopt;
        }
        ++count_;
        return point;
    }
    std::string error;

private:
    std::istream& in_;
    bool errors_;
    std::string name_, line_;
    std::int64_t count_ = 0;
};

// The grid of a sweep, found from its rows: the parameter that changes from
// the first row to the second varies fastest, the other (if any) slowest;
// the values run evenly from the first to the last, as sweep makes them.
std::variant<SweepGrid, std::string> gridOf(std::istream& in, bool errors, const std::string& name) {
    SweepRows rows(in, errors, name);
    std::optional<SweepPoint> first = rows.next(), second, last;
    if (!first) return rows.error.empty() ? name + " has no rows to draw" : rows.error;
    std::optional<SweepParameter> fast, slow;
    std::int64_t count = 1, across = 0;
    while (const auto p = rows.next()) {
        if (count == 1) {
            second = p;
            for (SweepParameter which : {SweepParameter::Sigma, SweepParameter::R, SweepParameter::B})
                if (valueOf(p->parameters, which) != valueOf(first->parameters, which)) {
                    if (fast) return name + " is not a line or a grid of a sweep";
                    fast = which;
                }
        } else if (!across && fast) {
            for (SweepParameter which : {SweepParameter::Sigma, SweepParameter::R, SweepParameter::B})
                if (which != *fast && valueOf(p->parameters, which) != valueOf(first->parameters, which)) {
                    if (slow) return name + " is not a line or a grid of a sweep";
                    slow = which;
                    across = count;
                }
        }
        last = p;
        ++count;
    }
    if (!rows.error.empty()) return rows.error;
    SweepGrid grid;
    grid.base = first->parameters;
    if (!slow) {
        const SweepParameter which = fast.value_or(SweepParameter::R);
        const double to = valueOf((last ? *last : *first).parameters, which);
        grid.axes[0] = {which, valueOf(first->parameters, which), to, count, {}};
        grid.axisCount = count > 1 || fast ? 1 : 0;
        return grid;
    }
    if (count % across != 0) return name + " is not a whole grid";
    grid.axes[0] = {*slow, valueOf(first->parameters, *slow), valueOf(last->parameters, *slow), count / across, {}};
    grid.axes[1] = {*fast, valueOf(first->parameters, *fast), valueOf(last->parameters, *fast), across, {}};
    grid.axisCount = 2;
    return grid;
}

// Two passes over the file, so that memory stays flat however many rows
// it has: the first finds the grid, the second draws the rows into it.
std::variant<pictures::SweepPicture, std::string> readSweep(const std::string& input, bool errors) {
    std::ifstream in(input, std::ios::binary);
    std::string header;
    std::getline(in, header);
    auto found = gridOf(in, errors, input);
    if (const auto* why = std::get_if<std::string>(&found)) return *why;
    const SweepGrid& grid = std::get<SweepGrid>(found);
    std::ifstream again(input, std::ios::binary);
    std::getline(again, header);
    SweepRows rows(again, errors, input);
    pictures::SweepPicture picture(grid, {});
    while (const auto p = rows.next()) {
        const FlowParameters expected = grid.pointAt(p->index);
        if (p->parameters.sv != expected.sv || p->parameters.rv != expected.rv || p->parameters.bv != expected.bv)
            return input + " row " + std::to_string(p->index) + " does not lie on the evenly spaced grid of a sweep";
        picture.add(*p, p->result.completed ? PointStatus::Ok : PointStatus::Error);
    }
    if (!rows.error.empty()) return rows.error;
    return picture;
}

}  // namespace

int runPlot(const std::string& input, const std::string& output, int only) {
    if (!supportedPictureFile(output)) return say(output + ": the picture's name must end in .png or .svg", kExitRefused);
    if (const std::string why = picturesUnavailable(); !why.empty()) return say(why, kExitRefused);
    if (const auto why = checkPicturePath(output, input)) return say(why->message, kExitRefused);
    std::ifstream in(input, std::ios::binary);
    if (!in) return say("cannot read " + input, kExitRefused);
    std::string header;
    std::getline(in, header);
    std::string error;
    if (header == historyHeader(false) || header == historyHeader(true)) {
        auto picture = readHistory(in, header == historyHeader(true), input);
        if (const auto* why = std::get_if<std::string>(&picture)) return say(*why, kExitRefused);
        error = writePictureFile(std::get<pictures::HistoryPicture>(picture).chart("n = " + std::to_string(std::get<pictures::HistoryPicture>(picture).lastInterval()), only), output);
    } else if (header == sweepHeader(false) || header == sweepHeader(true)) {
        auto picture = readSweep(input, header == sweepHeader(true));
        if (const auto* why = std::get_if<std::string>(&picture)) return say(*why, kExitRefused);
        error = writePictureFile(std::get<pictures::SweepPicture>(picture), output, only);
    } else {
        return say(input + " is not a history or a sweep written by veltrano-cli (its first line is not their header)",
                   kExitRefused);
    }
    return error.empty() ? kExitOk : say(error, kExitFailed);
}

}  // namespace veltrano::cli
