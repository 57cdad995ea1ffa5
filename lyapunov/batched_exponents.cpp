#include "batched_exponents.h"

#include "lane_engine.h"

namespace veltrano {

// The lane engine of every system, for Lorenz with its three exponents: the
// points and results of this interface are the engine's, converted as the
// lanes load and finish them.
namespace {

SystemSettings systemSettings(const RunSettings& s) {
    return {.intervals = s.intervals,
            .transient = s.transient,
            .initial = {s.initial.begin(), s.initial.end()},
            .exponents = kDim,
            .step = s.step,
            .stepsPerInterval = s.stepsPerInterval,
            .errors = s.errors,
            .batch = s.batch,
            .targetError = s.targetError};
}

struct FlowPoints {
    std::span<const FlowParameters> points;
    std::size_t size() const { return points.size(); }
    VELTRANO_ALWAYS_INLINE ParametersOf<LorenzSystem> parameters(std::size_t i) const {
        const FlowParameters& p = points[i];
        return {p.sv, p.rv, p.bv};
    }
};

struct PointResults {
    std::span<PointResult> results;
    VELTRANO_ALWAYS_INLINE void write(std::size_t i, const ResultOf<LorenzSystem>& r) const {
        results[i] = PointResult{.completed = r.completed,
                                 .t = r.t,
                                 .expo = r.expo,
                                 .intervals = r.intervals,
                                 .batches = r.batches,
                                 .errorsKnown = r.errorsKnown,
                                 .halfWidth = r.halfWidth};
    }
};

// The history of one point, told as this interface tells it.
struct LorenzObserved {
    static constexpr bool kIntervals = true;
    static constexpr bool kSteps = true;
    const std::function<void(const IntervalState&)>& interval;
    const std::function<void(double, const Triple&)>& stepped;
    void operator()(const IntervalStateOf<LorenzSystem>& s) const {
        interval(IntervalState{.interval = s.interval,
                               .t = s.t,
                               .expo = {s.expo[0], s.expo[1], s.expo[2]},
                               .batches = s.batches,
                               .last = s.last,
                               .point = {s.point[0], s.point[1], s.point[2]}});
    }
    bool steps() const { return static_cast<bool>(stepped); }
    void step(double t, std::span<const double> x) const { stepped(t, {x[0], x[1], x[2]}); }
};

}  // namespace

void runPoints(SimdPath path, const RunSettings& settings, std::span<const FlowParameters> points,
               std::span<PointResult> results, LaneUsage* usage, const std::atomic<bool>* stop) {
    if (settings.intervals <= 0) {
        // Nothing to integrate: every point is complete where it starts.
        for (PointResult& r : results) r = PointResult{.completed = true};
        return;
    }
    lanes::runOnPath<LorenzSystem, kDim>(path, LorenzSystem{}, systemSettings(settings), FlowPoints{points},
                                         PointResults{results}, usage, stop);
}

void runPoints(SimdPath path, std::int16_t n, std::span<const FlowParameters> points, std::span<PointResult> results) {
    RunSettings settings;
    settings.intervals = n;
    runPoints(path, settings, points, results);
}

PointResult runObserved(const RunSettings& settings, const FlowParameters& point,
                        const std::function<void(const IntervalState&)>& observe, const std::atomic<bool>* stop,
                        const std::function<void(double t, const Triple& xyz)>& observeStep) {
    PointResult result;
    if (settings.intervals <= 0) return PointResult{.completed = true};
    lanes::runPool<LorenzSystem, kDim, 2>(LorenzSystem{}, systemSettings(settings), FlowPoints{std::span(&point, 1)},
                                          PointResults{std::span(&result, 1)}, nullptr, stop,
                                          LorenzObserved{observe, observeStep});
    return result;
}

}  // namespace veltrano
