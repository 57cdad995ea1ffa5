#include "exponents.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <random>

#include "double_bits.h"
#include "recording_reporter.h"
#include "reference_exponents.h"

using namespace veltrano;

namespace {

double timeAfterSteps(int steps) {
    double t = 0;
    for (int i = 0; i < steps; ++i) t = 0.01 + t;
    return t;
}

// The run gives the same doubles as the plain implementation, bit for bit,
// and reports exactly one message when it stops; returns the exponents.
Triple expectPlain(const Parameters& p) {
    SCOPED_TRACE(testing::Message() << "n=" << p.n << " sigma=" << p.sigma << " R=" << p.R << " b=" << p.b);
    Spectrum spectrum;
    RecordingReporter reporter;
    const bool completed = spectrum.run(p, reporter);
    const reference::Result ref = reference::lyapunovSpectrum(p.n, p.sigma, p.R, p.b);
    EXPECT_EQ(completed, !ref.error);
    EXPECT_EQ(spectrum.errFlag(), ref.error);
    EXPECT_EQ(reporter.faults, ref.error ? 1 : 0);
    EXPECT_EQ(bits(spectrum.t()), bits(ref.t));
    for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(bits(spectrum.expo()[k]), bits(ref.expo[k + 1])) << k;
    return spectrum.expo();
}

}  // namespace

// Ordinary, unusual and long runs (one decays through the subnormal range
// to zero) and random parameters across the whole double range: where and
// whether a run stops must not depend on how the arithmetic is tested.
// Where known, the Lorenz spectrum itself.
TEST(Spectrum, AgreesBitForBitWithThePlainImplementation) {
    const struct {
        Parameters p;
        Triple known{};
        double tolerance = 0;  // 0: no known values
    } cases[] = {
        {{1, 10, 28, 2.6667}, {10.7, -18.4, -6.02}, 0.05}, {{100, 10, 28, 2.6667}, {0.38, 0.0, -14.04}, 0.01},
        {{9999, 10, 28, 2.6667}, {0.90, 0.0, -14.57}, 0.01}, {{50, 10, 0.5, 2.6667}, {-0.79, -2.58, -10.3}, 0.01},
        {{100, 12, 40, 3}}, {{333, 16, 45.92, 4}}, {{200, -3.5, 28, 2.6667}}, {{150, 10, 28, -0.25}},
        {{80, 0, 0, 0}}, {{400, 10, 99.96, 8.0 / 3}}, {{9999, 10, 0.5, 2.6667}},
    };
    for (const auto& c : cases) {
        const Triple expo = expectPlain(c.p);
        for (std::size_t k = 0; k < 3 && c.tolerance > 0; ++k) EXPECT_NEAR(expo[k], c.known[k], c.tolerance) << c.p.n;
    }
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> moderate(-2, 2.2), extreme(-300, 300), mantissa(1, 10);
    std::bernoulli_distribution negative(0.3), wild(0.15);
    std::uniform_int_distribution<int> intervals(1, 40);
    const auto draw = [&] { return (negative(rng) ? -1 : 1) * mantissa(rng) * std::pow(10.0, wild(rng) ? extreme(rng) : moderate(rng)); };
    for (int trial = 0; trial < 400; ++trial)
        expectPlain({static_cast<std::int16_t>(intervals(rng)), draw(), draw(), draw()});
}

// A fault in the flow (here in the first stage) or in the run's own
// arithmetic (Gram-Schmidt dividing 0 by 0; its other faults: its own
// test) ends the run at the time of its last completed step, keeping the
// previous estimates; a run of no interval then resets the state but keeps
// the estimates and the flag (nothing ran that could clear it); the next
// run starts afresh and clears the flag.
TEST(Spectrum, AFaultEndsTheRunKeepingThePreviousEstimates) {
    const struct {
        const char* what;
        StateVector start;
        double sigma, t;
    } cases[] = {
        {"flow error", Spectrum::initialState(), 1e200, 0.0},
        {"zero tangent vector", {1, 1, 1, 1, 0, 0, 0, 1, 0, 0, 0, 0}, 10, timeAfterSteps(20)},
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

        ASSERT_TRUE(spectrum.run({0, 10, 28, 2.6667}, reporter));
        EXPECT_EQ(spectrum.t(), 0.0);
        EXPECT_EQ(spectrum.state(), Spectrum::initialState());
        EXPECT_EQ(spectrum.expo(), previous);
        EXPECT_TRUE(spectrum.errFlag());
        EXPECT_FALSE(spectrum.run({9, 1e200, 28, 2.6667}, reporter));
        EXPECT_EQ(spectrum.state(), Spectrum::initialState()) << "after a fault of run(), the starting point";

        ASSERT_TRUE(spectrum.run({3, 10, 28, 2.6667}, reporter)) << "usable for the next run";
        EXPECT_EQ(spectrum.expo(), previous);
        EXPECT_FALSE(spectrum.errFlag());
    }
    Spectrum fresh;
    RecordingReporter reporter;
    ASSERT_TRUE(fresh.run({0, 10, 28, 2.6667}, reporter));
    EXPECT_EQ(fresh.expo(), (Triple{0, 0, 0}));
    EXPECT_FALSE(fresh.errFlag());
}
