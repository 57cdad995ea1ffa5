#pragma once

// The lane engine over any flow system: its definition, included by the
// files that compile it for a system (with -Wno-psabi and -funroll-loops,
// like batched_exponents.cpp) and nowhere else. Callers include
// system_exponents.h.

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <functional>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <utility>

#include "flow_system.h"
#include "interval_close.h"
#include "rk4_step.h"
#include "system_exponents.h"

namespace veltrano::lanes {

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

// Steps between two looks at the stop within an interval: well under a
// millisecond of work, and one look in thousands of steps costs nothing.
inline constexpr std::int64_t kStopCheckSteps = 4096;

// n lane vectors on the heap, aligned for the widest registers: outside
// the functions compiled for AVX the compiler takes a 32- or 64-byte vector
// to need only 16 bytes, so an ordinary allocation would not do.
template <class V>
class LaneBuffer {
public:
    static constexpr std::align_val_t kAlignment{64};

    LaneBuffer() = default;
    explicit LaneBuffer(std::size_t n) : n_(n), v_(allocate(n)) { std::memset(static_cast<void*>(v_), 0, bytes()); }
    LaneBuffer(const LaneBuffer& other) : LaneBuffer(other.n_) { *this = other; }
    LaneBuffer& operator=(const LaneBuffer& other) {
        if (this == &other) return *this;
        if (n_ != other.n_) {
            release();
            n_ = other.n_;
            v_ = allocate(n_);
        }
        std::memcpy(static_cast<void*>(v_), static_cast<const void*>(other.v_), bytes());
        return *this;
    }
    ~LaneBuffer() { release(); }

    VELTRANO_ALWAYS_INLINE std::size_t size() const { return n_; }
    VELTRANO_ALWAYS_INLINE V* data() { return v_; }
    VELTRANO_ALWAYS_INLINE const V* data() const { return v_; }
    VELTRANO_ALWAYS_INLINE V& operator[](std::size_t i) { return v_[i]; }
    VELTRANO_ALWAYS_INLINE const V& operator[](std::size_t i) const { return v_[i]; }
    VELTRANO_ALWAYS_INLINE V* begin() { return v_; }
    VELTRANO_ALWAYS_INLINE V* end() { return v_ + n_; }

private:
    std::size_t bytes() const { return n_ * sizeof(V); }
    static V* allocate(std::size_t n) {
        return n == 0 ? nullptr : static_cast<V*>(::operator new(n * sizeof(V), kAlignment));
    }
    void release() {
        if (v_) ::operator delete(static_cast<void*>(v_), kAlignment);
        v_ = nullptr;
    }

