#include "trace_check.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace veltrano {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kEpsilon = std::numeric_limits<double>::epsilon();
// Values rounded per Runge-Kutta step that enter ln|det| (the nine tangent
// components) and per Gram-Schmidt pass (products, sums, square roots,
// divisions and the logarithms).
constexpr double kStepRoundings = 9.0;
constexpr double kPassRoundings = 40.0;

// The largest V = x^2 + y^2 + (z - c)^2 on the ellipsoid
// k' x^2 + y^2 + b (z - c/2)^2 = b c^2 / 4 once x^2 + y^2 <= m (k' x^2 + y^2)
// is used: with k = m b and u = z - c/2 in [-|c|/2, |c|/2],
// V <= k c^2/4 - k u^2 + (u - c/2)^2, largest at u = -c/2 (c^2) for k <= 2
// and at the vertex (c^2 k^2 / (4 (k - 1))) beyond.
double largestOnEllipsoid(double c, double k) {
    const double c2 = c * c;
    return k <= 2 ? c2 : c2 * k * k / (4 * (k - 1));
}

// A bound on the Frobenius norm of the Jacobian along the orbit from the
// starting point, or infinity where the flow has no bounding ellipsoid.
double jacobianBound(const FlowParameters& p, const Triple& start) {
    const double sigma = p.sv, b = p.bv;
    if (!(sigma >= 0) || !(b >= 0)) return kInfinity;
    const double c = sigma + p.rv;
    const double x0 = start[0], y0 = start[1], dz0 = start[2] - c;
    const double v0 = x0 * x0 + y0 * y0 + dz0 * dz0;
    // sigma > 0: x^2 + y^2 <= max(1, 1/sigma) (sigma x^2 + y^2); sigma = 0:
    // x stays x0 and the ellipsoid is a cylinder along x.
    const double vmax =
        sigma > 0 ? largestOnEllipsoid(c, std::max(1.0, 1.0 / sigma) * b) : x0 * x0 + largestOnEllipsoid(c, b);
    const double r = std::sqrt(std::max(v0, vmax));
    // |J|^2 = 2 sigma^2 + (R - z)^2 + 1 + 2 x^2 + y^2 + b^2 with R - z =
    // -(sigma + w), w = z - c; over x^2 + y^2 + w^2 <= r^2 the part
    // (sigma + w)^2 + 2 x^2 + y^2 is at most 2 sigma^2 + 2 r^2.
    return std::sqrt(4 * sigma * sigma + 2 * r * r + 1 + b * b);
}

// The most one eigenvalue with |h mu| <= a moves ln|det| in one step,
// -ln(1 - e^a (e^a - p(a))), or infinity where that bound says nothing.
double stepTruncation(double a) {
    if (!(a < 2)) return kInfinity;  // e^a (e^a - p(a)) > 1 from a = 1.74 on
    // The tail of the exponential series from a^5/5!, summed directly (no
    // cancellation for small a).
    double term = a * a * a * a * a / 120;
    double tail = 0;
    for (int k = 6; term > tail * 1e-17 && k < 60; ++k) {
        tail += term;
        term = term * a / k;
    }
    const double w = std::exp(a) * tail;
    if (!(w < 1)) return kInfinity;
    return -std::log1p(-w);
}

}  // namespace

double traceGap(const PointResult& r, const FlowParameters& p) {
    const double trace = (p.sv + 1) + p.bv;
    return std::abs(((r.expo[0] + r.expo[1]) + r.expo[2]) + trace);
}

double traceTolerance(const PointResult& r, const FlowParameters& p, const RunSettings& s) {
    const double t = r.t;
    const double h = s.step;
    if (!(t > 0) || !(h > 0)) return kInfinity;  // nothing measured
    const double steps = t / h;
    const double passes = steps / static_cast<double>(s.stepsPerInterval);

    const double stepRounding = kEpsilon * kStepRoundings / h;
    if (!(stepRounding < (std::abs(p.sv) + 1 + std::abs(p.bv)) / 2)) return 0.0;

    const double norm = jacobianBound(p, s.initial);
    // No exponent exceeds |J| in size: a tangent vector grows or shrinks by
    // at most e^(|J| dt).
    const double rounding =
        stepRounding + kEpsilon * kPassRoundings * passes / t + kEpsilon * (steps + passes) * 3 * norm;
    // The squares of the eigenvalues' moduli add up to at most |J|^2
    // (Schur), and the bound per eigenvalue grows faster than the square
    // of a: it is largest with one eigenvalue taking the whole bound.
    const double truncation = stepTruncation(h * norm) / h;
    return truncation + rounding;
}

PointStatus statusOf(const PointResult& r, const FlowParameters& p, const RunSettings& s) {
    if (!r.completed) return PointStatus::Error;
    return traceGap(r, p) <= traceTolerance(r, p, s) ? PointStatus::Ok : PointStatus::Inconsistent;
}

}  // namespace veltrano
