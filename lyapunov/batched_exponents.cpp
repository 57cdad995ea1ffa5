#include "batched_exponents.h"

#include <cmath>

#include "exponents.h"
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
// computes depends on its own lane only.
template <int W, class Observer>
VELTRANO_ALWAYS_INLINE void runPool(const RunSettings& settings, std::span<const FlowParameters> points,
                                    std::span<PointResult> out, LaneUsage* usage, const std::atomic<bool>* stop,
                                    const Observer& observe) {
    using V = Lanes<W>;
    using Mask = decltype(V{} == V{});
    const double h = settings.step;
    const std::int64_t steps = settings.stepsPerInterval;

    V sv{}, rv{}, bv{}, time{};
    State<W> s{};
    std::array<V, kDim> logSum{}, expo{};
    // Per lane: the point it carries (-1: none), where it stands, and its
    // batch means.
    std::int64_t carried[W];
    std::int64_t transientLeft[W] = {};
    std::int64_t measured[W] = {};
    Triple batchSum[W] = {};
    double batchStart[W] = {};
    BatchMeans stats[W];
    std::size_t next = 0;
    int busy = 0;

    // An idle lane carries the origin with all parameters zero: a fixed point
    // whose steps stay finite, so the other lanes keep the fast path.
    const auto idle = [&](int l) __attribute__((always_inline)) {
        carried[l] = -1;
        sv[l] = rv[l] = bv[l] = 0.0;
        for (V& c : s) c[l] = 0.0;
    };
    const auto load = [&](int l) __attribute__((always_inline)) {
        if (next >= points.size()) return idle(l);
        const FlowParameters& p = points[next];
        carried[l] = static_cast<std::int64_t>(next++);
        ++busy;
        sv[l] = p.sv;
        rv[l] = p.rv;
        bv[l] = p.bv;
        for (V& c : s) c[l] = 0.0;
        for (std::size_t i = 0; i < kDim; ++i) {
            s[i][l] = settings.initial[i];
            s[tangentIndex(i, i)][l] = 1.0;
        }
        time[l] = 0.0;
        for (std::size_t k = 0; k < kDim; ++k) logSum[k][l] = expo[k][l] = 0.0;
        transientLeft[l] = settings.transient;
        measured[l] = 0;
        batchSum[l] = {};
        batchStart[l] = 0.0;
        stats[l] = {};
    };
    const auto finish = [&](int l, bool completed, double reached) __attribute__((always_inline)) {
        PointResult& r = out[static_cast<std::size_t>(carried[l])];
        r = {};
        r.completed = completed;
        r.t = reached;
        if (completed) r.expo = {expo[0][l], expo[1][l], expo[2][l]};
        r.intervals = measured[l];
        if (settings.errors) {
            r.batches = stats[l].count();
            if (const auto widths = completed ? stats[l].halfWidths() : std::nullopt) {
                r.errorsKnown = true;
                r.halfWidth = *widths;
            }
        }
        --busy;
        idle(l);
    };
    // A fault ends the point with the time of its last completed step; in
    // the transient no time has been measured yet.
    const auto fail = [&](int l, double reached) __attribute__((always_inline)) {
        if (carried[l] < 0) return;
        finish(l, false, transientLeft[l] > 0 ? 0.0 : reached);
    };
    const auto field = [&](const State<W>& x, State<W>& d) __attribute__((always_inline)) {
        lorenzField(x, d, sv, rv, bv);
    };

    for (int l = 0; l < W; ++l) load(l);

    // Steps alternate between two buffers. A non-finite value never turns
    // finite again (each new component is a sum with the old one), so the
    // state is tested once per interval; when a lane has failed, the interval
    // is run again from its start, testing every step, to find the step each
    // failing lane stops at.
    State<W> buffer[2];
    const auto integrate = [&](bool testEachStep) __attribute__((always_inline)) {
        int cur = 0;
        buffer[0] = s;
        for (std::int64_t step = 0; step < steps; ++step) {
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
                    if (carried[l] < 0)
                        for (V& c : after) c[l] = 0.0;
                if constexpr (Observer::kSteps) {
                    if (observe.steps())
                        for (int l = 0; l < W; ++l)
                            if (carried[l] >= 0 && transientLeft[l] == 0)
                                observe.step(nextTime[l], {after[0][l], after[1][l], after[2][l]});
                }
            }
            cur ^= 1;
            time = nextTime;
        }
        return buffer[cur];
    };

    while (busy > 0) {
        if (stop && stop->load(std::memory_order_relaxed)) [[unlikely]]
            return;
        if (usage) {
            usage->busy += busy;
            usage->total += W;
        }
        if (observe.steps()) {
            // Every step is tested, so that only completed steps are shown.
            s = integrate(true);
        } else {
            const V start = time;
            const State<W>& end = integrate(false);
            const auto ok = finiteLanes<W>(end) & finiteMask(time);
            bool all = true;
            for (int l = 0; l < W; ++l) all &= ok[l] != 0;
            if (all) [[likely]] {
                s = end;
            } else {
                time = start;
                s = integrate(true);
            }
        }

        // Reorthonormalisation, logarithm sums and estimates, committed per
        // lane only where every stored value stayed finite. Lanes in their
        // transient reorthonormalise but add no logarithms.
        State<W> g = s;
        std::array<V, kDim> norms{}, proj{};
        auto ok = gramSchmidt<V>([&g](std::size_t c, std::size_t j) -> V& { return g[tangentIndex(c, j)]; }, norms,
                                 proj, [](const V& v) __attribute__((always_inline)) {
                                     V r;
                                     for (int l = 0; l < W; ++l) r[l] = __builtin_sqrt(v[l]);
                                     return r;
                                 });
        std::array<V, kDim> sums = logSum, estimates, logs{};
        Mask measuring;
        for (int l = 0; l < W; ++l) measuring[l] = carried[l] >= 0 && transientLeft[l] == 0 ? -1 : 0;
        for (std::size_t k = 0; k < kDim; ++k) {
            for (int l = 0; l < W; ++l)
                if (measuring[l] && norms[k][l] > 0) {
                    logs[k][l] = std::log(norms[k][l]);
                    sums[k][l] = logs[k][l] + sums[k][l];
                }
            estimates[k] = sums[k] / time;
            ok = ok & ((finiteMask(sums[k]) & finiteMask(estimates[k])) | ~measuring);
        }
        for (int l = 0; l < W; ++l)
            if (!ok[l]) fail(l, time[l]);
        for (std::size_t i = 0; i < kComponents; ++i) s[i] = ok ? g[i] : s[i];
        const Mask commit = ok & measuring;
        for (std::size_t k = 0; k < kDim; ++k) {
            logSum[k] = commit ? sums[k] : logSum[k];
            expo[k] = commit ? estimates[k] : expo[k];
        }

        for (int l = 0; l < W; ++l) {
            if (carried[l] < 0) continue;
            if (transientLeft[l] > 0) {
                // After the transient the measurement starts from t = 0.
                if (--transientLeft[l] == 0) time[l] = 0.0;
                continue;
            }
            const std::int64_t done = ++measured[l];
            bool reached = false;
            if (settings.errors) {
                Triple& batch = batchSum[l];
                for (std::size_t k = 0; k < kDim; ++k)
                    if (norms[k][l] > 0) batch[k] = logs[k][l] + batch[k];
                if (done % settings.batch == 0) {
                    const double span = time[l] - batchStart[l];
                    stats[l].add({batch[0] / span, batch[1] / span, batch[2] / span});
                    batch = {};
                    batchStart[l] = time[l];
                    if (settings.targetError > 0) {
                        const auto widths = stats[l].halfWidths();
                        reached = widths && (*widths)[0] <= settings.targetError &&
                                  (*widths)[1] <= settings.targetError && (*widths)[2] <= settings.targetError;
                    }
                }
            }
            const bool last = reached || done == settings.intervals;
            observe(IntervalState{.interval = done,
                                  .t = time[l],
                                  .expo = {expo[0][l], expo[1][l], expo[2][l]},
                                  .batches = &stats[l],
                                  .last = last,
                                  .point = {s[0][l], s[1][l], s[2][l]}});
            if (last) finish(l, true, time[l]);
        }
        for (int l = 0; l < W; ++l)
            if (carried[l] < 0) load(l);
    }
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

