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

}  // namespace

std::vector<double> ticksBetween(double lo, double hi, int wanted) {
    std::vector<double> ticks;
    if (!(hi > lo) || !std::isfinite(hi - lo)) {
        if (std::isfinite(lo)) ticks.push_back(lo);
        return ticks;
    }
    const double step = stepFor(hi - lo, wanted);
    for (double k = std::ceil(lo / step); k * step <= hi * (1 + 1e-12) + 1e-300 && ticks.size() < 50; k += 1)
        ticks.push_back(k * step == 0 ? 0.0 : k * step);
    return ticks;
}

QString tickText(double v, double span) {
    if (!(span > 0)) return QString::number(v, 'g', 6);
    const double step = stepFor(span, 5);
    const int decimals = std::clamp(static_cast<int>(std::ceil(-std::log10(step))), 0, 12);
    return QString::number(v, 'f', decimals);
}

}  // namespace veltrano::explorer
