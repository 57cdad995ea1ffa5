#include "batched_exponents.h"

#include <algorithm>
#include <cmath>

#include "exponents.h"
#include "interval_close.h"
#include "rk4_step.h"

namespace veltrano {

namespace {

// W points side by side: lane l of every value belongs to point l.
template <int W>
struct LaneType;
template <>
struct LaneType<2> {
    typedef double type __attribute__((vector_size(16)));
};
template <>
struct LaneType<4> {
    typedef double type __attribute__((vector_size(32)));
};
template <>
struct LaneType<8> {
    typedef double type __attribute__((vector_size(64)));
};
template <int W>
using Lanes = typename LaneType<W>::type;

template <int W>
using State = std::array<Lanes<W>, kComponents>;

// Steps between two looks at the stop within an interval: well under a
// millisecond of work, and one look in thousands of steps costs nothing.
constexpr std::int64_t kStopCheckSteps = 4096;

// Where every component of the state is finite. A NaN anywhere survives
// the sum of the differences x - x.
template <int W>
VELTRANO_ALWAYS_INLINE auto finiteLanes(const State<W>& s) {
    Lanes<W> probe = s[0] - s[0];
    for (std::size_t i = 1; i < kComponents; ++i) probe = probe + (s[i] - s[i]);
    return probe == 0;
}

// What the sweep watches: nothing.
struct NoObserver {
    static constexpr bool kSteps = false;
    VELTRANO_ALWAYS_INLINE void operator()(const IntervalState&) const {}
    VELTRANO_ALWAYS_INLINE bool steps() const { return false; }
    VELTRANO_ALWAYS_INLINE void step(double, const Triple&) const {}
};

// The observed single run: every measured interval, and every measured step
// when asked.
struct Observed {
    static constexpr bool kSteps = true;
    const std::function<void(const IntervalState&)>& interval;
    const std::function<void(double, const Triple&)>& stepped;
    void operator()(const IntervalState& state) const { interval(state); }
    bool steps() const { return static_cast<bool>(stepped); }
    void step(double t, const Triple& xyz) const { stepped(t, xyz); }
};

// A pool of W lanes that works through `points`: each lane carries one point
// from its starting state to its end and then takes the next point, so the
// lanes stay busy while points end at different times. Everything a point
// computes depends on its own lane only. The numbers of the points live in
// lane vectors (state, time, parameters, sums, estimates), what a lane
// knows of its point besides in one record per lane.
template <int W, class Observer>
class LanePool {
public:
    VELTRANO_ALWAYS_INLINE LanePool(const RunSettings& settings, std::span<const FlowParameters> points,
                                    std::span<PointResult> out, const Observer& observe)
        : settings_(settings), points_(points), out_(out), observe_(observe) {}

    // Until every point has ended, or `stop` has become true (checked at
    // every interval boundary and every kStopCheckSteps steps within an
    // interval, so that however long the interval a stop is seen soon).
    VELTRANO_ALWAYS_INLINE void run(LaneUsage* usage, const std::atomic<bool>* stop) {
        stop_ = stop;
        for (int l = 0; l < W; ++l) load(l);
        while (busy_ > 0) {
            if (stopped()) [[unlikely]]
                return;
            if (usage) {
                usage->busy += busy_;
                usage->total += W;
            }
            if (!integrateInterval()) [[unlikely]]
                return;
            Vectors norms{}, logs{};
            closeInterval(norms, logs);
            account(norms, logs);
            for (int l = 0; l < W; ++l)
                if (lanes_[l].point < 0) load(l);
        }
    }

private:
    using V = Lanes<W>;
    using Mask = decltype(V{} == V{});
    using Vectors = std::array<V, kDim>;

    // A lane's point and where it stands.
    struct Lane {
        std::int64_t point = -1;         // the index of the point carried (-1: none)
        std::int64_t transientLeft = 0;  // intervals of the transient still to run
        std::int64_t measured = 0;       // measured intervals done
        Triple batchSum{};               // logarithms of the batch under way
        double batchStart = 0.0;         // and the time it started at
        BatchMeans stats;
    };

