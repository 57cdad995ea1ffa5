#pragma once

#include <QString>

#include "heat_map.h"
#include "map_computation.h"
#include "shown_quantity.h"

namespace veltrano::explorer {

// The rows of a complete map, exactly as veltrano-cli sweep writes them
// for the same grid and options (so that plot, --resume and join take the
// file), written beside `path` and renamed over it only once whole. An
// empty text on success, else what went wrong (the file as it was).
[[nodiscard]] QString writeCsv(const MapComputation& map, const QString& path);

// The map as veltrano-cli plot draws it (the λ maps through the same
// picture of a sweep), undecided cells shaded; PNG, or SVG for a name
// ending in .svg. Written beside and renamed, as the rows.
[[nodiscard]] pictures::HeatMap heatMapOf(const MapComputation& map, Shown shown);
[[nodiscard]] QString writePicture(const MapComputation& map, Shown shown, const QString& path);

}  // namespace veltrano::explorer
