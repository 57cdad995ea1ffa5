#pragma once

#include <QColor>

#include "heat_map.h"
#include "point_mark.h"

namespace veltrano::drawing {

// The colours of values: a diverging scale centred on 0, warm above (chaos:
// λ1 > 0), cool below (order), a light neutral at 0; and the colours of the
// points that have no value to show or must not be read as one.

// The scale at v in -1 .. 1 (clamped; NaN is the neutral middle).
[[nodiscard]] QColor divergingAt(double v);
// A value on the scale from -limit to +limit (a limit that is not above 0
// counts as 1).
[[nodiscard]] QColor divergingColour(double value, double limit);

// A point stopped by a fault (no value).
[[nodiscard]] QColor faultColour();
// A completed point that is not ok: its exponents miss the flow's contraction.
[[nodiscard]] QColor inconsistentColour();
// Where nothing has been computed yet.
[[nodiscard]] QColor emptyColour();
// The colour of a value whose error bars leave its kind undecided: the
// value's own colour, tinted towards a green that is on no part of the
// scale, so that it is never taken for a value.
[[nodiscard]] QColor undecidedShade(QColor valueColour);

// The colour of a point or cell with this mark and value.
[[nodiscard]] QColor markColour(pictures::PointMark mark, double value, double limit);

// The end of a map's scale: its own limit where set, else the largest
// magnitude among the values its cells show (1 where there is none).
[[nodiscard]] double scaleLimit(const pictures::HeatMap& map);

}  // namespace veltrano::drawing
