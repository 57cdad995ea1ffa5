#pragma once

#include <atomic>
#include <functional>
#include <span>

#include "simd_path.h"
#include "system_run.h"

namespace veltrano {

// The Lyapunov exponents of any flow system (see flow_system.h), written
// once: the lane engine of runPoints, with the system, its dimension d,
// its parameters per point and the number k of exponents as the caller
// chooses. Each system the program offers is compiled into the engine once
// (lane_engine.h, VELTRANO_LANE_ENGINE_FOR); these are the calls.
//
// Bad settings are refused before any work with std::invalid_argument and
// a message saying what is wrong: a dimension outside 1..kMaxDimension (or
// the system's own), k outside 1..d, a starting point that is not of d
// finite values, error bars with batches of no interval, fewer results
// than points.

// Every point with `settings`, several at once in the lanes of `path`
// (one of availablePaths()), one result per point; as runPoints of
// batched_exponents.h, whose Lorenz results are this engine's for
// LorenzSystem with k = 3, bit for bit.
template <class System>
void runSystemPoints(SimdPath path, const System& system, const SystemSettings& settings,
                     std::span<const ParametersOf<System>> points, std::span<ResultOf<System>> results,
                     LaneUsage* usage = nullptr, const std::atomic<bool>* stop = nullptr);

// One point alone: the same doubles as in any lane of runSystemPoints.
template <class System>
ResultOf<System> runSystemPoint(const System& system, const SystemSettings& settings,
                                 const ParametersOf<System>& point, const std::atomic<bool>* stop = nullptr);

// One point, with `observe` called after every measured interval and,
// when given, `observeStep` after every measured step with the time and
// the d coordinates (as runObserved).
template <class System>
ResultOf<System> runSystemObserved(const System& system, const SystemSettings& settings,
                                    const ParametersOf<System>& point,
                                    const std::function<void(const IntervalStateOf<System>&)>& observe,
                                    const std::atomic<bool>* stop = nullptr,
                                    const std::function<void(double t, std::span<const double> x)>& observeStep = {});

}  // namespace veltrano
