#include "exponents.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>

#include "recording_reporter.h"
#include "reference_exponents.h"

using veltrano::Parameters;
using veltrano::Spectrum;
using veltrano::StateVector;
using veltrano::Triple;

namespace {

std::uint64_t bits(double v) { return std::bit_cast<std::uint64_t>(v); }

double timeAfterSteps(int steps) {
    double t = 0;
    for (int i = 0; i < steps; ++i) t = 0.01 + t;
    return t;
}

struct FreshRun {
    Spectrum spectrum;
    RecordingReporter reporter;
    bool completed = false;
    explicit FreshRun(Parameters p) { completed = spectrum.run(p, reporter); }
};

// The run gives the same doubles as the plain implementation, bit for bit,
// and reports exactly one message when it stops.
void expectPlain(const Parameters& p) {
    SCOPED_TRACE(testing::Message() << "n=" << p.n << " sigma=" << p.sigma << " R=" << p.R << " b=" << p.b);
    FreshRun run(p);
    const reference::Result ref = reference::lyapunovSpectrum(p.n, p.sigma, p.R, p.b);
    ASSERT_EQ(run.completed, !ref.error);
    EXPECT_EQ(run.spectrum.errFlag(), ref.error);
    EXPECT_EQ(run.reporter.faults, ref.error ? 1 : 0);
    EXPECT_EQ(bits(run.spectrum.t()), bits(ref.t));
    for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(bits(run.spectrum.expo()[k]), bits(ref.expo[k + 1])) << k;
}

}  // namespace

// Ordinary, unusual and long runs (one decays through the subnormal range
// to zero) and random parameters across the whole double range: where and
// whether a run stops must not depend on how the arithmetic is tested.
TEST(Spectrum, AgreesBitForBitWithThePlainImplementation) {
    const Parameters cases[] = {
        {1, 10, 28, 2.6667},    {100, 10, 28, 2.6667},   {50, 10, 0.5, 2.6667},   {100, 12, 40, 3},
        {333, 16, 45.92, 4},    {200, -3.5, 28, 2.6667}, {150, 10, 28, -0.25},    {80, 0, 0, 0},
        {400, 10, 99.96, 8.0 / 3}, {9999, 10, 28, 2.6667}, {9999, 10, 0.5, 2.6667},
    };
    for (const Parameters& p : cases) expectPlain(p);

    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> moderate(-2, 2.2), extreme(-300, 300), mantissa(1, 10);
    std::bernoulli_distribution negative(0.3), wild(0.15);
    std::uniform_int_distribution<int> intervals(1, 40);
    const auto draw = [&] { return (negative(rng) ? -1 : 1) * mantissa(rng) * std::pow(10.0, wild(rng) ? extreme(rng) : moderate(rng)); };
    int stopped = 0;
    for (int trial = 0; trial < 400; ++trial) {
        const Parameters p{static_cast<std::int16_t>(intervals(rng)), draw(), draw(), draw()};
        expectPlain(p);
        stopped += reference::lyapunovSpectrum(p.n, p.sigma, p.R, p.b).error;
    }
    // Both outcomes must have been exercised for the comparison to mean anything.
    EXPECT_GT(stopped, 50);
    EXPECT_LT(stopped, 350);
}

TEST(Spectrum, KnownValuesOfTheLorenzSpectrum) {
    const struct {
        Parameters p;
        Triple expo;
        double tolerance;
    } cases[] = {
        {{1, 10, 28, 2.6667}, {10.7, -18.4, -6.02}, 0.05},
        {{100, 10, 28, 2.6667}, {0.38, 0.0, -14.04}, 0.01},
        {{9999, 10, 28, 2.6667}, {0.90, 0.0, -14.57}, 0.01},
        {{50, 10, 0.5, 2.6667}, {-0.79, -2.58, -10.3}, 0.01},
    };
    for (const auto& c : cases) {
        FreshRun run(c.p);
        ASSERT_TRUE(run.completed);
        EXPECT_EQ(run.spectrum.t(), timeAfterSteps(20 * c.p.n));
        for (std::size_t k = 0; k < 3; ++k) EXPECT_NEAR(run.spectrum.expo()[k], c.expo[k], c.tolerance) << c.p.n;
    }
}

// A fault in the flow (here in the first stage) or in the run's own
// arithmetic (Gram-Schmidt dividing 0 by 0, squares beyond the double
// range) ends the run at the time of its last completed step, keeping the
// previous estimates; the next run starts afresh and clears the flag.
TEST(Spectrum, AFaultEndsTheRunKeepingThePreviousEstimates) {
    const struct {
        const char* what;
        StateVector start;
        double sigma, t;
    } cases[] = {
        {"flow error", Spectrum::initialState(), 1e200, 0.0},
        {"zero tangent vector", {1, 1, 1, 1, 0, 0, 0, 1, 0, 0, 0, 0}, 10, timeAfterSteps(20)},
        {"tangent vector too long", {1, 1, 1, 1e160, 0, 0, 0, 1, 0, 0, 0, 1}, 10, timeAfterSteps(20)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Spectrum spectrum;
        RecordingReporter reporter;
        ASSERT_TRUE(spectrum.run({3, 10, 28, 2.6667}, reporter));
        const auto previous = spectrum.expo();
        EXPECT_FALSE(spectrum.runFrom(c.start, {10, c.sigma, 28, 2.6667}, reporter));
        EXPECT_EQ(reporter.faults, 1);
        EXPECT_TRUE(spectrum.errFlag());
        EXPECT_EQ(spectrum.t(), c.t);
        EXPECT_EQ(spectrum.expo(), previous);
        EXPECT_EQ(spectrum.logSum(), (Triple{0, 0, 0}));

        ASSERT_TRUE(spectrum.run({3, 10, 28, 2.6667}, reporter)) << "usable for the next run";
        EXPECT_EQ(spectrum.expo(), previous);
        EXPECT_FALSE(spectrum.errFlag());
    }
    // After a fault of run(), the state is the starting point again.
    Spectrum spectrum;
    RecordingReporter reporter;
    EXPECT_FALSE(spectrum.run({100, 1e200, 28, 2.6667}, reporter));
    EXPECT_EQ(spectrum.state(), Spectrum::initialState());
}

TEST(Spectrum, ZeroIntervalsResetTheStateButKeepEstimatesAndFlag) {
    Spectrum spectrum;
    RecordingReporter reporter;
    ASSERT_TRUE(spectrum.run({0, 10, 28, 2.6667}, reporter));
    EXPECT_EQ(spectrum.expo(), (Triple{0, 0, 0}));
    EXPECT_FALSE(spectrum.errFlag());

    ASSERT_TRUE(spectrum.run({5, 10, 28, 2.6667}, reporter));
    const auto previous = spectrum.expo();
    ASSERT_TRUE(spectrum.run({0, 10, 28, 2.6667}, reporter));
    EXPECT_EQ(spectrum.t(), 0.0);
    EXPECT_EQ(spectrum.state(), Spectrum::initialState());
    EXPECT_EQ(spectrum.expo(), previous);

    EXPECT_FALSE(spectrum.run({5, 1e200, 28, 2.6667}, reporter));
    ASSERT_TRUE(spectrum.run({0, 10, 28, 2.6667}, reporter));
    EXPECT_TRUE(spectrum.errFlag()) << "nothing ran that could clear it";
}
