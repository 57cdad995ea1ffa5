#include "system_status.h"

#include <cmath>
#include <limits>

namespace veltrano {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr double kEpsilon = std::numeric_limits<double>::epsilon();

}  // namespace

double divergenceTolerance(double t, std::span<const double> exponents, double meanDivergence,
                           std::size_t dimension, double step, std::int64_t stepsPerInterval) {
    if (exponents.size() < dimension) return kInfinity;  // a partial sum says nothing
    if (!(t > 0) || !(step > 0) || stepsPerInterval < 1) return kInfinity;
    double scale = std::abs(meanDivergence);
    for (double e : exponents) scale = scale + std::abs(e);
    const double d = static_cast<double>(dimension);
    const double k = static_cast<double>(exponents.size());
    const double steps = t / step;
    const double passes = steps / static_cast<double>(stepsPerInterval);
    const double rounding =
        kEpsilon * (d * k / step + 4 * d * k * k * passes / t + (steps + passes) * (k + 1) * scale);
    return kDivergenceRelativeTolerance * scale + rounding;
}

PointStatus systemStatus(bool completed, double t, std::span<const double> exponents, double meanDivergence,
                         std::size_t dimension, double step, std::int64_t stepsPerInterval) {
    if (!completed) return PointStatus::Error;
    double sum = 0.0;
    for (double e : exponents) sum = sum + e;
    const double gap = std::fabs(sum - meanDivergence);
    const double tolerance = divergenceTolerance(t, exponents, meanDivergence, dimension, step, stepsPerInterval);
    if (tolerance == kInfinity) return PointStatus::Ok;
    return gap <= tolerance ? PointStatus::Ok : PointStatus::Inconsistent;
}

PointStatus lorenzSystemStatus(bool completed, double t, std::span<const double> exponents,
                               const double* parameters, std::span<const double> initial, double step,
                               std::int64_t stepsPerInterval) {
    if (!completed) return PointStatus::Error;
    if (exponents.size() < 3 || initial.size() != 3) return PointStatus::Ok;
    PointResult r;
    r.completed = true;
    r.t = t;
    r.expo = {exponents[0], exponents[1], exponents[2]};
    RunSettings s;
    s.initial = {initial[0], initial[1], initial[2]};
    s.step = step;
    s.stepsPerInterval = stepsPerInterval;
    const FlowParameters p{parameters[0], parameters[1], parameters[2]};
    return statusOf(r, p, s);
}

}  // namespace veltrano
