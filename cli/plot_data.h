#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plot.h"
#include "parameters.h"
#include "sweep_runner.h"

namespace veltrano::cli {

// How a parameter is written in a picture's titles: σ, R, b.
[[nodiscard]] std::string symbolOf(SweepParameter p);
// A value in a title: the shortest text that reads back as the same double.
[[nodiscard]] std::string shortText(double v);

// The picture of a history: the three estimates against t.
[[nodiscard]] plot::LineChart historyChart(const Parameters& p, const std::vector<double>& t,
                                           const std::array<std::vector<double>, 3>& expo);

// Gathers what the picture of a sweep needs as the points arrive, in a
// bounded space however large the sweep: a line keeps at most kMaxBins
// averaged bins, a grid at most kMaxCells cells a side.
class SweepPicture {
public:
    static constexpr std::int64_t kMaxBins = 20000;
    static constexpr std::int64_t kMaxCells = 1000;

    explicit SweepPicture(const SweepGrid& grid);
    void add(const SweepPoint& point);
    // Writes the picture; returns an empty text or what went wrong.
    [[nodiscard]] std::string write(const std::string& path) const;

private:
    struct Cell {
        double x = 0;
        std::array<double, 3> sum{};
        std::int64_t ok = 0;
        std::int64_t errors = 0;
    };
    [[nodiscard]] std::string fixedParameters() const;

    SweepGrid grid_;
    std::int64_t columns_ = 0;
    std::int64_t rows_ = 1;
    std::vector<Cell> cells_;
};

}  // namespace veltrano::cli
