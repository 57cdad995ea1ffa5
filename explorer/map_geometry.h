#pragma once

#include <optional>
#include <string>

#include "map_settings.h"

namespace veltrano::explorer {

// Where the map's cells lie on the screen: `columns` x `rows` cells fill a
// rectangle `width` x `height` (in device-independent pixels), column 0 at
// the left, row 0 at the bottom.
struct CellPosition {
    int column = 0;
    int row = 0;
    friend bool operator==(const CellPosition&, const CellPosition&) = default;
};

// The cell under the point (x, y) of the rectangle (y down, as on screen);
// nullopt outside it.
[[nodiscard]] std::optional<CellPosition> cellAt(double x, double y, double width, double height, int columns,
                                                 int rows);

// The value of an axis at cell i: exactly what the sweep computes there.
[[nodiscard]] double axisValue(const MapAxis& axis, int i);

// The parameters of a cell.
[[nodiscard]] FlowParameters cellParameters(const MapSettings& s, CellPosition cell);

// The view of the cells between two corners (both included): the same
// number of cells a side, the ranges from the first corner's values to the
// second's, rounded to a tenth of a cell (short numbers for the command
// line, the same cells to the eye). nullopt when the rectangle is less than
// two cells wide or high (a click, not a drag).
[[nodiscard]] std::optional<MapSettings> zoomedTo(const MapSettings& s, CellPosition a, CellPosition b);

// `v` rounded to the decimal digit of a tenth of `cell` (a positive width).
[[nodiscard]] double roundedToCell(double v, double cell);

}  // namespace veltrano::explorer