    std::size_t n_ = 0;
    V* v_ = nullptr;
};

// The whole state of W points, x then the k tangent vectors: a fixed
// array where d and k are known when compiling (the registers and unrolled
// loops of Lorenz), a vector on the heap where they are chosen at run time.
template <class V, std::size_t N>
struct StateStore {
    using type = std::array<V, N>;
    static type make(std::size_t) { return type{}; }
};
template <class V>
struct StateStore<V, 0> {
    using type = LaneBuffer<V>;
    static type make(std::size_t n) { return type(n); }
};

// What a sweep watches: nothing.
struct NoObserver {
    static constexpr bool kIntervals = false;
    static constexpr bool kSteps = false;
    template <class State>
    VELTRANO_ALWAYS_INLINE void operator()(const State&) const {}
    VELTRANO_ALWAYS_INLINE bool steps() const { return false; }
    VELTRANO_ALWAYS_INLINE void step(double, std::span<const double>) const {}
};

// The observed single run of a system: every measured interval, and every
// measured step when asked.
template <std::size_t N>
struct Observed {
    static constexpr bool kIntervals = true;
    static constexpr bool kSteps = true;
    const std::function<void(const SystemIntervalState<N>&)>& interval;
    const std::function<void(double, std::span<const double>)>& stepped;
    void operator()(const SystemIntervalState<N>& state) const { interval(state); }
    bool steps() const { return static_cast<bool>(stepped); }
    void step(double t, std::span<const double> x) const { stepped(t, x); }
};

// Points read from a span of parameter arrays, results written to a span.
template <class System>
struct SpanPoints {
    std::span<const ParametersOf<System>> points;
    std::size_t size() const { return points.size(); }
    VELTRANO_ALWAYS_INLINE const ParametersOf<System>& parameters(std::size_t i) const { return points[i]; }
};
template <class System>
struct SpanResults {
    std::span<ResultOf<System>> results;
    VELTRANO_ALWAYS_INLINE void write(std::size_t i, const ResultOf<System>& r) const { results[i] = r; }
};

// What one lane does when its point starts, ends or fails, or a batch of it
// closes, is called rather than inlined: it happens once a point or a
// batch, and inlined it was copied into every loop over the lanes (at eight
// lanes eight times over), a third of the engines' compile. Its arithmetic
// is the same either way (nothing is contracted), and so are the bits.
#define VELTRANO_LANE_EVENT __attribute__((noinline))

// A pool of W lanes that works through the points of `In`: each lane
// carries one point from its starting state to its end and then takes the
// next point, so the lanes stay busy while points end at different times.
// Everything a point computes depends on its own lane only, in the order of
// the single run. The numbers of the points live in lane vectors (state,
// time, parameters, sums, estimates, the divergence integral), what a lane
// knows of its point besides in one record per lane.
//
// K is the number of exponents when known at compile time (with the
// system's own dimension), 0 when chosen at run time.
template <class System, std::size_t K, int W, class In, class Out, class Observer>
class LanePool {
    static constexpr std::size_t kD = System::kDimension;
    static constexpr bool kFixed = kD != 0 && K != 0;
    static constexpr std::size_t kCap = kCapacityOf<System>;
    static constexpr std::size_t kP = System::kParameters;
    static_assert(K <= kCap);

public:
    VELTRANO_ALWAYS_INLINE LanePool(const System& system, const SystemSettings& settings, const In& in,
                                    const Out& out, const Observer& observe)
        : system_(system),
          settings_(settings),
          in_(in),
          out_(out),
          observe_(observe),
          d_(system.dimension()),
          k_(settings.exponents),
          s_(Store::make(components())) {
        if constexpr (!kFixed) {
            for (auto& b : scratch_) b = Store::make(components());
            for (auto& b : buffer_) b = Store::make(components());
            g_ = Store::make(components());
        }
    }

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
    static constexpr std::size_t kVectorCap = K != 0 ? K : kCap;
    using Vectors = std::array<V, kVectorCap>;
    using Values = std::array<double, kCap>;
    using Store = StateStore<V, kFixed ? kD + kD * K : 0>;
    using State = typename Store::type;
    using Result = SystemResult<kCap>;

    // A lane's point and where it stands.
    struct Lane {
        std::int64_t point = -1;         // the index of the point carried (-1: none)
        std::int64_t transientLeft = 0;  // intervals of the transient still to run
        std::int64_t measured = 0;       // measured intervals done
        Values batchSum{};               // logarithms of the batch under way
        double batchStart = 0.0;         // and the time it started at
        BatchMeansOf<kCap> stats;
    };

    VELTRANO_ALWAYS_INLINE std::size_t dim() const {
        if constexpr (kD != 0) return kD;
        else return d_;
    }
    VELTRANO_ALWAYS_INLINE std::size_t count() const {
        if constexpr (K != 0) return K;
        else return k_;
    }
    VELTRANO_ALWAYS_INLINE std::size_t components() const { return dim() + dim() * count(); }
    // Component c of tangent vector j.
    VELTRANO_ALWAYS_INLINE std::size_t at(std::size_t c, std::size_t j) const { return dim() + count() * c + j; }

