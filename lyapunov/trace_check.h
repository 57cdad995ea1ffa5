#pragma once

#include "rk4_integrator.h"
#include "run_settings.h"

namespace veltrano {

// A check every completed point can take on itself: the three exponents
// must add up to the trace of the Jacobian, -(sigma + 1 + b), up to the
// integrator's own error.
//
// Why. Gram-Schmidt factors the numerical tangent map M (the product of
// the Runge-Kutta step maps since t = 0) as Q R with Q orthonormal and the
// norms on the diagonal of R, so the logarithm sums add up to ln|det M| and
// lambda1 + lambda2 + lambda3 = (1/t) ln|det M|. For the exact flow,
// det M = exp(trace t) at every t (Liouville), and the trace of the Lorenz
// Jacobian is -(sigma + 1 + b) wherever the orbit goes. The gap
//   |lambda1 + lambda2 + lambda3 + (sigma + 1 + b)|
// is therefore the error of the integration in ln|det M| per unit of time:
// the truncation of the Runge-Kutta scheme and the rounding of the doubles.
//
// Truncation. Over one step the tangent vectors are multiplied by
// p(hJ) = I + hJ + (hJ)^2/2 + (hJ)^3/6 + (hJ)^4/24 (J frozen over the
// step), whose determinant is the product of p(h mu) over the eigenvalues mu
// of J, against exp(h trace) for the flow. With |h mu| <= a,
// p(h mu) = exp(h mu) (1 - w) where |w| <= e^a (e^a - p(a)) (the tail of the
// exponential series from the fifth power on), so each eigenvalue moves
// ln|det| by at most -ln(1 - |w|) per step, about a^5 / 120 for small a.
// For a we need a bound L on |J| along the orbit, from what the row holds:
// V = x^2 + y^2 + (z - sigma - R)^2 obeys
//   dV/dt = -2 (sigma x^2 + y^2 + b (z - c/2)^2 - b c^2 / 4),  c = sigma + R,
// so V decreases outside an ellipsoid, and the orbit keeps V below the
// larger of its starting value and the largest V on that ellipsoid (for
// sigma >= 0 and b >= 0; with sigma = 0, x never moves). That bounds x, y
// and R - z, hence the Frobenius norm of J, and the squares of the |mu|
// add up to at most its square (Schur): with a = h L, one eigenvalue taking
// all of it is the worst case, since the bound grows as a^5.
// Both bounds are generous (the eigenvalues lie well inside |J|, the orbit
// well inside the sphere), which covers the terms of a Jacobian that
// changes within the step (the field is quadratic, so J changes at the
// rate of the orbit). Where a is too large for the bound (w can reach 1),
// or sigma or b is negative (no bound on the orbit), nothing bounds the
// truncation and every gap is accepted.
//
// Rounding. Each step rounds the nine tangent components and each
// Gram-Schmidt pass a few dozen values, each within a unit of the last
// place: about that many machine epsilons of ln|det| per step and per
// pass. The time and the logarithm sums, made of t/h and t/(h S) additions,
// carry a relative error of at most epsilon per addition, on exponents no
// larger than L (a tangent vector grows or shrinks at most at the rate L;
// the row's own exponents are not trusted for its tolerance). Where the
// rounding of the steps alone could move the sum by half the rates of the
// Jacobian's diagonal ((|sigma| + 1 + |b|) / 2), the step is below what the
// doubles resolve (the vectors do not move at all for a tiny step, and the
// exponents come out 0): no sum is vouched for, and the tolerance is 0.
//
// The check sees only the row and the settings (sigma, R, b, t, the
// exponents, the step, the steps per interval and the starting point), so a
// reader of a file derives the same status as the run that wrote it.

enum class PointStatus { Ok, Error, Inconsistent };

// |lambda1 + lambda2 + lambda3 + (sigma + 1 + b)| of a completed point.
[[nodiscard]] double traceGap(const PointResult& r, const FlowParameters& p);

// The most that gap may be for this run (derived from the step and the
// run's length, above); infinite where nothing bounds it or nothing was
// measured (t = 0).
[[nodiscard]] double traceTolerance(const PointResult& r, const FlowParameters& p, const RunSettings& s);

// Error for a point stopped by a fault; Inconsistent for a completed point
// whose gap exceeds the tolerance (or is not a number); Ok otherwise.
[[nodiscard]] PointStatus statusOf(const PointResult& r, const FlowParameters& p, const RunSettings& s);

}  // namespace veltrano
