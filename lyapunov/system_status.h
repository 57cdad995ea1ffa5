#pragma once

#include <cstddef>
#include <span>
#include <type_traits>

#include "flow_system.h"
#include "system_run.h"
#include "trace_check.h"

namespace veltrano {

// The check every completed point of any flow takes on itself: with the
// full spectrum (k = d), the exponents add up to the time average of the
// divergence along the same orbit (Liouville), up to the integrator's error.
// The sum and the average come from the same steps, so what separates them
// is the Runge-Kutta truncation of ln|det| (per step about (h mu)^5 / 120
// for each eigenvalue mu of the Jacobian) and the rounding of the doubles.
//
// For a flow in general nothing bounds the Jacobian from what a row holds
// (Lorenz has its bounding ellipsoid, trace_check.h, and keeps that rule), so
// the truncation is measured against the spectrum's own scale,
//   S = |mean divergence| + |lambda1| + ... + |lambdad|:
// a gap above S / 1000 means the step no longer resolves the fastest
// direction of the flow (at the catalogue's default points the gap is 1e-11
// to 4e-5 of S; with h |mu| near 1 it is several thousandths), or that the
// tangent or the reorthonormalisation went wrong. Rounding adds, per unit of
// time, about d k machine epsilons per step, 4 d k^2 per pass and the
// rounding of the sums over the steps and passes.
//
// With k < d the sum is partial and nothing is checked: such a point is ok
// once completed. The check sees only what a row holds (t, the exponents,
// the mean divergence) and the run's step and interval, so a reader of a
// file derives the same status as the run that wrote it.

inline constexpr double kDivergenceRelativeTolerance = 1e-3;

// The most |sum - mean divergence| may be; infinite where nothing was
// measured (t = 0) or only part of the spectrum was computed (k < d).
[[nodiscard]] double divergenceTolerance(double t, std::span<const double> exponents, double meanDivergence,
                                         std::size_t dimension, double step, std::int64_t stepsPerInterval);

// Ok, or Inconsistent where the gap exceeds the tolerance or is not a
// number; Error for a point that did not complete.
[[nodiscard]] PointStatus systemStatus(bool completed, double t, std::span<const double> exponents,
                                       double meanDivergence, std::size_t dimension, double step,
                                       std::int64_t stepsPerInterval);

// The status of a point of the Lorenz flow's own rule (trace_check.h), its
// full spectrum taken from `exponents`; Ok for a completed point with fewer.
[[nodiscard]] PointStatus lorenzSystemStatus(bool completed, double t, std::span<const double> exponents,
                                             const double* parameters, std::span<const double> initial,
                                             double step, std::int64_t stepsPerInterval);

// The status of a point of `system` run with `settings` at `parameters`.
template <class System, std::size_t N>
[[nodiscard]] PointStatus statusOfPoint(const System& system, const SystemResult<N>& r, const double* parameters,
                                        const SystemSettings& settings) {
    if constexpr (std::is_same_v<System, LorenzSystem>)
        return lorenzSystemStatus(r.completed, r.t, r.estimates(), parameters, settings.initial, settings.step,
                                  settings.stepsPerInterval);
    else
        return systemStatus(r.completed, r.t, r.estimates(), r.meanDivergence, system.dimension(), settings.step,
                            settings.stepsPerInterval);
}

}  // namespace veltrano