std::string_view pathName(SimdPath path) {
    switch (path) {
        case SimdPath::Lanes128:
#if defined(__x86_64__)
            return "128-bit (SSE2)";
#elif defined(__aarch64__)
            return "128-bit (NEON)";
#else
            return "128-bit";
#endif
        case SimdPath::Avx2:
            return "AVX2";
        case SimdPath::Avx512:
            return "AVX-512";
    }
    return "?";
}

int lanesOf(SimdPath path) {
    return path == SimdPath::Avx512 ? 8 : path == SimdPath::Avx2 ? 4 : 2;
}

std::vector<SimdPath> availablePaths() {
    std::vector<SimdPath> paths{SimdPath::Lanes128};
#if defined(__x86_64__)
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2")) paths.push_back(SimdPath::Avx2);
    if (__builtin_cpu_supports("avx512f")) paths.push_back(SimdPath::Avx512);
#endif
    return paths;
}

SimdPath widestPath() {
    static const SimdPath widest = availablePaths().back();
    return widest;
}

void runPoints(SimdPath path, const RunSettings& settings, std::span<const FlowParameters> points,
               std::span<PointResult> results, LaneUsage* usage, const std::atomic<bool>* stop) {
    if (settings.intervals <= 0) {
        // Nothing to integrate: every point is complete where it starts.
        for (PointResult& r : results) r = {true, 0.0, {}, 0, 0, false, {}};
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
    if (settings.intervals <= 0) return {true, 0.0, {}, 0, 0, false, {}};
    runPool<2>(settings, std::span(&point, 1), std::span(&result, 1), nullptr, stop, Observed{observe, observeStep});
    return result;
}

}  // namespace veltrano
