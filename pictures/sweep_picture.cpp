#include "sweep_picture.h"

#include <cmath>

#include "number_text.h"
#include "picture_texts.h"

namespace veltrano::pictures {

SweepPicture::SweepPicture(const SweepGrid& grid, std::string run, bool rowsHoldIntervals)
    : grid_(grid), run_(std::move(run)), rowsHoldIntervals_(rowsHoldIntervals) {
    if (grid_.axisCount == 0) {
        // One point: a line of one value of R.
        grid_.axes[0] = {SweepParameter::R, grid.base.rv, grid.base.rv, 1, {}};
        grid_.axisCount = 1;
    }
    columns_ = std::min(grid_.axes[0].count, grid_.axisCount == 1 ? kMaxBins : kMaxCells);
    if (grid_.axisCount == 2) rows_ = std::min(grid_.axes[1].count, kMaxCells);
    cells_.resize(static_cast<std::size_t>(columns_ * rows_));
    for (std::int64_t c = 0; c < columns_; ++c) {
        // A bin stands at the value of its first point.
        const std::int64_t first = (c * grid_.axes[0].count + columns_ - 1) / columns_;
        for (std::int64_t r = 0; r < rows_; ++r)
            cells_[static_cast<std::size_t>(r * columns_ + c)].x = grid_.axes[0].valueAt(first);
    }
}

void SweepPicture::add(const SweepPoint& point, PointStatus status) {
    const auto position = grid_.positionOf(point.index);
    const std::int64_t c = position[0] * columns_ / grid_.axes[0].count;
    const std::int64_t r = grid_.axisCount == 2 ? position[1] * rows_ / grid_.axes[1].count : 0;
    Cell& cell = cells_[static_cast<std::size_t>(r * columns_ + c)];
    if (status == PointStatus::Error) {
        ++cell.errors;
        return;
    }
    if (!intervals_) intervals_ = point.result.intervals;
    intervalsDiffer_ |= *intervals_ != point.result.intervals;
    if (status == PointStatus::Inconsistent) {
        ++cell.inconsistent;
        for (std::size_t k = 0; k < 3; ++k) cell.inconsistentSum[k] += point.result.expo[k];
        return;
    }
    ++cell.ok;
    for (std::size_t k = 0; k < 3; ++k) cell.sum[k] += point.result.expo[k];
    if (point.result.errorsKnown) {
        ++cell.withErrors;
        for (std::size_t k = 0; k < 3; ++k) cell.errorSum[k] += point.result.halfWidth[k];
    }
}

std::string SweepPicture::context() const {
    std::string text;
    const struct {
        SweepParameter p;
        double v;
    } all[] = {{SweepParameter::Sigma, grid_.base.sv}, {SweepParameter::R, grid_.base.rv}, {SweepParameter::B, grid_.base.bv}};
    for (const auto& [p, v] : all) {
        bool varied = false;
        for (int a = 0; a < grid_.axisCount; ++a) varied |= grid_.axes[static_cast<std::size_t>(a)].parameter == p;
        if (!varied) text += (text.empty() ? "" : ", ") + symbolOf(p) + " = " + shortest(v);
    }
    if (rowsHoldIntervals_ && intervals_ && !intervalsDiffer_)
        text += std::string(text.empty() ? "" : ", ") + "n = " + std::to_string(*intervals_);
    if (!run_.empty()) text += (text.empty() ? "" : ", ") + run_;
    return text;
}

LineChart SweepPicture::lineChart(int only) const {
    const SweepAxis& first = grid_.axes[0];
    LineChart chart;
    chart.title = "Lyapunov exponents against " + symbolOf(first.parameter);
    const std::string fixed = context();
    if (!fixed.empty()) chart.title += " — " + fixed;
    chart.xTitle = symbolOf(first.parameter);
    chart.yTitle = "λ";
    MarkedPoints faults{PointMark::Fault, "arithmetic error (no result)", {}, {}};
    MarkedPoints inconsistent{PointMark::Inconsistent, "inconsistent: λ1 + λ2 + λ3 ≠ −(σ + 1 + b)", {}, {}};
    std::array<std::vector<double>, 3> y, low, high;
    std::vector<double> x;
    bool anyErrors = false;
    for (const Cell& cell : cells_) {
        if (cell.errors > 0) {
            faults.x.push_back(cell.x);
            faults.y.push_back(0.0);
        }
        for (std::size_t k = 0; k < 3 && cell.inconsistent > 0; ++k) {
            if (only != 0 && k + 1 != static_cast<std::size_t>(only)) continue;
            inconsistent.x.push_back(cell.x);
            inconsistent.y.push_back(cell.inconsistentSum[k] / static_cast<double>(cell.inconsistent));
        }
        if (cell.ok == 0) continue;
        x.push_back(cell.x);
        // A band only where every point of the bin has its error bar.
        const bool known = cell.withErrors == cell.ok;
        anyErrors |= cell.withErrors > 0;
        for (std::size_t k = 0; k < 3; ++k) {
            const double mean = cell.sum[k] / static_cast<double>(cell.ok);
            const double width = known ? cell.errorSum[k] / static_cast<double>(cell.ok) : std::nan("");
            y[k].push_back(mean);
            low[k].push_back(mean - width);
            high[k].push_back(mean + width);
        }
    }
    for (std::size_t k = 0; k < 3; ++k) {
        if (only != 0 && k + 1 != static_cast<std::size_t>(only)) continue;
        Curve curve{lambdaName(k), x, y[k], {}, {}};
        if (anyErrors) curve.low = low[k], curve.high = high[k];
        chart.curves.push_back(std::move(curve));
    }
    if (!faults.x.empty()) chart.marks.push_back(std::move(faults));
    if (!inconsistent.x.empty()) chart.marks.push_back(std::move(inconsistent));
    return chart;
}

HeatMap SweepPicture::heatMap(int only) const {
    const SweepAxis& first = grid_.axes[0];
    const SweepAxis& second = grid_.axes[1];
    const auto k = static_cast<std::size_t>(only > 0 ? only - 1 : 0);
    HeatMap map = sweepMap(first, second, columns_, rows_, lambdaName(k));
    map.title = lambdaName(k) + " over " + symbolOf(first.parameter) + " and " + symbolOf(second.parameter);
    const std::string fixed = context();
    if (!fixed.empty()) map.title += " — " + fixed;
    map.xTitle = symbolOf(first.parameter);
    map.yTitle = symbolOf(second.parameter);
    for (const Cell& cell : cells_) addSweepCell(map, cell.sum[k], cell.ok, cell.inconsistent, cell.errors);
    return map;
}

}  // namespace veltrano::pictures
