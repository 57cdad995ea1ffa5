// Every flow of the catalogue in the lanes, at its default point: the time
// per point-step (one RK4 step of one point with its d tangent vectors) on
// the widest lanes, one thread. Beside it, the floating-point operations of
// one point-step, counted by evaluating the flow's own field, tangent and
// divergence on a number type that counts (below), so that each flow's time
// can be set against Lorenz's scaled by the ratio of the counts.

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "system_exponents.h"
#include "visit_system.h"

namespace counting {

// A double that counts the arithmetic done with it, and the calls of sin
// and cos (a libm call per lane: counted apart, since its cost is not one
// operation's).
struct Number {
    double v = 0.0;
};
inline std::int64_t arithmetic = 0;
inline std::int64_t functions = 0;

inline Number operator+(Number a, Number b) {
    ++arithmetic;
    return {a.v + b.v};
}
inline Number operator-(Number a, Number b) {
    ++arithmetic;
    return {a.v - b.v};
}
inline Number operator*(Number a, Number b) {
    ++arithmetic;
    return {a.v * b.v};
}
inline Number operator/(Number a, Number b) {
    ++arithmetic;
    return {a.v / b.v};
}
inline Number operator-(Number a) {
    ++arithmetic;
    return {-a.v};
}
inline Number operator+(Number a, double b) { return a + Number{b}; }
inline Number operator+(double a, Number b) { return Number{a} + b; }
inline Number operator-(Number a, double b) { return a - Number{b}; }
inline Number operator-(double a, Number b) { return Number{a} - b; }
inline Number operator*(Number a, double b) { return a * Number{b}; }
inline Number operator*(double a, Number b) { return Number{a} * b; }
inline Number operator/(Number a, double b) { return a / Number{b}; }
inline Number operator/(double a, Number b) { return Number{a} / b; }

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
    return {std::sin(v.v)};
}
template <>
counting::Number cosine<counting::Number>(const counting::Number& v) {
    ++counting::functions;
    return {std::cos(v.v)};
}
}  // namespace veltrano

namespace {

using veltrano::SystemDescription;

struct Count {
    std::int64_t field = 0, tangent = 0, divergence = 0, functions = 0;
};

// One evaluation each of the field, the tangent (one vector) and the
// divergence at the default point.
template <class System>
Count countOf(const System& system, const SystemDescription& s) {
    const std::size_t d = system.dimension();
    std::vector<counting::Number> x(d), p(s.parameters.size()), u(d, counting::Number{1}), out(d);
    for (std::size_t i = 0; i < d; ++i) x[i].v = s.start[i];
    for (std::size_t i = 0; i < p.size(); ++i) p[i].v = s.parameters[i].value;
    Count c;
    counting::arithmetic = counting::functions = 0;
    system.flow(x.data(), p.data(), out.data());
    c.field = counting::arithmetic;
    counting::arithmetic = 0;
    system.tangent(x.data(), p.data(), u.data(), out.data(), std::size_t{1});
    c.tangent = counting::arithmetic;
    counting::arithmetic = 0;
    (void)system.divergence(x.data(), p.data());
    c.divergence = counting::arithmetic;
    c.functions = counting::functions;
    return c;
}

// The operations of one point-step with k = d: four stages of the field,
// d tangents and the divergence; the Runge-Kutta combinations (16 a
// component: 3 + 3 + 2 for the stage arguments, 2 for k2 + k3 doubled, 6
// for the new value) over the d (d + 1) components and the divergence's
// integral; the finite check (2 a component); Gram-Schmidt every 20 steps
// (for each vector: its products with the earlier ones and its
// subtraction, 4 d each, and its norm, 2 d).
double stepOperations(const Count& c, std::size_t dimension) {
    const double d = static_cast<double>(dimension);
    const double components = d * (d + 1);
    const double stages = 4 * (static_cast<double>(c.field) + d * static_cast<double>(c.tangent) +
                               static_cast<double>(c.divergence));
    const double gramSchmidt = (4 * d * d * (d - 1) / 2 + 2 * d * d) / 20;
    return stages + 16 * (components + 1) + 2 * components + gramSchmidt;
}

constexpr std::int64_t kPoints = 32;
constexpr std::int64_t kIntervals = 2000;

void CatalogueSweep(benchmark::State& st, const SystemDescription& s) {
    veltrano::visitSystem(s.name, s.dimension, [&](const auto& system) {
        using System = std::decay_t<decltype(system)>;
        const Count count = countOf(system, s);
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
        st.counters["field_ops"] = static_cast<double>(count.field);
        st.counters["tangent_ops"] = static_cast<double>(count.tangent);
        st.counters["libm_calls"] = static_cast<double>(count.functions);
        st.counters["step_ops"] = stepOperations(count, system.dimension());
    });
}

const bool registered = [] {
    for (const SystemDescription& s : veltrano::allSystems())
        benchmark::RegisterBenchmark(("CatalogueSweep/" + s.name).c_str(), CatalogueSweep, s)
            ->Unit(benchmark::kMillisecond)
            ->UseRealTime();
    return true;
}();

}  // namespace

BENCHMARK_MAIN();
