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

template <int W>
VELTRANO_ALWAYS_INLINE Lanes<W> broadcast(double v) {
    Lanes<W> r;
    for (int l = 0; l < W; ++l) r[l] = v;
    return r;
}

// Integrates up to W points (count of them; the spare lanes repeat the
// first point and are not reported) for n intervals.
template <int W>
VELTRANO_ALWAYS_INLINE void runLanes(std::int16_t n, const FlowParameters* points, int count, PointResult* out) {
    using V = Lanes<W>;
    constexpr double h = Spectrum::kStep;
    V sv, rv, bv;
    for (int l = 0; l < W; ++l) {
        const FlowParameters& p = points[l < count ? l : 0];
        sv[l] = p.sv;
        rv[l] = p.rv;
        bv[l] = p.bv;
    }
    State<W> s;
    const StateVector start = Spectrum::initialState();
    for (std::size_t i = 0; i < kComponents; ++i) s[i] = broadcast<W>(start[i]);
    std::array<V, kDim> logSum{}, expo{};
    double time = 0.0;

    PointResult result[W];
    bool alive[W];
    int aliveCount = W;
    for (bool& a : alive) a = true;
    // A stopped lane keeps its time and then carries the origin with all
    // parameters zero: a fixed point whose steps stay finite, so the other
    // lanes keep the fast path.
    const auto stop = [&](int l, double reached) __attribute__((always_inline)) {
        if (!alive[l]) return;
        alive[l] = false;
        --aliveCount;
        result[l] = {false, reached, {}};
        sv[l] = rv[l] = bv[l] = 0.0;
        for (V& c : s) c[l] = 0.0;
    };
    const auto field = [&](const State<W>& x, State<W>& d) __attribute__((always_inline)) {
        lorenzField(x, d, sv, rv, bv);
    };

    // Steps alternate between two buffers. A non-finite value never turns
    // finite again (each new component is a sum with the old one), so the
    // state is tested once per interval; when a lane has failed, the interval
    // is run again from its start, testing every step, to find the step each
    // failing lane stops at.
    State<W> buffer[2];
    const auto integrate = [&](bool testEachStep) __attribute__((always_inline)) {
        int cur = 0;
        buffer[0] = s;
        for (int step = 0; step < Spectrum::kStepsPerOrtho; ++step) {
            State<W>& now = buffer[cur];
            State<W>& next = buffer[cur ^ 1];
            rk4Step(now, next, h, field);
            const double nextTime = h + time;
            if (testEachStep) {
                const auto ok = finiteLanes<W>(next) & finiteMask(broadcast<W>(nextTime));
                for (int l = 0; l < W; ++l)
                    if (!ok[l]) stop(l, time);
                for (std::size_t i = 0; i < kComponents; ++i) next[i] = ok ? next[i] : now[i];
                for (int l = 0; l < W; ++l)
                    if (!alive[l])
                        for (V& c : next) c[l] = 0.0;
            }
            cur ^= 1;
            time = nextTime;
        }
        return buffer[cur];
    };

    for (int interval = 0; interval < n && aliveCount > 0; ++interval) {
        const double start = time;
        {
            const State<W>& end = integrate(false);
            const auto ok = finiteLanes<W>(end) & finiteMask(broadcast<W>(time));
            bool all = true;
            for (int l = 0; l < W; ++l) all &= ok[l] != 0;
            if (all) [[likely]] {
                s = end;
            } else {
                time = start;
                s = integrate(true);
            }
        }
        if (aliveCount == 0) break;

        // Reorthonormalisation, logarithm sums and estimates, committed per
        // lane only where every stored value stayed finite.
        State<W> g = s;
        std::array<V, kDim> norms{}, proj{};
        auto ok = gramSchmidt<V>([&g](std::size_t c, std::size_t j) -> V& { return g[tangentIndex(c, j)]; }, norms,
                                 proj, [](const V& v) __attribute__((always_inline)) {
                                     V r;
                                     for (int l = 0; l < W; ++l) r[l] = __builtin_sqrt(v[l]);
                                     return r;
                                 });
        std::array<V, kDim> sums = logSum, estimates;
        for (std::size_t k = 0; k < kDim; ++k) {
            for (int l = 0; l < W; ++l)
                if (norms[k][l] > 0) sums[k][l] = std::log(norms[k][l]) + sums[k][l];
            estimates[k] = sums[k] / time;
            ok = ok & finiteMask(sums[k]) & finiteMask(estimates[k]);
        }
        for (int l = 0; l < W; ++l)
            if (!ok[l]) stop(l, time);
        for (std::size_t i = 0; i < kComponents; ++i) s[i] = ok ? g[i] : s[i];
        for (std::size_t k = 0; k < kDim; ++k) {
            logSum[k] = ok ? sums[k] : logSum[k];
            expo[k] = ok ? estimates[k] : expo[k];
        }
    }
    for (int l = 0; l < count; ++l) {
        if (alive[l]) result[l] = {true, time, {expo[0][l], expo[1][l], expo[2][l]}};
        out[l] = result[l];
    }
}

template <int W>
VELTRANO_ALWAYS_INLINE void runAll(std::int16_t n, std::span<const FlowParameters> points,
                                   std::span<PointResult> results) {
    for (std::size_t first = 0; first < points.size(); first += W) {
        const int count = static_cast<int>(std::min<std::size_t>(W, points.size() - first));
        runLanes<W>(n, points.data() + first, count, results.data() + first);
    }
}

// One copy of the integrator per instruction set, each with the lane width
// of its registers.
__attribute__((target("avx512f"))) void runAvx512(std::int16_t n, std::span<const FlowParameters> points,
                                                  std::span<PointResult> results) {
    runAll<8>(n, points, results);
}

__attribute__((target("avx2"))) void runAvx2(std::int16_t n, std::span<const FlowParameters> points,
                                             std::span<PointResult> results) {
    runAll<4>(n, points, results);
}

void runSse2(std::int16_t n, std::span<const FlowParameters> points, std::span<PointResult> results) {
    runAll<2>(n, points, results);
}

}  // namespace

std::string_view pathName(SimdPath path) {
    switch (path) {
        case SimdPath::Sse2:
            return "SSE2";
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
    __builtin_cpu_init();
    std::vector<SimdPath> paths{SimdPath::Sse2};
    if (__builtin_cpu_supports("avx2")) paths.push_back(SimdPath::Avx2);
    if (__builtin_cpu_supports("avx512f")) paths.push_back(SimdPath::Avx512);
    return paths;
}

SimdPath widestPath() {
    static const SimdPath widest = availablePaths().back();
    return widest;
}

void runPoints(SimdPath path, std::int16_t n, std::span<const FlowParameters> points, std::span<PointResult> results) {
    switch (path) {
        case SimdPath::Avx512:
            return runAvx512(n, points, results);
        case SimdPath::Avx2:
            return runAvx2(n, points, results);
        case SimdPath::Sse2:
            return runSse2(n, points, results);
    }
}

}  // namespace veltrano
