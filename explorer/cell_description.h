#pragma once

#include <QString>
#include <span>

#include "rk4_integrator.h"
#include "run_settings.h"
#include "trace_check.h"

namespace veltrano::explorer {

// What the status bar and a screen reader say of one cell: its status first,
// as the point's panel words it ("ok", with the class its error bars decide;
// "inconsistent"; "error"; "not computed yet"), then σ, R and b as the
// shortest texts that read back as the cell's doubles, then its estimates.
// `result` is null for a cell not computed yet.
[[nodiscard]] QString cellDescription(const FlowParameters& p, const PointResult* result, const RunSettings& run);
// Of a cell of a flow of the catalogue: its parameters on the axes, its
// status and class, its first exponents (of the k computed) and λ1's bar.
[[nodiscard]] QString systemCellDescription(const QString& where, const PointResult* result,
                                            std::span<const double> spectrum, PointStatus status);

}  // namespace veltrano::explorer
