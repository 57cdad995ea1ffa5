#include "axis_scale.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace veltrano::pictures {

namespace {

// Beyond this a range's width overflows; nothing drawn needs more.
constexpr double kLargest = 1e300;
// A range narrower than this fraction of its magnitude holds no distinct
// round ticks (a double has about 16 digits); it is drawn as one value.
constexpr double kNarrowest = 1e-9;
// Below this a width's power of ten is no longer a normal double.
constexpr double kTiniest = 1e-290;

double clampFinite(double v) {
    return std::clamp(v, -kLargest, kLargest);
}

}  // namespace

AxisScale axisScale(double lo, double hi) {
    if (std::isnan(lo) && std::isnan(hi)) lo = 0, hi = 1;
    if (std::isnan(lo)) lo = hi;
    if (std::isnan(hi)) hi = lo;
    lo = clampFinite(lo);
    hi = clampFinite(hi);
    if (lo > hi) std::swap(lo, hi);
    AxisScale scale;
    const double width = hi - lo;
    const double magnitude = std::max(std::fabs(lo), std::fabs(hi));
    if (!(width > magnitude * kNarrowest) || width < kTiniest) {
        // One value: half a unit either side, or a millionth of it where
        // that is larger.
        const double middle = lo + width / 2;
        const double half = std::max(0.5, std::fabs(middle) * 1e-6);
        scale.from = middle - half;
        scale.to = middle + half;
    } else {
        scale.from = lo;
        scale.to = hi;
    }
    const double raw = (scale.to - scale.from) / 5;
    const double decade = std::pow(10.0, std::floor(std::log10(raw)));
    scale.step = raw / decade < 2 ? decade : raw / decade < 5 ? 2 * decade : 5 * decade;
    // Ticks are counted from the anchor: from 0 where that is near, else
    // from the multiple of the step just below the range.
    const double first = std::floor(scale.from / scale.step);
    scale.anchor = std::fabs(first) < 1e6 ? 0.0 : first * scale.step;
    // Enough digits to tell neighbouring ticks apart, at least four.
    const double span = std::max(std::fabs(scale.from), std::fabs(scale.to)) / scale.step;
    scale.digits = std::clamp(static_cast<int>(std::ceil(std::log10(span))) + 1, 4, 17);
    return scale;
}

LogRange logRange(double lo, double hi) {
    if (lo > hi) std::swap(lo, hi);
    const double tiny = std::numeric_limits<double>::min();
    if (!(hi > 0) || !std::isfinite(hi)) return {};
    if (!(lo > 0)) lo = hi;
    lo = std::max(lo, tiny);
    hi = std::min(hi, kLargest);
    if (!(hi > lo * (1 + kNarrowest))) return {lo / std::sqrt(10.0), lo * std::sqrt(10.0)};
    return {lo, hi};
}

}  // namespace veltrano::pictures
