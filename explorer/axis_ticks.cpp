#include "axis_ticks.h"

#include <algorithm>
#include <cmath>

namespace veltrano::explorer {

namespace {

double stepFor(double span, int wanted) {
    const double raw = span / std::max(1, wanted);
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    return raw / decade < 2 ? decade : raw / decade < 5 ? 2 * decade : 5 * decade;
}

// The labels of `values`, `step` apart: the decimals the step needs, more
// while two neighbours read the same (a step near what doubles resolve).
std::vector<QString> labelsOf(const std::vector<double>& values, double step) {
    const bool huge = std::max(std::fabs(values.front()), std::fabs(values.back())) >= 1e15;
    int decimals = std::clamp(static_cast<int>(std::ceil(-std::log10(step) - 1e-9)), 0, 17);
    for (;; ++decimals) {
        std::vector<QString> texts;
        for (double v : values)
            texts.push_back(huge ? QString::number(v, 'g', std::max(1, decimals)) : QString::number(v, 'f', decimals));
        bool distinct = true;
        for (std::size_t k = 1; k < texts.size(); ++k) distinct = distinct && texts[k] != texts[k - 1];
        if (distinct || decimals >= 17) return texts;
    }
}

}  // namespace

std::vector<double> ticksBetween(double lo, double hi, int wanted) {
    std::vector<double> ticks;
    if (!(hi > lo) || !std::isfinite(hi - lo)) {
        if (std::isfinite(lo)) ticks.push_back(lo);
        return ticks;
    }
    const double step = stepFor(hi - lo, wanted);
    // The last tick may miss hi by its rounding: a sliver of the step, not
    // of hi (which at a deep zoom is many steps).
    for (double k = std::ceil(lo / step - 1e-9); k * step <= hi + step * 1e-9 && ticks.size() < 50; k += 1)
        ticks.push_back(k * step == 0 ? 0.0 : k * step);
    return ticks;
}

AxisLabels axisLabels(double lo, double hi, double length, const std::function<double(const QString&)>& extent,
                      double gap) {
    AxisLabels best;
    if (!(hi > lo) || !std::isfinite(hi - lo)) {
        best.values = ticksBetween(lo, hi, 1);
        for (double v : best.values) best.texts.push_back(QString::number(v, 'g', 17));
        return best;
    }
    // From many ticks to few: the first set whose neighbours keep apart.
    for (int wanted = 8; wanted >= 1; --wanted) {
        std::vector<double> values = ticksBetween(lo, hi, wanted);
        if (values.empty()) continue;
        const double step = values.size() > 1 ? values[1] - values[0] : stepFor(hi - lo, wanted);
        std::vector<QString> texts = labelsOf(values, step);
        bool fits = true;
        for (std::size_t k = 1; k < values.size() && fits; ++k) {
            const double apart = (values[k] - values[k - 1]) / (hi - lo) * length;
            fits = apart >= (extent(texts[k]) + extent(texts[k - 1])) / 2 + gap;
        }
        if (fits || wanted == 1) {
            best = {std::move(values), std::move(texts)};
            if (fits) break;
        }
    }
    // Not even two fit: the one in the middle.
    if (best.values.size() > 1) {
        const double step = best.values[1] - best.values[0];
        const double apart = step / (hi - lo) * length;
        if (apart < (extent(best.texts[0]) + extent(best.texts[1])) / 2 + gap) {
            const std::size_t middle = best.values.size() / 2;
            best = {{best.values[middle]}, {best.texts[middle]}};
        }
    }
    return best;
}

}  // namespace veltrano::explorer
