#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "batch_means.h"

namespace veltrano {

// The largest dimension a system chosen at run time may have (the lane
// engine's fixed capacity for its exponents and error bars).
inline constexpr std::size_t kMaxDimension = 64;

// How many exponents a system's results hold at most: its dimension, or
// kMaxDimension where the dimension is chosen at run time. Lorenz keeps three.
template <class System>
inline constexpr std::size_t kCapacityOf = System::kDimension != 0 ? System::kDimension : kMaxDimension;

// The parameters of one point of a system.
template <class System>
using ParametersOf = std::array<double, System::kParameters>;

// How a run of any system goes: as RunSettings, with a starting point of
// the system's dimension and the number k of exponents computed (the
// leading k: Gram-Schmidt over k tangent vectors that start as the first k
// unit vectors).
struct SystemSettings {
    std::int64_t intervals = 0;          // measured intervals (with a target error, the most)
    std::int64_t transient = 0;          // intervals run first and not measured
    std::vector<double> initial;         // the starting point, one value per coordinate
    std::size_t exponents = 0;           // k, 1 <= k <= d
    double step = 0.01;                  // the Runge-Kutta step h
    std::int64_t stepsPerInterval = 20;  // steps between two Gram-Schmidt passes
    bool errors = false;                 // error bars by batch means
    std::int64_t batch = 500;            // intervals per batch
    double targetError = 0.0;            // > 0: a point stops once its k half-widths are at most this
};

// The outcome of one point of a system with at most N exponents: completed
// with t, the k estimates and the mean divergence along the orbit, or
// stopped by an arithmetic fault at time t (as PointResult).
template <std::size_t N>
struct SystemResult {
    using Values = std::array<double, N>;

    bool completed = false;
    double t = 0.0;
    std::size_t exponents = 0;  // k: the estimates and half-widths held
    Values expo{};
    std::int64_t intervals = 0;  // measured intervals done
    std::int64_t batches = 0;    // complete batches (with error bars)
    bool errorsKnown = false;    // halfWidth holds the 95 % half-widths
    Values halfWidth{};
    // The time integral of the divergence (the trace of the Jacobian) along
    // the measured orbit, over t. With k = d the exponents add up to it, up
    // to the integrator's error (Liouville: det M = exp of that integral).
    double meanDivergence = 0.0;

    [[nodiscard]] std::span<const double> estimates() const { return std::span(expo).first(exponents); }
    friend bool operator==(const SystemResult&, const SystemResult&) = default;
};

template <class System>
using ResultOf = SystemResult<kCapacityOf<System>>;

// |sum of the k exponents - mean divergence| of a completed point: the
// integrator's error in ln|det M| per unit of time when k is the dimension.
template <std::size_t N>
[[nodiscard]] double divergenceGap(const SystemResult<N>& r) {
    double sum = 0.0;
    for (double e : r.estimates()) sum = sum + e;
    return std::fabs(sum - r.meanDivergence);
}

// What a point has reached after a measured interval: as IntervalState,
// with the k estimates and the d coordinates.
template <std::size_t N>
struct SystemIntervalState {
    std::int64_t interval = 0;  // measured intervals done, from 1
    double t = 0.0;
    std::span<const double> expo;
    const BatchMeansOf<N>* batches = nullptr;  // with error bars
    bool last = false;                         // the point ends here
    std::span<const double> point;             // the coordinates at the end of the interval
    double meanDivergence = 0.0;
};

template <class System>
using IntervalStateOf = SystemIntervalState<kCapacityOf<System>>;

}  // namespace veltrano
