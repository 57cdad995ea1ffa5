#pragma once

#include <cstdint>

#include "gram_schmidt.h"

namespace veltrano {

// How a research run goes. The defaults are the window's experiment: from
// x = y = z = 1, h = 0.01, Gram-Schmidt every 20 steps, no transient, no
// error bars.
struct RunSettings {
    static constexpr std::int64_t kMaxIntervals = 1'000'000'000;

    std::int64_t intervals = 0;          // measured intervals (with a target error, the most)
    std::int64_t transient = 0;          // intervals run first and not measured
    Triple initial{1.0, 1.0, 1.0};       // the starting point; the tangent vectors start as the unit vectors
    double step = 0.01;                  // the Runge-Kutta step h
    std::int64_t stepsPerInterval = 20;  // steps between two Gram-Schmidt passes
    bool errors = false;                 // error bars by batch means
    std::int64_t batch = 500;            // intervals per batch
    double targetError = 0.0;            // > 0: a point stops once its three half-widths are at most this
};

// The outcome of one point: completed with t and the three estimates, or
// stopped by an arithmetic fault at time t (the time of the last completed
// step, the end of the interval whose reorthonormalisation failed, or 0 for
// a fault in the transient).
struct PointResult {
    bool completed = false;
    double t = 0.0;
    Triple expo{};
    std::int64_t intervals = 0;  // measured intervals done
    std::int64_t batches = 0;    // complete batches (with error bars)
    bool errorsKnown = false;    // halfWidth holds the 95 % half-widths
    Triple halfWidth{};
    friend bool operator==(const PointResult&, const PointResult&) = default;
};

}  // namespace veltrano