    // The time derivative of the whole state at x: the flow, then each
    // tangent vector through the Jacobian; `div` receives the divergence
    // at x.
    VELTRANO_ALWAYS_INLINE void field(const State& x, State& dxdt, const std::array<V, kP>& p, V& div) const {
        const V* xs = x.data();
        V* ds = dxdt.data();
        if constexpr (HasFlowAndTangents<System, V>) {
            system_.flowAndTangents(xs, p.data(), ds, xs + dim(), ds + dim(), count());
        } else {
            system_.flow(xs, p.data(), ds);
            for (std::size_t j = 0; j < count(); ++j)
                system_.tangent(xs, p.data(), xs + dim() + j, ds + dim() + j, count());
        }
        div = system_.divergence(xs, p.data());
    }

    // Where every component of the state is finite. A NaN anywhere survives
    // the sum of the differences x - x.
    VELTRANO_ALWAYS_INLINE auto finiteLanes(const State& s) const {
        V probe = s[0] - s[0];
        for (std::size_t i = 1; i < components(); ++i) probe = probe + (s[i] - s[i]);
        return probe == 0;
    }

    // Where `mask` is set a, elsewhere b. The compiler's own selection
    // where k is known; bitwise where it is counted at run time (GCC 12
    // fails on the selection by a mask kept across a loop for AVX-512).
    VELTRANO_ALWAYS_INLINE static V select(const Mask& mask, const V& a, const V& b) {
        if constexpr (kFixed) {
            return mask ? a : b;
        } else {
            // The builtin, not std::bit_cast: a call of that function, where
            // it is not inlined (-Og), would pass wide vectors between code of
            // two instruction sets.
            return __builtin_bit_cast(V, (__builtin_bit_cast(Mask, a) & mask) | (__builtin_bit_cast(Mask, b) & ~mask));
        }
    }

    // An idle lane carries the origin with all parameters zero: for the
    // polynomial fields of the program a fixed point whose steps stay
    // finite, so the other lanes keep the fast path. (Where it is not, the
    // interval is run again testing every step; the results are the same.)
    VELTRANO_ALWAYS_INLINE void idle(int l) {
        lanes_[l].point = -1;
        for (V& q : p_) q[l] = 0.0;
        for (V& c : s_) c[l] = 0.0;
    }

    // The next point into lane l, at its starting state.
    VELTRANO_LANE_EVENT void load(int l) {
        if (next_ >= in_.size()) return idle(l);
        const auto& p = in_.parameters(next_);
        lanes_[l] = Lane{.point = static_cast<std::int64_t>(next_++),
                         .transientLeft = settings_.transient,
                         .measured = 0,
                         .batchSum = {},
                         .batchStart = 0.0,
                         .stats = BatchMeansOf<kCap>(count())};
        ++busy_;
        for (std::size_t i = 0; i < kP; ++i) p_[i][l] = p[i];
        for (V& c : s_) c[l] = 0.0;
        for (std::size_t i = 0; i < dim(); ++i) s_[i][l] = settings_.initial[i];
        for (std::size_t j = 0; j < count(); ++j) s_[at(j, j)][l] = 1.0;
        time_[l] = 0.0;
        divergence_[l] = 0.0;
        for (std::size_t k = 0; k < count(); ++k) logSum_[k][l] = expo_[k][l] = 0.0;
    }

    // The point of lane l ends: its result is written and the lane idles.
    VELTRANO_LANE_EVENT void finish(int l, bool completed, double reached) {
        const Lane& lane = lanes_[l];
        Values halfWidth{};
        bool errorsKnown = false;
        if (settings_.errors && completed)
            if (const auto widths = lane.stats.halfWidths()) {
                halfWidth = *widths;
                errorsKnown = true;
            }
        Result r{.completed = completed,
                 .t = reached,
                 .exponents = count(),
                 .expo = {},
                 .intervals = lane.measured,
                 .batches = settings_.errors ? lane.stats.count() : 0,
                 .errorsKnown = errorsKnown,
                 .halfWidth = halfWidth,
                 .meanDivergence = completed ? divergence_[l] / time_[l] : 0.0};
        if (completed)
            for (std::size_t k = 0; k < count(); ++k) r.expo[k] = expo_[k][l];
        out_.write(static_cast<std::size_t>(lane.point), r);
        --busy_;
        idle(l);
    }

