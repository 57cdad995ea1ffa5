// The full checked run at n = 9999 against the same work written with
// Boost.Odeint's runge_kutta4 on a std::array, as a C++ user would.

#include <benchmark/benchmark.h>

#include <array>
#include <boost/numeric/odeint/stepper/runge_kutta4.hpp>
#include <cmath>
#include <string_view>

#include "exponents.h"

namespace {

constexpr std::int16_t kIntervals = 9999;
constexpr double kSigma = 10, kR = 28, kB = 2.6667;

class SilentReporter final : public veltrano::ErrorReporter {
public:
    void reportError(std::string_view) override {}
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

void OdeintRk4(benchmark::State& st) {
    boost::numeric::odeint::runge_kutta4<State> stepper;
    const LorenzWithTangents system{kSigma, kR, kB};
    std::array<double, 3> expo{};
    for (auto _ : st) {
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
        benchmark::DoNotOptimize(expo);
    }
    st.counters["lambda1"] = expo[0];
}
BENCHMARK(OdeintRk4)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
