#pragma once

#include <cstdint>
#include <string>

#include "map_computation.h"
#include "map_settings.h"

namespace veltrano::explorer {

// The rows of a map of a flow of the catalogue in the sweep file form of a
// system: the header
//   index,system,<parameters in the catalogue's order>,t,lambda1,...,lambdaK,
//   kaplan_yorke,divergence,status
// with error bars followed by ,intervals,lambda1_err,...,lambdaK_err; every
// number in the digits of the Lorenz rows (17 significant). A point stopped
// by a fault keeps index, system, parameters and t, its numbers empty, its
// status `error`.
[[nodiscard]] std::string systemSweepHeader(const MapSettings& s);
[[nodiscard]] std::string systemSweepRow(const MapSettings& s, std::int64_t index, const PointResult& head,
                                         const SystemCells& cells);

}  // namespace veltrano::explorer