    // A fault ends the point with the time of its last completed step; in
    // the transient no time has been measured yet.
    VELTRANO_LANE_EVENT void fail(int l, double reached) {
        if (lanes_[l].point < 0) return;
        finish(l, false, lanes_[l].transientLeft > 0 ? 0.0 : reached);
    }

    VELTRANO_ALWAYS_INLINE bool stopped() const { return stop_ && stop_->load(std::memory_order_relaxed); }

    // The coordinates of lane l.
    VELTRANO_ALWAYS_INLINE Values coordinates(const State& s, int l) const {
        Values x{};
        for (std::size_t i = 0; i < dim(); ++i) x[i] = s[i][l];
        return x;
    }

    // The steps of one interval from s_, time_ and divergence_; returns the
    // state reached and advances time_ and divergence_. Steps alternate
    // between two buffers. With `testEachStep`, every step is tested: a
    // lane whose step faults ends at the step before, and the observer sees
    // every measured step. Between blocks of kStopCheckSteps steps the stop
    // is asked; when it has come, the interval is abandoned (`abandoned`
    // set, the state returned is of no use).
    //
    // The divergence is integrated by the same Runge-Kutta steps, as the
    // extra equation dD/dt = div(x) would be: its slopes are the
    // divergences at the four stage points, combined with the weights and
    // in the order of the update. That is the accuracy of the scheme (the
    // trapezoid over the steps would be of second order only, and its error
    // would hide the integrator's in the comparison with the sum of the
    // exponents), at the price of four divergences per step: nothing beside
    // d tangent vectors, and for Lorenz, whose divergence is a constant,
    // one addition per step once the compiler has taken the rest out of the
    // loop. D is kept apart from the state so that it tests nothing.
    VELTRANO_ALWAYS_INLINE const State& integrate(bool testEachStep, bool& abandoned, State (&buffer)[2]) {
        const double h = settings_.step;
        const std::int64_t steps = settings_.stepsPerInterval;
        const std::array<V, kP> p = p_;
        V time = time_;
        V divergence = divergence_;
        int cur = 0;
        buffer[0] = s_;
        for (std::int64_t step = 0; step < steps;) {
            if (step > 0 && stopped()) [[unlikely]] {
                abandoned = true;
                break;
            }
            const std::int64_t blockEnd = std::min(steps, step + kStopCheckSteps);
            for (; step < blockEnd; ++step) {
                State& now = buffer[cur];
                State& after = buffer[cur ^ 1];
                V slopes[4];
                rungeKuttaStep(now, after, h, p, slopes);
                const V nextTime = h + time;
                const V nextDivergence = ((((slopes[2] + slopes[1]) * 2) + (slopes[3] + slopes[0])) * h) / 6 + divergence;
                if (testEachStep) {
                    const auto ok = finiteLanes(after) & finiteMask(nextTime);
                    for (int l = 0; l < W; ++l)
                        if (!ok[l]) fail(l, time[l]);
                    for (std::size_t i = 0; i < components(); ++i) after[i] = select(ok, after[i], now[i]);
                    for (int l = 0; l < W; ++l)
                        if (lanes_[l].point < 0)
                            for (V& c : after) c[l] = 0.0;
                    if constexpr (Observer::kSteps) {
                        if (observe_.steps())
                            for (int l = 0; l < W; ++l)
                                if (lanes_[l].point >= 0 && lanes_[l].transientLeft == 0) {
                                    const Values x = coordinates(after, l);
                                    observe_.step(nextTime[l], std::span(x).first(dim()));
                                }
                    }
                }
                cur ^= 1;
                time = nextTime;
                divergence = nextDivergence;
            }
        }
        time_ = time;
        divergence_ = divergence;
        return buffer[cur];
    }

