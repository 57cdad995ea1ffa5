#include "plot_data.h"

#include <cmath>

#include "number_text.h"

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

void HistoryPicture::add(std::int64_t interval, double t, const Triple& expo, const std::optional<Triple>& halfWidth) {
    const Row row{t, expo, halfWidth};
    lastInterval_ = interval;
    const std::int64_t bucket =
        interval <= 1000 ? interval : 1000 + static_cast<std::int64_t>(std::log(static_cast<double>(interval) / 1000) * 1000 / std::log(10.0));
    if (bucket > lastBucket_) {
        lastBucket_ = bucket;
        keep(row);
        last_.reset();
    } else {
        last_ = row;
    }
}

void HistoryPicture::keep(const Row& row) {
    t_.push_back(row.t);
    for (std::size_t k = 0; k < 3; ++k) {
        expo_[k].push_back(row.expo[k]);
        low_[k].push_back(row.halfWidth ? row.expo[k] - (*row.halfWidth)[k] : std::nan(""));
        high_[k].push_back(row.halfWidth ? row.expo[k] + (*row.halfWidth)[k] : std::nan(""));
    }
    anyErrors_ |= row.halfWidth.has_value();
}

plot::LineChart HistoryPicture::chart(const std::string& context, int only) const {
    HistoryPicture all = *this;
    if (all.last_) all.keep(*all.last_);
    plot::LineChart chart;
    chart.xTitle = "t (logarithmic)";
    chart.logX = true;
    chart.yTitle = "estimate of λ";
    if (only == 0) {
        chart.title = "Convergence of the Lyapunov exponents — " + context;
        for (std::size_t k = 0; k < 3; ++k) {
            plot::Curve curve{lambdaName(k), all.t_, all.expo_[k], {}, {}};
            if (all.anyErrors_) curve.low = all.low_[k], curve.high = all.high_[k];
            chart.curves.push_back(std::move(curve));
        }
        return chart;
    }
    // One exponent alone; with error bars, where they are known, so that the
    // band can be seen.
    const auto k = static_cast<std::size_t>(only - 1);
    chart.title = "Convergence of " + lambdaName(k) + (all.anyErrors_ ? " with its 95 % interval" : "") + " — " + context;
    chart.yTitle = "estimate of " + lambdaName(k);
    plot::Curve curve{lambdaName(k), {}, {}, {}, {}};
    for (std::size_t i = 0; i < all.t_.size(); ++i) {
        if (all.anyErrors_ && std::isnan(all.low_[k][i])) continue;
        curve.x.push_back(all.t_[i]);
        curve.y.push_back(all.expo_[k][i]);
        if (all.anyErrors_) curve.low.push_back(all.low_[k][i]), curve.high.push_back(all.high_[k][i]);
    }
    chart.curves.push_back(std::move(curve));
    return chart;
}

SweepPicture::SweepPicture(const SweepGrid& grid, std::string run) : grid_(grid), run_(std::move(run)) {
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
    if (!run_.empty()) text += (text.empty() ? "" : ", ") + run_;
    return text;
}

plot::LineChart SweepPicture::lineChart(int only) const {
    const SweepAxis& first = grid_.axes[0];
    plot::LineChart chart;
    chart.title = "Lyapunov exponents against " + symbolOf(first.parameter);
    const std::string fixed = context();
    if (!fixed.empty()) chart.title += " — " + fixed;
    chart.xTitle = symbolOf(first.parameter);
    chart.yTitle = "λ";
    chart.marksName = "arithmetic error (no result)";
    std::array<std::vector<double>, 3> y, low, high;
    std::vector<double> x;
    bool anyErrors = false;
    for (const Cell& cell : cells_) {
        if (cell.errors > 0) {
            chart.marksX.push_back(cell.x);
            chart.marksY.push_back(0.0);
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
        plot::Curve curve{lambdaName(k), x, y[k], {}, {}};
        if (anyErrors) curve.low = low[k], curve.high = high[k];
        chart.curves.push_back(std::move(curve));
    }
    return chart;
}

plot::HeatMap SweepPicture::heatMap() const {
    const SweepAxis& first = grid_.axes[0];
    const SweepAxis& second = grid_.axes[1];
    plot::HeatMap map;
    map.title = "λ1 over " + symbolOf(first.parameter) + " and " + symbolOf(second.parameter);
    const std::string fixed = context();
    if (!fixed.empty()) map.title += " — " + fixed;
    map.xTitle = symbolOf(first.parameter);
    map.yTitle = symbolOf(second.parameter);
    map.valueTitle = "λ1";
    map.missingName = "error";
    map.xFrom = first.valueAt(0);
    map.xTo = first.valueAt(first.count - 1);
    map.yFrom = second.valueAt(0);
    map.yTo = second.valueAt(second.count - 1);
    map.columns = static_cast<int>(columns_);
    map.rows = static_cast<int>(rows_);
    for (const Cell& cell : cells_)
        map.values.push_back(cell.ok > 0 ? cell.sum[0] / static_cast<double>(cell.ok) : std::nan(""));
    return map;
}

}  // namespace veltrano::cli
