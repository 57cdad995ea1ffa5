#include "plot_data.h"

#include <charconv>
#include <cmath>

namespace veltrano::cli {

namespace {

// λ1, λ2, λ3.
std::string lambdaName(std::size_t k) {
    std::string name = "λ";
    name += static_cast<char>('1' + k);
    return name;
}

}  // namespace

std::string symbolOf(SweepParameter p) {
    return p == SweepParameter::Sigma ? "σ" : std::string(parameterName(p));
}

std::string shortText(double v) {
    char buf[32];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

plot::LineChart historyChart(const Parameters& p, const std::vector<double>& t,
                             const std::array<std::vector<double>, 3>& expo) {
    plot::LineChart chart;
    chart.title = "Convergence of the Lyapunov exponents — σ = " + shortText(p.sigma) + ", R = " + shortText(p.R) +
                  ", b = " + shortText(p.b) + ", n = " + std::to_string(p.n);
    chart.xTitle = "t (logarithmic)";
    chart.logX = true;
    chart.yTitle = "estimate of λ";
    for (std::size_t k = 0; k < 3; ++k) chart.curves.push_back({lambdaName(k), t, expo[k]});
    return chart;
}

SweepPicture::SweepPicture(const SweepGrid& grid) : grid_(grid) {
    columns_ = std::min(grid.axes[0].count, grid.axisCount == 1 ? kMaxBins : kMaxCells);
    if (grid.axisCount == 2) rows_ = std::min(grid.axes[1].count, kMaxCells);
    cells_.resize(static_cast<std::size_t>(columns_ * rows_));
    for (std::int64_t c = 0; c < columns_; ++c) {
        // A bin stands at the value of its first point.
        const std::int64_t first = (c * grid.axes[0].count + columns_ - 1) / columns_;
        for (std::int64_t r = 0; r < rows_; ++r)
            cells_[static_cast<std::size_t>(r * columns_ + c)].x = grid.axes[0].valueAt(first);
    }
}

void SweepPicture::add(const SweepPoint& point) {
    const auto position = grid_.positionOf(point.index);
    const std::int64_t c = position[0] * columns_ / grid_.axes[0].count;
    const std::int64_t r = grid_.axisCount == 2 ? position[1] * rows_ / grid_.axes[1].count : 0;
    Cell& cell = cells_[static_cast<std::size_t>(r * columns_ + c)];
    if (!point.result.completed) {
        ++cell.errors;
        return;
    }
    ++cell.ok;
    for (std::size_t k = 0; k < 3; ++k) cell.sum[k] += point.result.expo[k];
}

std::string SweepPicture::fixedParameters() const {
    std::string text;
    const struct {
        SweepParameter p;
        double v;
    } all[] = {{SweepParameter::Sigma, grid_.base.sv}, {SweepParameter::R, grid_.base.rv}, {SweepParameter::B, grid_.base.bv}};
    for (const auto& [p, v] : all) {
        bool varied = false;
        for (int a = 0; a < grid_.axisCount; ++a) varied |= grid_.axes[static_cast<std::size_t>(a)].parameter == p;
        if (!varied) text += symbolOf(p) + " = " + shortText(v) + ", ";
    }
    return text + "n = " + std::to_string(grid_.n);
}

std::string SweepPicture::write(const std::string& path) const {
    const SweepAxis& first = grid_.axes[0];
    if (grid_.axisCount == 1) {
        plot::LineChart chart;
        chart.title = "Lyapunov exponents against " + symbolOf(first.parameter) + " — " + fixedParameters();
        chart.xTitle = symbolOf(first.parameter);
        chart.yTitle = "λ";
        chart.marksName = "arithmetic error (no result)";
        std::array<std::vector<double>, 3> y;
        std::vector<double> x;
        for (const Cell& cell : cells_) {
            if (cell.errors > 0) {
                chart.marksX.push_back(cell.x);
                chart.marksY.push_back(0.0);
            }
            if (cell.ok == 0) continue;
            x.push_back(cell.x);
            for (std::size_t k = 0; k < 3; ++k) y[k].push_back(cell.sum[k] / static_cast<double>(cell.ok));
        }
        for (std::size_t k = 0; k < 3; ++k) chart.curves.push_back({lambdaName(k), x, y[k]});
        return plot::write(chart, path);
    }
    const SweepAxis& second = grid_.axes[1];
    plot::HeatMap map;
    map.title = "λ1 over " + symbolOf(first.parameter) + " and " + symbolOf(second.parameter) + " — " +
                fixedParameters();
    map.xTitle = symbolOf(first.parameter);
    map.yTitle = symbolOf(second.parameter);
    map.valueTitle = "λ1";
    map.missingName = "error";
    map.xFrom = first.from;
    map.xTo = first.to;
    map.yFrom = second.from;
    map.yTo = second.to;
    map.columns = static_cast<int>(columns_);
    map.rows = static_cast<int>(rows_);
    for (const Cell& cell : cells_)
        map.values.push_back(cell.ok > 0 ? cell.sum[0] / static_cast<double>(cell.ok) : std::nan(""));
    return plot::write(map, path);
}

}  // namespace veltrano::cli
