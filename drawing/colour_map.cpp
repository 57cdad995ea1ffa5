#include "colour_map.h"

#include <algorithm>
#include <cmath>

namespace veltrano::drawing {

using pictures::PointMark;

QColor divergingAt(double v) {
    const QColor cold(59, 76, 192), middle(221, 221, 221), warm(180, 4, 38);
    const QColor& end = v < 0 ? cold : warm;
    const double a = std::isnan(v) ? 0.0 : std::min(1.0, std::fabs(v));
    const auto mix = [a](int from, int to) { return static_cast<int>(std::lround(from + (to - from) * a)); };
    return QColor(mix(middle.red(), end.red()), mix(middle.green(), end.green()), mix(middle.blue(), end.blue()));
}

QColor divergingColour(double value, double limit) {
    return divergingAt(value / (limit > 0 ? limit : 1.0));
}

QColor faultColour() {
    return QColor(150, 150, 150);
}

QColor inconsistentColour() {
    // Gold: on no part of the diverging scale, and like no curve of a line.
    return QColor(235, 185, 0);
}

QColor emptyColour() {
    return QColor(Qt::white);
}

QColor undecidedShade(QColor valueColour) {
    // Half way to a green that the scale never takes: a shaded point still
    // shows its side of the scale, yet no shade looks like a value (not
    // even 0, the colour of the periodic orbits it borders on).
    const QColor tint(40, 150, 70);
    const auto mix = [](int value, int to) { return (value + to + 1) / 2; };
    return QColor(mix(valueColour.red(), tint.red()), mix(valueColour.green(), tint.green()),
                  mix(valueColour.blue(), tint.blue()));
}

QColor markColour(PointMark mark, double value, double limit) {
    switch (mark) {
    case PointMark::Value:
        return std::isfinite(value) ? divergingColour(value, limit) : faultColour();
    case PointMark::Undecided:
        return undecidedShade(std::isfinite(value) ? divergingColour(value, limit) : faultColour());
    case PointMark::Fault:
        return faultColour();
    case PointMark::Inconsistent:
        return inconsistentColour();
    case PointMark::Empty:
        break;
    }
    return emptyColour();
}

double scaleLimit(const pictures::HeatMap& map) {
    if (map.limit > 0 && std::isfinite(map.limit)) return map.limit;
    double limit = 0;
    for (std::size_t i = 0; i < map.values.size(); ++i) {
        const PointMark mark = map.markAt(i);
        if ((mark == PointMark::Value || mark == PointMark::Undecided) && std::isfinite(map.values[i]))
            limit = std::max(limit, std::fabs(map.values[i]));
    }
    return limit > 0 ? limit : 1.0;
}

}  // namespace veltrano::drawing
