#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "plot.h"
#include "sweep_runner.h"

namespace veltrano::cli {

// How a parameter is written in a picture's titles: σ, R, b.
[[nodiscard]] std::string symbolOf(SweepParameter p);

// The rows of a history that its picture shows, in a bounded space however
// long the run: every interval up to 1000, then about a thousand rows for
// each tenfold of t (the axis of t is logarithmic), and always the last.
class HistoryPicture {
public:
    void add(std::int64_t interval, double t, const Triple& expo, const std::optional<Triple>& halfWidth);
    // `context` follows the title (the parameters and the run, where known).
    // `only` = 1, 2 or 3 draws that exponent alone (with error bars, where
    // they are known); 0 draws all three.
    [[nodiscard]] plot::LineChart chart(const std::string& context, int only = 0) const;
    [[nodiscard]] bool empty() const { return t_.empty() && !last_; }
    [[nodiscard]] std::int64_t lastInterval() const { return lastInterval_; }

private:
    struct Row {
        double t;
        Triple expo;
        std::optional<Triple> halfWidth;
    };
    void keep(const Row& row);
    std::vector<double> t_;
    std::array<std::vector<double>, 3> expo_, low_, high_;
    bool anyErrors_ = false;
    std::int64_t lastBucket_ = -1;
    std::int64_t lastInterval_ = 0;
    std::optional<Row> last_;  // the newest row, if not kept yet
};

// Gathers what the picture of a sweep needs as the points arrive, in a
// bounded space however large the sweep: a line keeps at most kMaxBins
// averaged bins, a grid at most kMaxCells cells a side.
class SweepPicture {
public:
    static constexpr std::int64_t kMaxBins = 20000;
    static constexpr std::int64_t kMaxCells = 1000;

    // `run` follows the fixed parameters in the title (may be empty).
    SweepPicture(const SweepGrid& grid, std::string run);
    void add(const SweepPoint& point);
    [[nodiscard]] plot::LineChart lineChart(int only = 0) const;
    [[nodiscard]] plot::HeatMap heatMap() const;
    [[nodiscard]] bool isMap() const { return grid_.axisCount == 2; }

private:
    struct Cell {
        double x = 0;
        std::array<double, 3> sum{};
        std::array<double, 3> errorSum{};
        std::int64_t ok = 0;
        std::int64_t withErrors = 0;
        std::int64_t errors = 0;
    };
    [[nodiscard]] std::string context() const;

    SweepGrid grid_;
    std::string run_;
    std::int64_t columns_ = 0;
    std::int64_t rows_ = 1;
    std::vector<Cell> cells_;
};

}  // namespace veltrano::cli
