#pragma once

#include <cstdint>
#include <string>

#include "run_settings.h"
#include "sweep_grid.h"

namespace veltrano::explorer {

// One axis of the map: a parameter from `from` (first cell) to `to` (last
// cell) in `count` evenly spaced values, as veltrano-cli sweep --vary
// NAME=FROM:TO:COUNT takes them.
struct MapAxis {
    SweepParameter parameter = SweepParameter::Sigma;
    double from = 0.0;
    double to = 1.0;
    int count = 1;
    friend bool operator==(const MapAxis&, const MapAxis&) = default;
};

// Everything a map is computed from: its two axes (x across, y up), the
// value of every parameter (the one not on an axis keeps it) and the run.
struct MapSettings {
    static constexpr int kMaxCells = 2000;  // a side

    MapAxis x{SweepParameter::Sigma, 0.0, 40.0, 400};
    MapAxis y{SweepParameter::R, 0.0, 200.0, 300};
    FlowParameters base{10.0, 28.0, 2.6667};
    RunSettings run = defaultRun();

    [[nodiscard]] static RunSettings defaultRun();
    [[nodiscard]] std::int64_t size() const { return std::int64_t{x.count} * y.count; }
    // The parameter that stays fixed.
    [[nodiscard]] SweepParameter fixedParameter() const;
    friend bool operator==(const MapSettings& a, const MapSettings& b);
};

// The points of the map as a sweep: the x axis first (varying slowest), so
// the point of cell (column c, row r counted from the bottom) has the index
// c * rows + r, the order veltrano-cli sweep writes it in.
[[nodiscard]] SweepGrid gridOf(const MapSettings& s);
[[nodiscard]] inline std::int64_t indexOf(const MapSettings& s, int column, int row) {
    return std::int64_t{column} * s.y.count + row;
}

[[nodiscard]] double valueOf(const FlowParameters& p, SweepParameter which);
void setValue(FlowParameters& p, SweepParameter which, double v);

// A number as the command line reads it back to the same double: the
// shortest such text in plain decimal digits (no exponent).
[[nodiscard]] std::string exactText(double v);

// The veltrano-cli sweep line and the Python call that compute exactly this
// map (the same points, in the CLI's case the same bytes).
[[nodiscard]] std::string commandLine(const MapSettings& s);
[[nodiscard]] std::string pythonCall(const MapSettings& s);

}  // namespace veltrano::explorer
