// Typed equations against the built-in flows: Lorenz and Roessler typed in
// the built-in's order of evaluation, swept in the lanes of each path (the
// time per point-step: one RK4 step of one point, its three tangent
// vectors included), and the time to compile a typed system (three
// variables, and Lorenz-96 with 64 typed out).

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "compiled_system.h"
#include "dissipative_flows.h"
#include "equation_text.h"
#include "flow_system.h"
#include "system_exponents.h"

namespace {

using namespace veltrano;
using equations::CompiledSystem;
using equations::CompiledSystemOf;

constexpr std::int64_t kPoints = 128;
constexpr std::int64_t kIntervals = 2000;

const char* const kLorenz = "x' = sigma*(y - x); y' = R*x - y - x*z; z' = -b*z + x*y; sigma = 10; R = 28; b = 8/3";
const char* const kRossler = "x' = -y - z; y' = x + a*y; z' = b + z*(x - c); a = 0.2; b = 0.2; c = 5.7";

bool available(SimdPath path) {
    for (SimdPath p : availablePaths())
        if (p == path) return true;
    return false;
}

// kPoints of `system` on `path`, parameter `varied` from `from` to `to`.
template <class System, class Point>
void sweep(benchmark::State& st, const System& system, SimdPath path, Point base, std::size_t varied, double from,
           double to) {
    const SystemSettings settings{.intervals = kIntervals, .initial = {1, 1, 1}, .exponents = 3};
    std::vector<Point> grid(static_cast<std::size_t>(kPoints), base);
    for (std::int64_t i = 0; i < kPoints; ++i)
        grid[static_cast<std::size_t>(i)][varied] = from + (to - from) * static_cast<double>(i) / (kPoints - 1);
    std::vector<SystemResult<kCapacityOf<System>>> results(grid.size());
    for (auto _ : st) {
        runSystemPoints<System>(path, system, settings, grid, results);
        benchmark::DoNotOptimize(results.data());
    }
    st.SetLabel(std::string(pathName(path)));
    st.counters["per_point_step"] =
        benchmark::Counter(static_cast<double>(kPoints * kIntervals * 20),
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

template <class Point>
Point typedPoint(const equations::Equations& e) {
    Point p{};
    for (std::size_t i = 0; i < e.defaults.size(); ++i) p[i] = e.defaults[i];
    return p;
}

// Lorenz, R from 0 to 250: built-in (typed = 0) or typed, in the engine for
// any dimension (1) or in the one for three variables (2).
void EquationsSweepLorenz(benchmark::State& st) {
    const auto path = static_cast<SimdPath>(st.range(0));
    if (!available(path)) return st.SkipWithError("not supported by this processor");
    if (st.range(1) == 0)
        return sweep(st, LorenzSystem{}, path, ParametersOf<LorenzSystem>{10, 28, 8.0 / 3}, 1, 0, 250);
    const auto e = equations::parseEquations(kLorenz);
    const auto point = typedPoint<ParametersOf<CompiledSystem>>(e);
    if (st.range(1) == 1) return sweep(st, CompiledSystem(e, path), path, point, 1, 0, 250);
    sweep(st, CompiledSystemOf<3>(e, path), path, point, 1, 0, 250);
}

// Roessler, c from 2 to 8.
void EquationsSweepRossler(benchmark::State& st) {
    const auto path = static_cast<SimdPath>(st.range(0));
    if (!available(path)) return st.SkipWithError("not supported by this processor");
    if (st.range(1) == 0) return sweep(st, RosslerSystem{}, path, ParametersOf<RosslerSystem>{0.2, 0.2, 5.7}, 2, 2, 8);
    const auto e = equations::parseEquations(kRossler);
    const auto point = typedPoint<ParametersOf<CompiledSystem>>(e);
    if (st.range(1) == 1) return sweep(st, CompiledSystem(e, path), path, point, 2, 2, 8);
    sweep(st, CompiledSystemOf<3>(e, path), path, point, 2, 2, 8);
}

#define SWEEP_ARGS                                                                                   \
    ArgsProduct({{static_cast<int>(SimdPath::Avx2), static_cast<int>(SimdPath::Avx512)}, {0, 1, 2}}) \
        ->ArgNames({"path", "typed"})                                                                \
        ->Unit(benchmark::kMillisecond)                                                              \
        ->UseRealTime()
BENCHMARK(EquationsSweepLorenz)->SWEEP_ARGS;
BENCHMARK(EquationsSweepRossler)->SWEEP_ARGS;

// Parsing and compiling for the widest lanes (a new text each time: the
// code is kept per text).
void EquationsCompile(benchmark::State& st) {
    std::string text = kLorenz;
    if (st.range(0) == 96) {
        text.clear();
        for (int i = 0; i < 64; ++i) {
            const auto v = [](int j) { return std::string("x").append(std::to_string((j + 64) % 64)); };
            text.append(v(i)).append("' = (").append(v(i + 1)).append(" - ").append(v(i - 2)).append(")*");
            text.append(v(i - 1)).append(" - ").append(v(i)).append(" + F\n");
        }
        text.append("F = 8\n");
    }
    static int n = 0;  // never the same text twice in the process
    for (auto _ : st) {
        const auto e = equations::parseEquations(text + "\n# " + std::to_string(n++));
        const CompiledSystem s(e, widestPath());
        benchmark::DoNotOptimize(&s);
    }
    st.SetLabel(st.range(0) == 96 ? "Lorenz-96, d = 64" : "Lorenz");
}
BENCHMARK(EquationsCompile)->Arg(3)->Arg(96)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