    // An idle lane carries the origin with all parameters zero: a fixed
    // point whose steps stay finite, so the other lanes keep the fast path.
    VELTRANO_ALWAYS_INLINE void idle(int l) {
        lanes_[l].point = -1;
        sv_[l] = rv_[l] = bv_[l] = 0.0;
        for (V& c : s_) c[l] = 0.0;
    }

    // The next point into lane l, at its starting state.
    VELTRANO_ALWAYS_INLINE void load(int l) {
        if (next_ >= points_.size()) return idle(l);
        const FlowParameters& p = points_[next_];
        lanes_[l] = Lane{.point = static_cast<std::int64_t>(next_++),
                         .transientLeft = settings_.transient,
                         .measured = 0,
                         .batchSum = {},
                         .batchStart = 0.0,
                         .stats = {}};
        ++busy_;
        sv_[l] = p.sv;
        rv_[l] = p.rv;
        bv_[l] = p.bv;
        for (V& c : s_) c[l] = 0.0;
        for (std::size_t i = 0; i < kDim; ++i) {
            s_[i][l] = settings_.initial[i];
            s_[tangentIndex(i, i)][l] = 1.0;
        }
        time_[l] = 0.0;
        for (std::size_t k = 0; k < kDim; ++k) logSum_[k][l] = expo_[k][l] = 0.0;
    }

    // The point of lane l ends: its result is written and the lane idles.
    VELTRANO_ALWAYS_INLINE void finish(int l, bool completed, double reached) {
        const Lane& lane = lanes_[l];
        const auto widths = settings_.errors && completed ? lane.stats.halfWidths() : std::optional<Triple>{};
        out_[static_cast<std::size_t>(lane.point)] = PointResult{
            .completed = completed,
            .t = reached,
            .expo = completed ? Triple{expo_[0][l], expo_[1][l], expo_[2][l]} : Triple{},
            .intervals = lane.measured,
            .batches = settings_.errors ? lane.stats.count() : 0,
            .errorsKnown = widths.has_value(),
            .halfWidth = widths.value_or(Triple{}),
        };
        --busy_;
        idle(l);
    }

    // A fault ends the point with the time of its last completed step; in
    // the transient no time has been measured yet.
    VELTRANO_ALWAYS_INLINE void fail(int l, double reached) {
        if (lanes_[l].point < 0) return;
        finish(l, false, lanes_[l].transientLeft > 0 ? 0.0 : reached);
    }

    VELTRANO_ALWAYS_INLINE bool stopped() const { return stop_ && stop_->load(std::memory_order_relaxed); }

    // The steps of one interval from s_ and time_; returns the state
    // reached and advances time_. Steps alternate between two buffers.
    // With `testEachStep`, every step is tested: a lane whose step faults
    // ends at the step before, and the observer sees every measured step.
    // Between blocks of kStopCheckSteps steps the stop is asked; when it has
    // come, the interval is abandoned (`abandoned` set, the state returned
    // is of no use).
    VELTRANO_ALWAYS_INLINE State<W> integrate(bool testEachStep, bool& abandoned) {
        const double h = settings_.step;
        const std::int64_t steps = settings_.stepsPerInterval;
        const V sv = sv_, rv = rv_, bv = bv_;
        const auto field = [&sv, &rv, &bv ](const State<W>& x, State<W>& d) __attribute__((always_inline)) {
            lorenzField(x, d, sv, rv, bv);
        };
        V time = time_;
        State<W> buffer[2];
        int cur = 0;
        buffer[0] = s_;
        for (std::int64_t step = 0; step < steps;) {
            if (step > 0 && stopped()) [[unlikely]] {
                abandoned = true;
                break;
            }
            const std::int64_t blockEnd = std::min(steps, step + kStopCheckSteps);
            for (; step < blockEnd; ++step) {
                State<W>& now = buffer[cur];
                State<W>& after = buffer[cur ^ 1];
                rk4Step(now, after, h, field);
                const V nextTime = h + time;
                if (testEachStep) {
                    const auto ok = finiteLanes<W>(after) & finiteMask(nextTime);
                    for (int l = 0; l < W; ++l)
                        if (!ok[l]) fail(l, time[l]);
                    for (std::size_t i = 0; i < kComponents; ++i) after[i] = ok ? after[i] : now[i];
                    for (int l = 0; l < W; ++l)
                        if (lanes_[l].point < 0)
                            for (V& c : after) c[l] = 0.0;
                    if constexpr (Observer::kSteps) {
                        if (observe_.steps())
                            for (int l = 0; l < W; ++l)
                                if (lanes_[l].point >= 0 && lanes_[l].transientLeft == 0)
                                    observe_.step(nextTime[l], {after[0][l], after[1][l], after[2][l]});
                    }
                }
                cur ^= 1;
                time = nextTime;
            }
        }
        time_ = time;
        return buffer[cur];
    }

