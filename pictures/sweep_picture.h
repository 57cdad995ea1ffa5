#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "heat_map.h"
#include "line_chart.h"
#include "sweep_runner.h"
#include "trace_check.h"

namespace veltrano::pictures {

// Gathers what the picture of a sweep needs as the points arrive, in a
// bounded space however large the sweep: a line keeps at most kMaxBins
// averaged bins, a grid at most kMaxCells cells a side.
class SweepPicture {
public:
    static constexpr std::int64_t kMaxBins = 20000;
    static constexpr std::int64_t kMaxCells = 1000;

    // The title names the fixed parameters, then n where the rows tell it
    // exactly: with `rowsHoldIntervals` (a file with error bars has the
    // measured intervals of every row), when every completed point did the
    // same number; then `run` (may be empty).
    SweepPicture(const SweepGrid& grid, std::string run, bool rowsHoldIntervals = false);
    // A point of the grid with its status: an inconsistent point keeps its
    // numbers but is drawn apart from the ok points; a point stopped by a
    // fault has none.
    void add(const SweepPoint& point, PointStatus status);
    // `only` = 1, 2 or 3 draws that exponent alone; 0 all three.
    [[nodiscard]] LineChart lineChart(int only = 0) const;
    // The map of λ`only` (1, 2 or 3; 0 is λ1).
    [[nodiscard]] HeatMap heatMap(int only = 0) const;
    [[nodiscard]] bool isMap() const { return grid_.axisCount == 2; }

private:
    // The points of one bin: those ok, those with error bars among them,
    // those stopped by a fault and those inconsistent.
    struct Cell {
        double x = 0;
        std::array<double, 3> sum{};
        std::array<double, 3> errorSum{};
        std::array<double, 3> inconsistentSum{};
        std::int64_t ok = 0;
        std::int64_t withErrors = 0;
        std::int64_t errors = 0;
        std::int64_t inconsistent = 0;
    };
    [[nodiscard]] std::string context() const;

    SweepGrid grid_;
    std::string run_;
    bool rowsHoldIntervals_ = false;
    std::optional<std::int64_t> intervals_;  // of the completed points so far
    bool intervalsDiffer_ = false;
    std::int64_t columns_ = 0;
    std::int64_t rows_ = 1;
    std::vector<Cell> cells_;
};

}  // namespace veltrano::pictures
