// Every flow of the catalogue in the lanes, at its default point: the time
// per point-step (one RK4 step of one point with its d tangent vectors) on
// the widest lanes, one thread. Beside it, the cost of one point-step in
// the engine's own expressions: the arithmetic, counted by evaluating the
// flow's field, tangents and divergence on a number type that counts
// (below); the loads and stores of the state's components; the divisions;
// the calls of the library, whose price LibmCall measures. Each flow's time
// can then be set against Lorenz's scaled by the ratio of the costs: for the
// flows of three variables the loads and stores are as many as Lorenz's and
// the times follow operations + memory_ops; a libm call costs its own
// price, some ten nanoseconds, not one operation's.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "system_exponents.h"
#include "lorenz96.h"
#include "visit_system.h"

namespace counting {

// A double that counts the arithmetic done with it by what it depends on:
// the parameters and constants alone (worked out once, out of the loop of
// steps), the state (once a stage: the compiler merges the same expression
// of the state across the unrolled tangent vectors), or a tangent vector
// (once a vector). sin, cos and sincos are counted apart, a libm call per
// lane, since their cost is not one operation's.
enum Depends : unsigned char { kParameters, kState, kVector };
struct Number {
    double v = 0.0;
    Depends on = kParameters;
};
inline std::int64_t arithmetic[3] = {};
inline std::int64_t functions = 0;

inline Number counted(double v, Number a, Number b) {
    const Depends on = std::max(a.on, b.on);
    ++arithmetic[on];
    return {v, on};
}
inline Number operator+(Number a, Number b) {
    return counted(a.v + b.v, a, b);
}
inline Number operator-(Number a, Number b) {
    return counted(a.v - b.v, a, b);
}
inline Number operator*(Number a, Number b) {
    return counted(a.v * b.v, a, b);
}
inline Number operator/(Number a, Number b) {
    return counted(a.v / b.v, a, b);
}
inline Number operator-(Number a) {
    return counted(-a.v, a, a);
}
inline Number operator+(Number a, double b) { return a + Number{b}; }
inline Number operator+(double a, Number b) { return Number{a} + b; }
inline Number operator-(Number a, double b) { return a - Number{b}; }
inline Number operator-(double a, Number b) { return Number{a} - b; }
inline Number operator*(Number a, double b) { return a * Number{b}; }
inline Number operator*(double a, Number b) { return Number{a} * b; }
inline Number operator/(Number a, double b) { return a / Number{b}; }
inline Number operator/(double a, Number b) { return Number{a} / b; }

void reset() {
    arithmetic[kParameters] = arithmetic[kState] = arithmetic[kVector] = 0;
    functions = 0;
}

}  // namespace counting

namespace veltrano {
// A constant costs nothing; sin and cos are one call each.
template <>
counting::Number broadcast<counting::Number>(double c) {
    return {c};
}
template <>
counting::Number sine<counting::Number>(const counting::Number& v) {
    ++counting::functions;
    return {std::sin(v.v), v.on};
}
template <>
counting::Number cosine<counting::Number>(const counting::Number& v) {
    ++counting::functions;
    return {std::cos(v.v), v.on};
}
template <>
void sineAndCosine<counting::Number>(const counting::Number& v, counting::Number& s, counting::Number& c) {
    ++counting::functions;
    s = {std::sin(v.v), v.on};
    c = {std::cos(v.v), v.on};
}
}  // namespace veltrano