    // One Runge-Kutta step from `now` into `after`; `slopes` receives the
    // divergence at the four stages.
    VELTRANO_ALWAYS_INLINE void rungeKuttaStep(const State& now, State& after, double h, const std::array<V, kP>& p,
                                               V (&slopes)[4]) {
        if constexpr (LaneStepSystem<System>) {
            // The whole step of the block in one call, the lanes' doubles
            // side by side as these vectors hold them.
            system_.stepLanes(W, reinterpret_cast<const double*>(now.data()), reinterpret_cast<double*>(after.data()),
                              reinterpret_cast<const double*>(p.data()), reinterpret_cast<double*>(slopes), h,
                              count());
        } else {
            int stage = 0;
            const auto f = [this, &p, &slopes, &stage ](const State& x, State& d) __attribute__((always_inline)) {
                field(x, d, p, slopes[stage++]);
            };
            if constexpr (kFixed)
                rk4Step(now, after, h, f);
            else
                rk4Step(now, after, h, f, scratch_);
        }
    }

    // A non-finite value never turns finite again (each new component is a
    // sum with the old one), so the state is tested once per interval; when
    // a lane has failed, the interval is run again from its start, testing
    // every step, to find the step each failing lane stops at.
    // False when the interval was abandoned for a stop.
    VELTRANO_ALWAYS_INLINE bool integrateInterval() {
        bool abandoned = false;
        if constexpr (kFixed) {
            State buffer[2];
            return integrateInterval(abandoned, buffer);
        } else {
            return integrateInterval(abandoned, buffer_);
        }
    }

    VELTRANO_ALWAYS_INLINE bool integrateInterval(bool& abandoned, State (&buffer)[2]) {
        if (observe_.steps()) {
            s_ = integrate(true, abandoned, buffer);
            return !abandoned;
        }
        const V start = time_, startDivergence = divergence_;
        const State& end = integrate(false, abandoned, buffer);
        if (abandoned) [[unlikely]]
            return false;
        const auto ok = finiteLanes(end) & finiteMask(time_);
        bool all = true;
        for (int l = 0; l < W; ++l) all &= ok[l] != 0;
        if (all) [[likely]] {
            s_ = end;
        } else {
            time_ = start;
            divergence_ = startDivergence;
            s_ = integrate(true, abandoned, buffer);
        }
        return !abandoned;
    }

    // Reorthonormalisation, logarithm sums and estimates, committed per lane
    // only where every stored value stayed finite; `norms` and `logs`
    // receive the interval's norms and logarithms. Lanes in their transient
    // reorthonormalise but add no logarithms.
    VELTRANO_ALWAYS_INLINE void closeInterval(Vectors& norms, Vectors& logs) {
        if constexpr (kFixed) {
            State g = s_;
            closeInterval(norms, logs, g);
        } else {
            g_ = s_;
            closeInterval(norms, logs, g_);
        }
    }

