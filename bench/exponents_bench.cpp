// The full checked run at n = 9999 against the same work written with
// Boost.Odeint's runge_kutta4 on a std::array, as a C++ user would; and a
// sweep of 128 points over R, batched in SIMD lanes on one and two threads,
// against a loop of Odeint runs over the same points.

#include <benchmark/benchmark.h>

#include <array>
#include <boost/numeric/odeint/stepper/runge_kutta4.hpp>
#include <cmath>
#include <string>
#include <string_view>
#include <vector>

#include "batched_exponents.h"
#include "exponents.h"
#include "sweep_runner.h"

namespace {

constexpr std::int16_t kIntervals = 9999;
constexpr double kSigma = 10, kR = 28, kB = 2.6667;
constexpr std::int64_t kSweepPoints = 128;

class SilentReporter final : public veltrano::FaultReporter {
public:
    void reportFault() override {}
};

void SpectrumRun(benchmark::State& st) {
    veltrano::Spectrum spectrum;
    SilentReporter reporter;
    for (auto _ : st) {
        const bool ok = spectrum.run({kIntervals, kSigma, kR, kB}, reporter);
        benchmark::DoNotOptimize(ok);
        benchmark::DoNotOptimize(spectrum.expo());
    }
    st.counters["lambda1"] = spectrum.expo()[0];
}
BENCHMARK(SpectrumRun)->Unit(benchmark::kMillisecond);

using State = std::array<double, 12>;

struct LorenzWithTangents {
    double s, r, b;
    void operator()(const State& x, State& d, double /*t*/) const {
        d[0] = s * (x[1] - x[0]);
        d[1] = r * x[0] - x[1] - x[0] * x[2];
        d[2] = x[0] * x[1] - b * x[2];
        for (int i = 0; i < 3; ++i) {
            d[3 + i] = s * (x[6 + i] - x[3 + i]);
            d[6 + i] = (r - x[2]) * x[3 + i] - x[6 + i] - x[0] * x[9 + i];
            d[9 + i] = x[1] * x[3 + i] + x[0] * x[6 + i] - b * x[9 + i];
        }
    }
};

std::array<double, 3> odeintSpectrum(double sigma, double r, double b) {
    boost::numeric::odeint::runge_kutta4<State> stepper;
    const LorenzWithTangents system{sigma, r, b};
    std::array<double, 3> expo{};
    State x{1, 1, 1, 1, 0, 0, 0, 1, 0, 0, 0, 1};
    std::array<double, 3> logSum{};
    double t = 0;
    const double h = 0.01;
    for (int interval = 0; interval < kIntervals; ++interval) {
        for (int step = 0; step < 20; ++step) {
            stepper.do_step(system, x, t, h);
            t += h;
        }
        for (int j = 0; j < 3; ++j) {
            std::array<double, 3> proj{};
            for (int m = 0; m < j; ++m)
                for (int c = 0; c < 3; ++c) proj[m] += x[3 + 3 * c + m] * x[3 + 3 * c + j];
            for (int c = 0; c < 3; ++c)
                for (int m = 0; m < j; ++m) x[3 + 3 * c + j] -= proj[m] * x[3 + 3 * c + m];
            double norm = 0;
            for (int c = 0; c < 3; ++c) norm += std::pow(x[3 + 3 * c + j], 2);
            norm = std::sqrt(norm);
            for (int c = 0; c < 3; ++c) x[3 + 3 * c + j] /= norm;
            logSum[j] += std::log(norm);
        }
        for (int k = 0; k < 3; ++k) expo[k] = logSum[k] / t;
    }
    return expo;
}

void OdeintRk4(benchmark::State& st) {
    std::array<double, 3> expo{};
    for (auto _ : st) {
        expo = odeintSpectrum(kSigma, kR, kB);
        benchmark::DoNotOptimize(expo);
    }
    st.counters["lambda1"] = expo[0];
}
BENCHMARK(OdeintRk4)->Unit(benchmark::kMillisecond);

// The sweep of the measurement: R from 0 to 250 in 128 points.
veltrano::SweepGrid sweepGrid() {
    veltrano::SweepGrid grid;
    grid.base = {kSigma, kR, kB};
    grid.axes[0] = {veltrano::SweepParameter::R, 0, 250, kSweepPoints, {}};
    grid.axisCount = 1;
    return grid;
}

void perPoint(benchmark::State& st) {
    st.SetItemsProcessed(st.iterations() * kSweepPoints);
    st.counters["per_point"] = benchmark::Counter(static_cast<double>(kSweepPoints),
                                                  benchmark::Counter::kIsIterationInvariantRate |
                                                      benchmark::Counter::kInvert);
}

// A loop of Odeint runs over the sweep's points: what a script does today.
void OdeintSweepLoop(benchmark::State& st) {
    const veltrano::SweepGrid grid = sweepGrid();
    for (auto _ : st)
        for (std::int64_t i = 0; i < kSweepPoints; ++i) {
            const auto p = grid.pointAt(i);
            benchmark::DoNotOptimize(odeintSpectrum(p.sv, p.rv, p.bv));
        }
    perPoint(st);
}
BENCHMARK(OdeintSweepLoop)->Unit(benchmark::kMillisecond)->Iterations(2);

// The batched engine alone on one thread, on each instruction set.
void SweepLanes(benchmark::State& st) {
    const auto path = static_cast<veltrano::SimdPath>(st.range(0));
    bool runs = false;
    for (veltrano::SimdPath p : veltrano::availablePaths()) runs |= p == path;
    if (!runs) {
        st.SkipWithError("not supported by this processor");
        return;
    }
    st.SetLabel(std::string(veltrano::pathName(path)));
    const veltrano::SweepGrid grid = sweepGrid();
    std::vector<veltrano::FlowParameters> points;
    for (std::int64_t i = 0; i < kSweepPoints; ++i) points.push_back(grid.pointAt(i));
    std::vector<veltrano::PointResult> results(points.size());
    for (auto _ : st) {
        veltrano::runPoints(path, kIntervals, points, results);
        benchmark::DoNotOptimize(results.data());
    }
    perPoint(st);
}
BENCHMARK(SweepLanes)
    ->Arg(static_cast<int>(veltrano::SimdPath::Lanes128))
    ->Arg(static_cast<int>(veltrano::SimdPath::Avx2))
    ->Arg(static_cast<int>(veltrano::SimdPath::Avx512))
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The whole sweep as veltrano-cli runs it: widest lanes, T threads, results
// handed on in order.
void Sweep(benchmark::State& st) {
    const veltrano::SweepGrid grid = sweepGrid();
    veltrano::SweepSettings settings;
    settings.threads = static_cast<int>(st.range(0));
    settings.path = veltrano::widestPath();
    settings.run.intervals = kIntervals;
    st.SetLabel(std::string(veltrano::pathName(settings.path)));
    for (auto _ : st)
        veltrano::runSweep(grid, {0, kSweepPoints}, settings, [](std::span<const veltrano::SweepPoint> done) {
            benchmark::DoNotOptimize(done.data());
            return true;
        });
    perPoint(st);
}
BENCHMARK(Sweep)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