namespace {

using veltrano::SystemDescription;

// What one stage costs: the flow, the tangents of the k vectors and the
// divergence as the engine evaluates them (one call of `flowAndTangents`
// where the system has it, else the flow and `tangent` a vector), the
// arithmetic of the state counted once and that of each vector once a
// vector, and the calls of the library among them.
struct Count {
    std::int64_t field = 0, stage = 0, functions = 0;
};

template <class System>
Count countOf(const System& system, const std::vector<double>& start, const std::vector<double>& parameters,
              std::size_t k) {
    using counting::Number;
    const std::size_t d = system.dimension();
    std::vector<Number> x(d), p(parameters.size()), out(d), us(d * k, Number{1, counting::kVector}), dus(d * k);
    for (std::size_t i = 0; i < d; ++i) x[i] = {start[i], counting::kState};
    for (std::size_t i = 0; i < p.size(); ++i) p[i].v = parameters[i];
    Count c;
    counting::reset();
    system.flow(x.data(), p.data(), out.data());
    c.field = counting::arithmetic[counting::kState];
    counting::reset();
    if constexpr (veltrano::HasFlowAndTangents<System, Number>) {
        system.flowAndTangents(x.data(), p.data(), out.data(), us.data(), dus.data(), k);
        (void)system.divergence(x.data(), p.data());
        c.stage = counting::arithmetic[counting::kState] + counting::arithmetic[counting::kVector];
        c.functions = counting::functions;
    } else {
        // One vector: what it does with the state is done once for all.
        system.flow(x.data(), p.data(), out.data());
        system.tangent(x.data(), p.data(), us.data(), dus.data(), k);
        (void)system.divergence(x.data(), p.data());
        c.stage = counting::arithmetic[counting::kState] +
                  static_cast<std::int64_t>(k) * counting::arithmetic[counting::kVector];
        c.functions = counting::functions;
    }
    return c;
}

// One point-step with k vectors, n = d (k + 1) components, in the
// engine's own expressions (lane_engine.h, rk4_step.h, gram_schmidt.h):
struct StepCost {
    double operations = 0;  // additions, subtractions, products, negations, divisions
    double divisions = 0;   // of them, divisions by a number other than a power of two
    double libmCalls = 0;   // sin, cos, sincos and log, a lane each
    // Loads and stores of lane vectors in the combinations, a component:
    // each stage's slopes are stored by the field and read back (more
    // components than registers), 15 loads and 9 stores in all (the field
    // reads its argument, 4; the stage arguments read the slopes and s and
    // store, 3 + 3 + 5 with k23; the new value reads 4 and stores 1; the
    // field stores its slopes, 4). The small flows are bound by these, not
    // by their arithmetic.
    double memory = 0;
};

StepCost stepCost(const Count& c, std::size_t dimension, std::size_t exponents) {
    const double d = static_cast<double>(dimension), k = static_cast<double>(exponents), n = d + d * k;
    StepCost cost;
    // Four stages.
    const double stages = 4 * static_cast<double>(c.stage);
    // The combinations, a component: (k1 h)/2 + s and (k2 h)/2 + s, 3 each
    // (the halving is a product); k3 h + s and (k3 + k2) 2, 2 each; the new
    // value ((k23 + (k4 + k1)) h)/6 + s, 5 with one division. The divergence
    // integral is 7 with one division, the time 1.
    const double combinations = 15 * n + 8;
    // Once an interval of 20 steps: the finite test (2 a component); the
    // Gram-Schmidt products, subtractions and norms (4 d for each pair of
    // vectors, 2 d for each vector) and the d divisions of each vector by
    // its norm; the k estimates sum / t (divisions) and the k logarithms.
    const double interval = 2 * n + 4 * d * k * (k - 1) / 2 + 2 * d * k + d * k + k;
    cost.operations = stages + combinations + interval / 20;
    cost.divisions = (n + 1) + (d * k + k) / 20;
    cost.libmCalls = 4 * static_cast<double>(c.functions) + k / 20;
    cost.memory = 24 * n;
    return cost;
}

constexpr std::int64_t kPoints = 32;
constexpr std::int64_t kIntervals = 2000;

void CatalogueSweep(benchmark::State& st, const SystemDescription& s) {
    veltrano::visitSystem(s.name, s.dimension, [&](const auto& system) {
        using System = std::decay_t<decltype(system)>;
        std::vector<double> defaults;
        for (const auto& q : s.parameters) defaults.push_back(q.value);
        const Count count = countOf(system, s.start, defaults, system.dimension());
        veltrano::ParametersOf<System> base{};
        for (std::size_t i = 0; i < base.size(); ++i) base[i] = s.parameters[i].value;
        // The first parameter within a percent of its default: points that
        // differ, on one attractor (a flow without parameters runs its one
        // point in every lane).
        std::vector<veltrano::ParametersOf<System>> points(kPoints, base);
        if constexpr (System::kParameters > 0)
            for (std::int64_t i = 0; i < kPoints; ++i)
                points[static_cast<std::size_t>(i)][0] =
                    base[0] * (1 + 0.01 * (static_cast<double>(i) / (kPoints - 1) - 0.5));
        const veltrano::SystemSettings settings{
            .intervals = kIntervals, .initial = s.start, .exponents = system.dimension()};
        std::vector<veltrano::ResultOf<System>> results(points.size());
        for (auto _ : st) {
            veltrano::runSystemPoints<System>(veltrano::widestPath(), system, settings, points, results);
            benchmark::DoNotOptimize(results.data());
        }
        st.SetLabel(std::string(veltrano::pathName(veltrano::widestPath())));
        st.counters["per_point_step"] = benchmark::Counter(
            static_cast<double>(kPoints * kIntervals * 20),
            benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
        const StepCost cost = stepCost(count, system.dimension(), system.dimension());
        st.counters["field_ops"] = static_cast<double>(count.field);
        st.counters["stage_ops"] = static_cast<double>(count.stage);
        st.counters["step_ops"] = cost.operations;
        st.counters["divisions"] = cost.divisions;
        st.counters["libm_calls"] = cost.libmCalls;
        st.counters["memory_ops"] = cost.memory;
    });
}

// The catalogue's Lorenz-96 on rings of d sites with all d exponents
// (k = 0) and with three, as SystemSweepLorenz96 of system_engine_bench
// (F from 6 to 10 over 16 points, 200 intervals, widest lanes), with the
// operation count of a point-step at that d and k.
void CatalogueLorenz96(benchmark::State& st) {
    const auto d = static_cast<std::size_t>(st.range(0));
    const std::size_t k = st.range(1) == 0 ? d : static_cast<std::size_t>(st.range(1));
    const veltrano::Lorenz96System system(d);
    veltrano::SystemSettings settings{.intervals = 200, .initial = std::vector<double>(d, 8.0), .exponents = k};
    settings.initial[0] = 8.01;
    constexpr std::int64_t kRingPoints = 16;
    std::vector<veltrano::ParametersOf<veltrano::Lorenz96System>> points(kRingPoints);
    for (std::int64_t i = 0; i < kRingPoints; ++i)
        points[static_cast<std::size_t>(i)][0] = 6 + 4 * static_cast<double>(i) / (kRingPoints - 1);
    std::vector<veltrano::ResultOf<veltrano::Lorenz96System>> results(points.size());
    for (auto _ : st) {
        veltrano::runSystemPoints<veltrano::Lorenz96System>(veltrano::widestPath(), system, settings, points, results);
        benchmark::DoNotOptimize(results.data());
    }
    const StepCost cost = stepCost(countOf(system, settings.initial, {8.0}, k), d, k);
    st.SetLabel(std::string(veltrano::pathName(veltrano::widestPath())));
    st.counters["per_point_step"] =
        benchmark::Counter(static_cast<double>(kRingPoints * settings.intervals * 20),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    st.counters["step_ops"] = cost.operations;
    st.counters["divisions"] = cost.divisions;
    st.counters["memory_ops"] = cost.memory;
}
BENCHMARK(CatalogueLorenz96)
    ->ArgsProduct({{4, 8, 16, 32, 64}, {0, 3}})
    ->ArgNames({"d", "k"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// One call of the library's sin, cos or sincos on a double, as the engine
// makes one for each lane, on arguments spread as Thomas' coordinates are
// (within +-5): the price of a libm call in the cost of a step.
template <void (*F)(double, double&)>
void LibmCall(benchmark::State& st) {
    std::vector<double> arguments(4096);
    for (std::size_t i = 0; i < arguments.size(); ++i)
        arguments[i] = -5 + 10 * static_cast<double>((i * 2654435761u) % 4096) / 4096;
    std::vector<double> values(arguments.size());
    for (auto _ : st) {
        for (std::size_t i = 0; i < arguments.size(); ++i) F(arguments[i], values[i]);
        benchmark::DoNotOptimize(values.data());
        benchmark::ClobberMemory();
    }
    st.counters["per_call"] = benchmark::Counter(static_cast<double>(arguments.size()),
                                                 benchmark::Counter::kIsIterationInvariantRate |
                                                     benchmark::Counter::kInvert);
}
void sineOf(double v, double& r) {
    r = std::sin(v);
}
void cosineOf(double v, double& r) {
    r = std::cos(v);
}
void sineAndCosineOf(double v, double& r) {
    double c;
    veltrano::sineAndCosine(v, r, c);
    r = r + c;
}
BENCHMARK(LibmCall<sineOf>)->Name("LibmCall/sin");
BENCHMARK(LibmCall<cosineOf>)->Name("LibmCall/cos");
BENCHMARK(LibmCall<sineAndCosineOf>)->Name("LibmCall/sincos");

const bool registered = [] {
    for (const SystemDescription& s : veltrano::allSystems())
        benchmark::RegisterBenchmark(("CatalogueSweep/" + s.name).c_str(), CatalogueSweep, s)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
