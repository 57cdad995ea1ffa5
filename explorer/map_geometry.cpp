#include "map_geometry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

namespace veltrano::explorer {

std::optional<CellPosition> cellAt(double x, double y, double width, double height, int columns, int rows) {
    if (!(x >= 0 && y >= 0 && x < width && y < height) || columns < 1 || rows < 1) return std::nullopt;
    const int c = std::clamp(static_cast<int>(std::floor(x / width * columns)), 0, columns - 1);
    const int fromTop = std::clamp(static_cast<int>(std::floor(y / height * rows)), 0, rows - 1);
    return CellPosition{c, rows - 1 - fromTop};
}

double axisValue(const MapAxis& axis, int i) {
    return SweepAxis{axis.parameter, axis.from, axis.to, axis.count, {}}.valueAt(i);
}

FlowParameters cellParameters(const MapSettings& s, CellPosition cell) {
    FlowParameters p = s.base;
    setValue(p, s.x.parameter, axisValue(s.x, cell.column));
    setValue(p, s.y.parameter, axisValue(s.y, cell.row));
    return p;
}

double roundedToCell(double v, double cell) {
    if (!(cell > 0) || !std::isfinite(v)) return v;
    const int digits = std::clamp(static_cast<int>(std::ceil(-std::log10(cell / 10))), 0, 300);
    char buf[400];
    const int n = std::snprintf(buf, sizeof buf, "%.*f", digits, v);
    double rounded = v;
    if (n > 0 && n < static_cast<int>(sizeof buf)) std::from_chars(buf, buf + n, rounded);
    return rounded == 0 ? 0.0 : rounded;  // never -0
}

std::optional<MapSettings> zoomedTo(const MapSettings& s, CellPosition a, CellPosition b) {
    const int c0 = std::min(a.column, b.column), c1 = std::max(a.column, b.column);
    const int r0 = std::min(a.row, b.row), r1 = std::max(a.row, b.row);
    // A map of one row (a flow of one parameter) zooms across only.
    const bool oneRow = s.system && s.system->up == SystemMap::kNoAxis;
    if (c1 - c0 < 1 || (r1 - r0 < 1 && !oneRow)) return std::nullopt;
    MapSettings zoomed = s;
    const auto narrow = [](MapAxis& axis, int first, int last) {
        const double from = axisValue(axis, first), to = axisValue(axis, last);
        const double cell = std::fabs(to - from) / std::max(1, axis.count - 1);
        const double roundedFrom = roundedToCell(from, cell), roundedTo = roundedToCell(to, cell);
        axis.from = roundedFrom;
        axis.to = roundedTo != roundedFrom ? roundedTo : to;
    };
    narrow(zoomed.x, c0, c1);
    if (!oneRow) narrow(zoomed.y, r0, r1);
    return zoomed;
}

}  // namespace veltrano::explorer