    VELTRANO_ALWAYS_INLINE void closeInterval(Vectors& norms, Vectors& logs, State& g) {
        Vectors proj{}, sums = logSum_, estimates;
        Mask measuring;
        for (int l = 0; l < W; ++l) measuring[l] = lanes_[l].point >= 0 && lanes_[l].transientLeft == 0 ? -1 : 0;
        const auto ok = closeIntervalVectors<V>(
            [this, &g](std::size_t c, std::size_t j) -> V& { return g[at(c, j)]; }, dim(), count(), norms, proj, sums,
            estimates, time_,
            [](const V& v) __attribute__((always_inline)) {
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
        for (std::size_t i = 0; i < components(); ++i) s_[i] = select(ok, g[i], s_[i]);
        const Mask commit = ok & measuring;
        for (std::size_t k = 0; k < count(); ++k) {
            logSum_[k] = select(commit, sums[k], logSum_[k]);
            expo_[k] = select(commit, estimates[k], expo_[k]);
        }
    }

    // The end of a batch of lane l: its estimates join the batch means.
    // Returns whether the point has reached its target error.
    VELTRANO_LANE_EVENT bool closeBatch(int l) {
        Lane& lane = lanes_[l];
        const double span = time_[l] - lane.batchStart;
        Values estimate{};
        for (std::size_t k = 0; k < count(); ++k) estimate[k] = lane.batchSum[k] / span;
        lane.stats.add(estimate);
        lane.batchSum = {};
        lane.batchStart = time_[l];
        if (!(settings_.targetError > 0)) return false;
        const auto widths = lane.stats.halfWidths();
        if (!widths) return false;
        for (std::size_t k = 0; k < count(); ++k)
            if (!((*widths)[k] <= settings_.targetError)) return false;
        return true;
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
                if (--lane.transientLeft == 0) time_[l] = divergence_[l] = 0.0;
                continue;
            }
            const std::int64_t done = ++lane.measured;
            bool reached = false;
            if (settings_.errors) {
                for (std::size_t k = 0; k < count(); ++k)
                    if (norms[k][l] > 0) lane.batchSum[k] = logs[k][l] + lane.batchSum[k];
                if (done % settings_.batch == 0) reached = closeBatch(l);
            }
            const bool last = reached || done == settings_.intervals;
            if constexpr (Observer::kIntervals) {
                Values expo{};
                for (std::size_t k = 0; k < count(); ++k) expo[k] = expo_[k][l];
                const Values x = coordinates(s_, l);
                observe_(SystemIntervalState<kCap>{.interval = done,
                                                   .t = time_[l],
                                                   .expo = std::span(expo).first(count()),
                                                   .batches = &lane.stats,
                                                   .last = last,
                                                   .point = std::span(x).first(dim()),
                                                   .meanDivergence = divergence_[l] / time_[l]});
            }
            if (last) finish(l, true, time_[l]);
        }
    }

