#include "history_picture.h"

#include <cmath>

#include "picture_texts.h"

namespace veltrano::pictures {

void HistoryPicture::add(std::int64_t interval, double t, const Triple& expo, const std::optional<Triple>& halfWidth) {
    add(interval, t, std::span<const double>(expo),
        halfWidth ? std::span<const double>(*halfWidth) : std::span<const double>());
}

void HistoryPicture::add(std::int64_t interval, double t, std::span<const double> expo,
                         std::span<const double> halfWidth) {
    newest_.t = t;
    newest_.expo.assign(expo.begin(), expo.end());
    newest_.halfWidth.assign(halfWidth.begin(), halfWidth.end());
    lastInterval_ = interval;
    const std::int64_t bucket =
        interval <= 1000
            ? interval
            : 1000 + static_cast<std::int64_t>(std::log(static_cast<double>(interval) / 1000) * 1000 / std::log(10.0));
    pending_ = bucket <= lastBucket_;
    if (!pending_) {
        lastBucket_ = bucket;
        keep(newest_);
    }
}

void HistoryPicture::keep(const Row& row) {
    if (expo_.empty()) expo_.resize(row.expo.size()), low_.resize(row.expo.size()), high_.resize(row.expo.size());
    const bool known = !row.halfWidth.empty();
    t_.push_back(row.t);
    for (std::size_t k = 0; k < expo_.size(); ++k) {
        expo_[k].push_back(row.expo[k]);
        low_[k].push_back(known ? row.expo[k] - row.halfWidth[k] : std::nan(""));
        high_[k].push_back(known ? row.expo[k] + row.halfWidth[k] : std::nan(""));
    }
    anyErrors_ |= known;
}

LineChart HistoryPicture::chart(const std::string& context, int only) const {
    HistoryPicture all = *this;
    if (all.pending_) all.keep(all.newest_);
    LineChart chart;
    chart.xTitle = "t (logarithmic)";
    chart.logX = true;
    chart.yTitle = "estimate of λ";
    if (only == 0) {
        chart.title = "Convergence of the Lyapunov exponents — " + context;
        for (std::size_t k = 0; k < all.expo_.size(); ++k) {
            Curve curve{lambdaName(k), all.t_, all.expo_[k], {}, {}};
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
    Curve curve{lambdaName(k), {}, {}, {}, {}};
    for (std::size_t i = 0; i < all.t_.size(); ++i) {
        if (all.anyErrors_ && std::isnan(all.low_[k][i])) continue;
        curve.x.push_back(all.t_[i]);
        curve.y.push_back(all.expo_[k][i]);
        if (all.anyErrors_) curve.low.push_back(all.low_[k][i]), curve.high.push_back(all.high_[k][i]);
    }
    chart.curves.push_back(std::move(curve));
    return chart;
}

LineChart flowHistoryChart(const HistoryPicture& history, const std::string& system, int only) {
    return history.chart(system + ", n = " + std::to_string(history.lastInterval()), only);
}

}  // namespace veltrano::pictures