    // A non-finite value never turns finite again (each new component is a
    // sum with the old one), so the state is tested once per interval; when
    // a lane has failed, the interval is run again from its start, testing
    // every step, to find the step each failing lane stops at.
    // False when the interval was abandoned for a stop.
    VELTRANO_ALWAYS_INLINE bool integrateInterval() {
        bool abandoned = false;
        if (observe_.steps()) {
            s_ = integrate(true, abandoned);
            return !abandoned;
        }
        const V start = time_;
        const State<W> end = integrate(false, abandoned);
        if (abandoned) [[unlikely]]
            return false;
        const auto ok = finiteLanes<W>(end) & finiteMask(time_);
        bool all = true;
        for (int l = 0; l < W; ++l) all &= ok[l] != 0;
        if (all) [[likely]] {
            s_ = end;
        } else {
            time_ = start;
            s_ = integrate(true, abandoned);
        }
        return !abandoned;
    }

    // Reorthonormalisation, logarithm sums and estimates, committed per lane
    // only where every stored value stayed finite; `norms` and `logs`
    // receive the interval's norms and logarithms. Lanes in their transient
    // reorthonormalise but add no logarithms.
    VELTRANO_ALWAYS_INLINE void closeInterval(Vectors& norms, Vectors& logs) {
        State<W> g = s_;
        Vectors proj{}, sums = logSum_, estimates;
        Mask measuring;
        for (int l = 0; l < W; ++l) measuring[l] = lanes_[l].point >= 0 && lanes_[l].transientLeft == 0 ? -1 : 0;
        const auto ok = veltrano::closeInterval<V>(
            [&g](std::size_t c, std::size_t j) -> V& { return g[tangentIndex(c, j)]; }, norms, proj, sums, estimates,
            time_, [](const V& v) __attribute__((always_inline)) {
                V r;
                for (int l = 0; l < W; ++l) r[l] = __builtin_sqrt(v[l]);
                return r;
            },
            [&measuring, &logs ](std::size_t k, const V& norm, V& sum) __attribute__((always_inline)) {
                for (int l = 0; l < W; ++l)
                    if (measuring[l] && norm[l] > 0) {
                        logs[k][l] = std::log(norm[l]);
                        sum[l] = logs[k][l] + sum[l];
                    }
            },
            ~measuring);
        for (int l = 0; l < W; ++l)
            if (!ok[l]) fail(l, time_[l]);
        for (std::size_t i = 0; i < kComponents; ++i) s_[i] = ok ? g[i] : s_[i];
        const Mask commit = ok & measuring;
        for (std::size_t k = 0; k < kDim; ++k) {
            logSum_[k] = commit ? sums[k] : logSum_[k];
            expo_[k] = commit ? estimates[k] : expo_[k];
        }
    }

    // The end of a batch of lane l: its estimates join the batch means.
    // Returns whether the point has reached its target error.
    VELTRANO_ALWAYS_INLINE bool closeBatch(int l) {
        Lane& lane = lanes_[l];
        const double span = time_[l] - lane.batchStart;
        lane.stats.add({lane.batchSum[0] / span, lane.batchSum[1] / span, lane.batchSum[2] / span});
        lane.batchSum = {};
        lane.batchStart = time_[l];
        if (!(settings_.targetError > 0)) return false;
        const auto widths = lane.stats.halfWidths();
        const double target = settings_.targetError;
        return widths && (*widths)[0] <= target && (*widths)[1] <= target && (*widths)[2] <= target;
    }