    const System& system_;
    const SystemSettings& settings_;
    const std::atomic<bool>* stop_ = nullptr;
    const In& in_;
    const Out& out_;
    const Observer& observe_;
    std::size_t d_;         // the dimension
    std::size_t k_;         // the exponents computed
    std::size_t next_ = 0;  // the next point to load
    int busy_ = 0;          // lanes carrying a point
    Lane lanes_[W];
    std::array<V, kP> p_{};
    V time_{}, divergence_{};
    State s_;
    Vectors logSum_{}, expo_{};
    // The working buffers of a state sized at run time, allocated once.
    struct NoBuffers {};
    [[no_unique_address]] std::conditional_t<kFixed, NoBuffers, std::array<State, 4>> scratch_{};
    [[no_unique_address]] std::conditional_t<kFixed, NoBuffers, State[2]> buffer_{};
    [[no_unique_address]] std::conditional_t<kFixed, NoBuffers, State> g_{};
};

template <class System, std::size_t K, int W, class In, class Out, class Observer>
VELTRANO_ALWAYS_INLINE void runPool(const System& system, const SystemSettings& settings, const In& in, const Out& out,
                                    LaneUsage* usage, const std::atomic<bool>* stop, const Observer& observe) {
    LanePool<System, K, W, In, Out, Observer>(system, settings, in, out, observe).run(usage, stop);
}

template <class System, std::size_t K, int W, class In, class Out>
void runLanes(const System& system, const SystemSettings& settings, const In& in, const Out& out, LaneUsage* usage,
              const std::atomic<bool>* stop) {
    runPool<System, K, W>(system, settings, in, out, usage, stop, NoObserver{});
}

// The builds that check rather than run may leave out the AVX-512 copy
// (VELTRANO_AVX512=0): availablePaths() then stops at AVX2.
#if defined(__x86_64__) && !(defined(VELTRANO_AVX512) && VELTRANO_AVX512 == 0)
#define VELTRANO_LANES_AVX512 1
#else
#define VELTRANO_LANES_AVX512 0
#endif

#if defined(__x86_64__)
// One copy of the integrator per instruction set, each with the lane width
// of its registers.
#if VELTRANO_LANES_AVX512
template <class System, std::size_t K, class In, class Out>
__attribute__((target("avx512f"))) void runAvx512(const System& system, const SystemSettings& settings, const In& in,
                                                  const Out& out, LaneUsage* usage, const std::atomic<bool>* stop) {
    runPool<System, K, 8>(system, settings, in, out, usage, stop, NoObserver{});
}
#endif

template <class System, std::size_t K, class In, class Out>
__attribute__((target("avx2"))) void runAvx2(const System& system, const SystemSettings& settings, const In& in,
                                             const Out& out, LaneUsage* usage, const std::atomic<bool>* stop) {
    runPool<System, K, 4>(system, settings, in, out, usage, stop, NoObserver{});
}
#endif

// The points of `in` on `path`.
template <class System, std::size_t K, class In, class Out>
void runOnPath(SimdPath path, const System& system, const SystemSettings& settings, const In& in, const Out& out,
               LaneUsage* usage, const std::atomic<bool>* stop) {
    switch (path) {
#if defined(__x86_64__)
        case SimdPath::Avx512:
#if VELTRANO_LANES_AVX512
            return runAvx512<System, K>(system, settings, in, out, usage, stop);
#endif
        case SimdPath::Avx2:
            return runAvx2<System, K>(system, settings, in, out, usage, stop);
#else
        case SimdPath::Avx512:
        case SimdPath::Avx2:
#endif
        case SimdPath::Lanes128:
            return runLanes<System, K, 2>(system, settings, in, out, usage, stop);
    }
}

// The largest dimension known when compiling for which every k has a copy
// of the engine of its own (none in the builds that check rather than run:
// there the other k take the engine that counts k, with the same bits).
#if (defined(VELTRANO_ENGINE_FOR_EVERY_K) && VELTRANO_ENGINE_FOR_EVERY_K == 0) || \
    (defined(VELTRANO_ENGINE_ONE_COPY) && VELTRANO_ENGINE_ONE_COPY)
inline constexpr std::size_t kEveryExponentCountUpTo = 0;
#else
inline constexpr std::size_t kEveryExponentCountUpTo = 8;
#endif
// Whether k = d has a copy of its own where the others have none (all but
// the build that checks the engine once a lane width, the sanitizers').
#if defined(VELTRANO_ENGINE_ONE_COPY) && VELTRANO_ENGINE_ONE_COPY
inline constexpr bool kFullSpectrumCopy = false;
#else
inline constexpr bool kFullSpectrumCopy = true;
#endif

// For a system whose dimension is known when compiling, k is known too:
// Lorenz's loops and registers, for k = d and (up to the dimension
// kEveryExponentCountUpTo) for fewer exponents alike. Any other k is
// counted at run time. k is from 1 to d (checkRun).
template <class System, class Run>
VELTRANO_ALWAYS_INLINE void withExponents(const SystemSettings& settings, Run&& run) {
    constexpr std::size_t d = System::kDimension;
    if constexpr (d != 0 && d <= kEveryExponentCountUpTo) {
        [&]<std::size_t... K>(std::index_sequence<K...>) {
            (void)((settings.exponents == K + 1 && (run(std::integral_constant<std::size_t, K + 1>{}), true)) || ...);
        }(std::make_index_sequence<d>{});
    } else {
        if constexpr (d != 0 && kFullSpectrumCopy) {
            if (settings.exponents == d) return run(std::integral_constant<std::size_t, d>{});
        }
        run(std::integral_constant<std::size_t, 0>{});
    }
}

// Refuses what the engine cannot run, before any work.
template <class System>
void checkRun(const System& system, const SystemSettings& settings) {
    const std::size_t d = system.dimension();
    const std::size_t cap = kCapacityOf<System>;
    if (d < 1 || d > cap)
        throw std::invalid_argument("the dimension must be from 1 to " + std::to_string(cap) + ", not " +
                                    std::to_string(d));
    if (settings.exponents < 1 || settings.exponents > d)
        throw std::invalid_argument("the number of exponents must be from 1 to the dimension " + std::to_string(d) +
                                    ", not " + std::to_string(settings.exponents));
    if (settings.initial.size() != d)
        throw std::invalid_argument("the starting point must have " + std::to_string(d) + " coordinates, not " +
                                    std::to_string(settings.initial.size()));
    for (double v : settings.initial)
        if (!std::isfinite(v)) throw std::invalid_argument("the starting point must be finite");
    if (settings.errors && settings.batch < 1)
        throw std::invalid_argument("a batch must hold at least one interval, not " + std::to_string(settings.batch));
}

// A point that integrates nothing is complete where it starts.
template <class System>
ResultOf<System> untouched(const SystemSettings& settings) {
    return ResultOf<System>{.completed = true, .exponents = settings.exponents};
}

}  // namespace veltrano::lanes

