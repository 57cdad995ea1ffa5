#pragma once

#include <string>
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

}  // namespace veltrano::pictures
