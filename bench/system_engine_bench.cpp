// The lane engine written once over a system: the Lorenz sweep of
// exponents_bench (SweepLanes) through the generic entry, the same sweep for
// Roessler, and Lorenz-96 on rings of 4 to 64 sites with the full spectrum
// and with its three leading exponents. Each reports the time per
// point-step (one RK4 step of one point, its tangent vectors included).

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "example_systems.h"
#include "flow_system.h"
#include "system_exponents.h"

namespace {

using veltrano::ParametersOf;
using veltrano::ResultOf;
using veltrano::SimdPath;
using veltrano::SystemSettings;

constexpr std::int64_t kSweepPoints = 128;
constexpr std::int64_t kIntervals = 9999;
constexpr std::int64_t kStepsPerInterval = 20;

bool available(SimdPath path) {
    for (SimdPath p : veltrano::availablePaths())
        if (p == path) return true;
    return false;
}

void perPointStep(benchmark::State& st, std::int64_t points, std::int64_t intervals) {
    const double pointSteps = static_cast<double>(points * intervals * kStepsPerInterval);
    st.counters["per_point_step"] = benchmark::Counter(
        pointSteps, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}

// `points` of System with `settings` on `path`, the first parameter of each
// point taken evenly from `from` to `to`.
template <class System>
void sweep(benchmark::State& st, const System& system, SimdPath path, SystemSettings settings,
           ParametersOf<System> base, std::size_t varied, double from, double to, std::int64_t points) {
    if (!available(path)) {
        st.SkipWithError("not supported by this processor");
        return;
    }
    std::vector<ParametersOf<System>> grid(static_cast<std::size_t>(points), base);
    for (std::int64_t i = 0; i < points; ++i)
        grid[static_cast<std::size_t>(i)][varied] =
            from + (to - from) * static_cast<double>(i) / static_cast<double>(points - 1);
    std::vector<ResultOf<System>> results(grid.size());
    for (auto _ : st) {
        veltrano::runSystemPoints<System>(path, system, settings, grid, results);
        benchmark::DoNotOptimize(results.data());
    }
    st.SetLabel(std::string(veltrano::pathName(path)));
    perPointStep(st, points, settings.intervals);
}

// SweepLanes of exponents_bench through the generic entry: R from 0 to 250.
// The engine knows k when compiling for k = 3 and for k = 2 alike (each k
// of a flow of fixed dimension has its own copy): k = 2 does less work.
void SystemSweepLorenz(benchmark::State& st) {
    const SystemSettings s{
        .intervals = kIntervals, .initial = {1, 1, 1}, .exponents = static_cast<std::size_t>(st.range(1))};
    sweep(st, veltrano::LorenzSystem{}, static_cast<SimdPath>(st.range(0)), s, {10, 28, 2.6667}, 1, 0, 250,
          kSweepPoints);
}

// Roessler at a = b = 0.2, c from 2 to 8 (period doubling into chaos).
void SystemSweepRoessler(benchmark::State& st) {
    const SystemSettings s{.intervals = kIntervals, .initial = {1, 1, 1}, .exponents = 3};
    sweep(st, veltrano::examples::Roessler{}, static_cast<SimdPath>(st.range(0)), s, {0.2, 0.2, 5.7}, 2, 2, 8,
          kSweepPoints);
}

#define PATHS                                              \
    Arg(static_cast<int>(SimdPath::Lanes128))              \
        ->Arg(static_cast<int>(SimdPath::Avx2))            \
        ->Arg(static_cast<int>(SimdPath::Avx512))          \
        ->Unit(benchmark::kMillisecond)                    \
        ->UseRealTime()

BENCHMARK(SystemSweepLorenz)
    ->ArgsProduct({{static_cast<int>(SimdPath::Lanes128), static_cast<int>(SimdPath::Avx2),
                    static_cast<int>(SimdPath::Avx512)},
                   {3, 2}})
    ->ArgNames({"path", "k"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(SystemSweepRoessler)->PATHS;

// Lorenz-96 with d sites and k exponents (0: all d), F from 6 to 10 over 16
// points on the widest lanes, 200 intervals.
void SystemSweepLorenz96(benchmark::State& st) {
    const auto d = static_cast<std::size_t>(st.range(0));
    const auto k = st.range(1) == 0 ? d : static_cast<std::size_t>(st.range(1));
    SystemSettings s{.intervals = 200, .initial = std::vector<double>(d, 8.0), .exponents = k};
    s.initial[0] = 8.01;
    sweep(st, veltrano::examples::Lorenz96{d}, veltrano::widestPath(), s, {8}, 0, 6, 10, 16);
}
BENCHMARK(SystemSweepLorenz96)
    ->ArgsProduct({{4, 8, 16, 32, 64}, {0, 3}})
    ->ArgNames({"d", "k"})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
