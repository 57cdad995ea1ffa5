#pragma once

#include <cmath>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "point_mark.h"

namespace veltrano::pictures {

// Values on a rectangle of cells, `columns` across and `rows` up, cell (c, r)
// at values[r * columns + c] with its mark at marks[r * columns + c] (no
// marks: every cell shows its value). A value cell holding NaN is drawn as
// a fault. Coloured on a diverging scale centred on 0 (warm above, cool
// below) from -limit to +limit, with a colour bar; the axes run from the
// first cell's centre to the last one's.
struct HeatMap {
    std::string title, xTitle, yTitle, valueTitle;
    // The legend's names for the cells drawn in colours of their own; an
    // entry is shown only when some cell needs it.
    std::string faultName = "error";
    std::string inconsistentName = "inconsistent";
    std::string undecidedName = "undecided";
    double xFrom = 0, xTo = 1, yFrom = 0, yTo = 1;
    int columns = 0, rows = 0;
    std::vector<double> values;
    std::vector<PointMark> marks;
    // The end of the scale; 0: the largest magnitude among the values shown.
    double limit = 0;

    [[nodiscard]] PointMark markAt(std::size_t i) const { return marks.empty() ? PointMark::Value : marks[i]; }
};

// The map of a sweep over two of its axes (each with count and valueAt),
// from the first value to the last of each, in `columns` by `rows` cells, of
// the value `valueTitle`; no cell yet (addSweepCell), no title.
template <class Axis>
[[nodiscard]] HeatMap sweepMap(const Axis& across, const Axis& up, std::int64_t columns, std::int64_t rows,
                               std::string valueTitle) {
    HeatMap map;
    map.valueTitle = std::move(valueTitle);
    map.xFrom = across.valueAt(0);
    map.xTo = across.valueAt(across.count - 1);
    map.yFrom = up.valueAt(0);
    map.yTo = up.valueAt(up.count - 1);
    map.columns = static_cast<int>(columns);
    map.rows = static_cast<int>(rows);
    return map;
}

// The next cell of a sweep's map: the mean of its `ok` points (whose values
// add up to `sum`), or cellMark says what.
inline void addSweepCell(HeatMap& map, double sum, std::int64_t ok, std::int64_t inconsistent, std::int64_t faults) {
    map.values.push_back(ok > 0 ? sum / static_cast<double>(ok) : std::nan(""));
    map.marks.push_back(cellMark(ok, inconsistent, faults));
}

}  // namespace veltrano::pictures