namespace veltrano {

template <class System>
void runSystemPoints(SimdPath path, const System& system, const SystemSettings& settings,
                     std::span<const ParametersOf<System>> points, std::span<ResultOf<System>> results,
                     LaneUsage* usage, const std::atomic<bool>* stop) {
    lanes::checkRun(system, settings);
    if (results.size() < points.size())
        throw std::invalid_argument("there must be a result for each of the " + std::to_string(points.size()) +
                                    " points, not " + std::to_string(results.size()));
    if (settings.intervals <= 0) {
        for (auto& r : results.first(points.size())) r = lanes::untouched<System>(settings);
        return;
    }
    const lanes::SpanPoints<System> in{points};
    const lanes::SpanResults<System> out{results};
    lanes::withExponents<System>(settings, [&](auto k) {
        lanes::runOnPath<System, decltype(k)::value>(path, system, settings, in, out, usage, stop);
    });
}

template <class System>
ResultOf<System> runSystemPoint(const System& system, const SystemSettings& settings,
                                 const ParametersOf<System>& point, const std::atomic<bool>* stop) {
    ResultOf<System> result;
    runSystemPoints<System>(SimdPath::Lanes128, system, settings, std::span(&point, 1), std::span(&result, 1),
                            nullptr, stop);
    return result;
}

template <class System>
ResultOf<System> runSystemObserved(const System& system, const SystemSettings& settings,
                                    const ParametersOf<System>& point,
                                    const std::function<void(const IntervalStateOf<System>&)>& observe,
                                    const std::atomic<bool>* stop,
                                    const std::function<void(double t, std::span<const double> x)>& observeStep) {
    lanes::checkRun(system, settings);
    if (settings.intervals <= 0) return lanes::untouched<System>(settings);
    ResultOf<System> result;
    const lanes::SpanPoints<System> in{std::span(&point, 1)};
    const lanes::SpanResults<System> out{std::span(&result, 1)};
    const lanes::Observed<kCapacityOf<System>> observer{observe, observeStep};
    lanes::withExponents<System>(settings, [&](auto k) {
        lanes::runPool<System, decltype(k)::value, 2>(system, settings, in, out, nullptr, stop, observer);
    });
    return result;
}

}  // namespace veltrano

// Compiles the engine for System, in a file compiled like
// batched_exponents.cpp.
#define VELTRANO_LANE_ENGINE_FOR(System)                                                                         \
    template void veltrano::runSystemPoints<System>(                                                             \
        veltrano::SimdPath, const System&, const veltrano::SystemSettings&,                                      \
        std::span<const veltrano::ParametersOf<System>>, std::span<veltrano::ResultOf<System>>,                  \
        veltrano::LaneUsage*, const std::atomic<bool>*);                                                         \
    template veltrano::ResultOf<System> veltrano::runSystemPoint<System>(                                        \
        const System&, const veltrano::SystemSettings&, const veltrano::ParametersOf<System>&,                   \
        const std::atomic<bool>*);                                                                               \
    template veltrano::ResultOf<System> veltrano::runSystemObserved<System>(                                     \
        const System&, const veltrano::SystemSettings&, const veltrano::ParametersOf<System>&,                   \
        const std::function<void(const veltrano::IntervalStateOf<System>&)>&, const std::atomic<bool>*,          \
        const std::function<void(double, std::span<const double>)>&)
