#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "run_settings.h"
#include "sweep_grid.h"
#include "system_description.h"
#include "system_run.h"

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

// A flow of the catalogue other than Lorenz, or one the user typed: its
// name and dimension, the
// value of every parameter in the catalogue's order (those on an axis take
// the axis's values), which parameters lie across and up, the starting
// point (d values) and the number k of exponents computed. A flow of one
// parameter has it across and one row, no parameter up. A typed flow is
// named kTypedName and keeps its text in `equations` (empty for a flow of
// the catalogue); its parameters are in the order of the text.
struct SystemMap {
    static constexpr std::size_t kNoAxis = static_cast<std::size_t>(-1);
    static constexpr const char* kTypedName = "equations";
    std::string name;
    std::string equations;
    std::size_t dimension = 0;
    std::vector<double> values;
    std::size_t across = 0;
    std::size_t up = 1;
    std::vector<double> initial;
    std::size_t exponents = 0;
    friend bool operator==(const SystemMap&, const SystemMap&) = default;
};

// Everything a map is computed from: its two axes (x across, y up), the
// value of every parameter (the one not on an axis keeps it) and the run.
// Without `system` the map is of Lorenz over two of σ, R and b (x, y and
// base); with it, of that flow (x and y give the ranges and counts, and the
// run's initial point is the system's).
struct MapSettings {
    static constexpr int kMaxCells = 2000;  // a side

    MapAxis x{SweepParameter::Sigma, 0.0, 40.0, 400};
    MapAxis y{SweepParameter::R, 0.0, 200.0, 300};
    FlowParameters base{10.0, 28.0, 2.6667};
    RunSettings run = defaultRun();
    std::optional<SystemMap> system;

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

// The map of `flow` (not Lorenz) at its defaults: its first two parameters
// over the catalogue's ranges with `columns` x `rows` cells (one row for a
// flow of one parameter), its start, all d exponents, `run`. nullopt for a
// flow without parameters, which has nothing to map.
[[nodiscard]] std::optional<MapSettings> systemDefaults(const SystemDescription& flow, int columns, int rows,
                                                        const RunSettings& run);
// The catalogue's description of the flow of a system map, at its
// dimension; of a typed flow, the description of its text
// (typedFlowDescription, texts_and_rules/typed_flow.h).
[[nodiscard]] SystemDescription descriptionOf(const SystemMap& m);
// The parameters of the cell with index `index` of a system map.
[[nodiscard]] std::vector<double> systemPoint(const MapSettings& s, std::int64_t index);
// The engine's settings of a system map.
[[nodiscard]] SystemSettings systemRun(const MapSettings& s);
// The flow's name as files name it: "rossler", or "lorenz96:8" where the
// dimension is chosen.
[[nodiscard]] std::string systemKey(const SystemMap& m);

[[nodiscard]] double valueOf(const FlowParameters& p, SweepParameter which);
void setValue(FlowParameters& p, SweepParameter which, double v);

// A number as the command line reads it back to the same double: the
// shortest such text in plain decimal digits (no exponent).
[[nodiscard]] std::string exactText(double v);

// The veltrano-cli sweep line and the Python call that compute exactly this
// map (the same points, in the CLI's case the same bytes). Of a typed flow,
// the line reads the text from standard input, given after it as a shell
// here-document (`<<'EOF'`, the text, `EOF`), and there is no Python call
// (empty).
[[nodiscard]] std::string commandLine(const MapSettings& s);
[[nodiscard]] std::string pythonCall(const MapSettings& s);

}  // namespace veltrano::explorer