    // After the interval: the transient counted down, the interval counted,
    // its logarithms added to the batch, the observer told, and the points
    // that have ended (their intervals done or their target reached)
    // finished.
    VELTRANO_ALWAYS_INLINE void account(const Vectors& norms, const Vectors& logs) {
        for (int l = 0; l < W; ++l) {
            Lane& lane = lanes_[l];
            if (lane.point < 0) continue;
            if (lane.transientLeft > 0) {
                // After the transient the measurement starts from t = 0.
                if (--lane.transientLeft == 0) time_[l] = 0.0;
                continue;
            }
            const std::int64_t done = ++lane.measured;
            bool reached = false;
            if (settings_.errors) {
                for (std::size_t k = 0; k < kDim; ++k)
                    if (norms[k][l] > 0) lane.batchSum[k] = logs[k][l] + lane.batchSum[k];
                if (done % settings_.batch == 0) reached = closeBatch(l);
            }
            const bool last = reached || done == settings_.intervals;
            observe_(IntervalState{.interval = done,
                                   .t = time_[l],
                                   .expo = {expo_[0][l], expo_[1][l], expo_[2][l]},
                                   .batches = &lane.stats,
                                   .last = last,
                                   .point = {s_[0][l], s_[1][l], s_[2][l]}});
            if (last) finish(l, true, time_[l]);
        }
    }

    const RunSettings& settings_;
    const std::atomic<bool>* stop_ = nullptr;
    std::span<const FlowParameters> points_;
    std::span<PointResult> out_;
    const Observer& observe_;
    std::size_t next_ = 0;  // the next point to load
    int busy_ = 0;          // lanes carrying a point
    Lane lanes_[W];
    V sv_{}, rv_{}, bv_{}, time_{};
    State<W> s_{};
    Vectors logSum_{}, expo_{};
};

template <int W, class Observer>
VELTRANO_ALWAYS_INLINE void runPool(const RunSettings& settings, std::span<const FlowParameters> points,
                                    std::span<PointResult> out, LaneUsage* usage, const std::atomic<bool>* stop,
                                    const Observer& observe) {
    LanePool<W, Observer>(settings, points, out, observe).run(usage, stop);
}

template <int W>
void runLanes(const RunSettings& settings, std::span<const FlowParameters> points, std::span<PointResult> results,
              LaneUsage* usage, const std::atomic<bool>* stop) {
    runPool<W>(settings, points, results, usage, stop, NoObserver{});
}

#if defined(__x86_64__)
// One copy of the integrator per instruction set, each with the lane width
// of its registers.
__attribute__((target("avx512f"))) void runAvx512(const RunSettings& settings, std::span<const FlowParameters> points,
                                                  std::span<PointResult> results, LaneUsage* usage,
                                                  const std::atomic<bool>* stop) {
    runPool<8>(settings, points, results, usage, stop, NoObserver{});
}

__attribute__((target("avx2"))) void runAvx2(const RunSettings& settings, std::span<const FlowParameters> points,
                                             std::span<PointResult> results, LaneUsage* usage,
                                             const std::atomic<bool>* stop) {
    runPool<4>(settings, points, results, usage, stop, NoObserver{});
}
#endif

}  // namespace

void runPoints(SimdPath path, const RunSettings& settings, std::span<const FlowParameters> points,
               std::span<PointResult> results, LaneUsage* usage, const std::atomic<bool>* stop) {
    if (settings.intervals <= 0) {
        // Nothing to integrate: every point is complete where it starts.
        for (PointResult& r : results) r = PointResult{.completed = true};
        return;
    }
    switch (path) {
#if defined(__x86_64__)
        case SimdPath::Avx512:
            return runAvx512(settings, points, results, usage, stop);
        case SimdPath::Avx2:
            return runAvx2(settings, points, results, usage, stop);
#else
        case SimdPath::Avx512:
        case SimdPath::Avx2:
#endif
        case SimdPath::Lanes128:
            return runLanes<2>(settings, points, results, usage, stop);
    }
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
    runPool<2>(settings, std::span(&point, 1), std::span(&result, 1), nullptr, stop, Observed{observe, observeStep});
    return result;
}

}  // namespace veltrano
