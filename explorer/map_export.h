#pragma once

#include <QString>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <span>
#include <string>

#include "heat_map.h"
#include "map_computation.h"
#include "shown_quantity.h"

namespace veltrano::explorer {

// What the window says when a file cannot be written: why, and that the
// file is as it was.
[[nodiscard]] QString cannotWrite(const QString& path, const QString& why);

// The rows of a complete map of `s` (one result a cell), exactly as
// veltrano-cli sweep writes them for the same grid and options (so that
// plot, --resume and join take the file), written to `out` a block at a
// time; after each block `goOn` is told the rows written so far, and ends
// the writing early, the rest unwritten, by answering false. An empty text
// on success (or an early end), else what went wrong.
// The rows of a complete map of a flow of the catalogue, as veltrano-cli
// sweep --system writes them (system_sweep_rows.h).
[[nodiscard]] std::string writeSystemRows(const MapSettings& s, std::span<const PointResult> results,
                                          const SystemCells& cells, std::FILE* out,
                                          const std::function<bool(std::int64_t rows)>& goOn);
[[nodiscard]] std::string writeRows(const MapSettings& s, std::span<const PointResult> results, std::FILE* out,
                                    const std::function<bool(std::int64_t rows)>& goOn);

// The map as veltrano-cli plot draws it (the λ maps through the same
// picture of a sweep), undecided cells shaded; PNG, or SVG for a name
// ending in .svg. Written beside and renamed, as the rows.
[[nodiscard]] pictures::HeatMap heatMapOf(const MapComputation& map, Shown shown);
[[nodiscard]] QString writePicture(const MapComputation& map, Shown shown, const QString& path);

}  // namespace veltrano::explorer
