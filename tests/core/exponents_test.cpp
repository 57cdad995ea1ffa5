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

namespace {

std::uint64_t bits(double v) {
    return std::bit_cast<std::uint64_t>(v);
}

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

}  // namespace

TEST(Spectrum, StepIsTheDoubleNearestToOneHundredth) {
    EXPECT_EQ(bits(Spectrum::kStep), 0x3F847AE147AE147BULL);
}

// The product must give the same doubles as the plain implementation of the
// same method, bit for bit, on ordinary, unusual and long runs.
TEST(Spectrum, AgreesBitForBitWithThePlainImplementation) {
    const Parameters cases[] = {
        {1, 10, 28, 2.6667},       {100, 10, 28, 2.6667},   {50, 10, 0.5, 2.6667},   {100, 12, 40, 3},
        {333, 16, 45.92, 4},       {200, -3.5, 28, 2.6667}, {150, 10, 28, -0.25},    {80, 0, 0, 0},
        {400, 10, 99.96, 8.0 / 3}, {9999, 10, 28, 2.6667},  {9999, 10, 0.5, 2.6667},  // decays through the subnormal
                                                                                      // range to zero
    };
    for (const Parameters& p : cases) {
        SCOPED_TRACE(testing::Message() << "n=" << p.n << " sigma=" << p.sigma << " R=" << p.R << " b=" << p.b);
        FreshRun run(p);
        const reference::Result ref = reference::lyapunovSpectrum(p.n, p.sigma, p.R, p.b);
        EXPECT_EQ(run.completed, !ref.error);
        EXPECT_EQ(bits(run.spectrum.t()), bits(ref.t));
        for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(bits(run.spectrum.expo()[k]), bits(ref.expo[k + 1])) << k;
    }
}

TEST(Spectrum, KnownValuesOfTheLorenzSpectrum) {
    struct Case {
        Parameters p;
        double l1, l2, l3, tolerance;
    };
    const Case cases[] = {
        {{1, 10, 28, 2.6667}, 10.7, -18.4, -6.02, 0.05},
        {{100, 10, 28, 2.6667}, 0.38, 0.0, -14.04, 0.01},
        {{9999, 10, 28, 2.6667}, 0.90, 0.0, -14.57, 0.01},
        {{50, 10, 0.5, 2.6667}, -0.79, -2.58, -10.3, 0.01},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "n=" << c.p.n << " R=" << c.p.R);
        FreshRun run(c.p);
        ASSERT_TRUE(run.completed);
        EXPECT_FALSE(run.spectrum.errFlag());
        EXPECT_EQ(run.reporter.faults, 0);
        EXPECT_EQ(run.spectrum.t(), timeAfterSteps(20 * c.p.n));
        EXPECT_NEAR(run.spectrum.expo()[0], c.l1, c.tolerance);
        EXPECT_NEAR(run.spectrum.expo()[1], c.l2, c.tolerance);
        EXPECT_NEAR(run.spectrum.expo()[2], c.l3, c.tolerance);
    }
}

// The exponents add up to the constant trace of the Jacobian, -(sigma + 1 + b).
TEST(Spectrum, ExponentsSumToTheTrace) {
    const Parameters cases[] = {{100, 10, 28, 2.6667}, {100, 12, 40, 3}, {300, 16, 45.92, 4}, {50, 10, 0.5, 2.6667}};
    for (const Parameters& p : cases) {
        FreshRun run(p);
        const auto& e = run.spectrum.expo();
        EXPECT_NEAR(e[0] + e[1] + e[2], -(p.sigma + 1 + p.b), 0.02) << "sigma=" << p.sigma;
    }
}

TEST(Spectrum, FlowErrorInTheFirstStageStopsAtTimeZeroKeepingThePreviousEstimates) {
    Spectrum spectrum;
    RecordingReporter reporter;
    ASSERT_TRUE(spectrum.run({10, 10, 28, 2.6667}, reporter));
    const auto previous = spectrum.expo();

    EXPECT_FALSE(spectrum.run({100, 1e200, 28, 2.6667}, reporter));
    EXPECT_EQ(reporter.faults, 1);
    EXPECT_TRUE(spectrum.errFlag());
    EXPECT_EQ(spectrum.t(), 0.0);
    EXPECT_EQ(spectrum.expo(), previous);
    EXPECT_EQ(spectrum.state(), Spectrum::initialState());

    // The next run starts afresh and the first call clears the flag.
    ASSERT_TRUE(spectrum.run({10, 10, 28, 2.6667}, reporter));
    EXPECT_FALSE(spectrum.errFlag());
    EXPECT_EQ(spectrum.expo(), previous);
    EXPECT_EQ(reporter.faults, 1);
}

TEST(Spectrum, ZeroIntervalsResetTheStateButKeepEstimatesAndFlag) {
    Spectrum spectrum;
    RecordingReporter reporter;
    ASSERT_TRUE(spectrum.run({0, 10, 28, 2.6667}, reporter));
    EXPECT_EQ(spectrum.expo(), (veltrano::Triple{0, 0, 0}));
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

// A fault in the run's own arithmetic (here Gram-Schmidt dividing 0 by 0, or
// squares beyond the double range) ends the run like a flow error.
TEST(Spectrum, FaultInReorthonormalisationEndsTheRunLikeAFlowError) {
    struct Case {
        const char* what;
        StateVector start;
    };
    const Case cases[] = {
        {"zero tangent vector", {1, 1, 1, 1, 0, 0, 0, 1, 0, 0, 0, 0}},
        {"tangent vector too long", {1, 1, 1, 1e160, 0, 0, 0, 1, 0, 0, 0, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Spectrum spectrum;
        RecordingReporter reporter;
        ASSERT_TRUE(spectrum.run({3, 10, 28, 2.6667}, reporter));
        const auto previous = spectrum.expo();

        EXPECT_FALSE(spectrum.runFrom(c.start, {10, 10, 28, 2.6667}, reporter));
        EXPECT_EQ(reporter.faults, 1);
        EXPECT_TRUE(spectrum.errFlag());
        EXPECT_EQ(spectrum.t(), timeAfterSteps(20)) << "time of the last completed step";
        EXPECT_EQ(spectrum.expo(), previous);
        EXPECT_EQ(spectrum.logSum(), (veltrano::Triple{0, 0, 0}));

        ASSERT_TRUE(spectrum.run({3, 10, 28, 2.6667}, reporter)) << "usable for the next run";
        EXPECT_EQ(spectrum.expo(), previous);
        EXPECT_FALSE(spectrum.errFlag());
    }
}

// Where and whether a run stops must not depend on how the arithmetic is
// tested: random parameters across the whole double range, compared with the
// plain implementation, which tests every stored value on its own.
TEST(Spectrum, StopsExactlyWhereThePlainImplementationStops) {
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> moderate(-2, 2.2), extreme(-300, 300), mantissa(1, 10);
    std::bernoulli_distribution negative(0.3), wild(0.15);
    std::uniform_int_distribution<int> intervals(1, 40);
    const auto draw = [&] {
        const double e = wild(rng) ? extreme(rng) : moderate(rng);
        return (negative(rng) ? -1 : 1) * mantissa(rng) * std::pow(10.0, e);
    };
    int stopped = 0, completed = 0;
    for (int trial = 0; trial < 400; ++trial) {
        const Parameters p{static_cast<std::int16_t>(intervals(rng)), draw(), draw(), draw()};
        SCOPED_TRACE(testing::Message() << "n=" << p.n << " sigma=" << p.sigma << " R=" << p.R << " b=" << p.b);
        FreshRun run(p);
        const reference::Result ref = reference::lyapunovSpectrum(p.n, p.sigma, p.R, p.b);
        ASSERT_EQ(run.completed, !ref.error);
        EXPECT_EQ(run.reporter.faults, ref.error ? 1 : 0);
        EXPECT_EQ(bits(run.spectrum.t()), bits(ref.t));
        for (std::size_t k = 0; k < 3; ++k) EXPECT_EQ(bits(run.spectrum.expo()[k]), bits(ref.expo[k + 1]));
        ++(run.completed ? completed : stopped);
    }
    // Both outcomes must have been exercised for the comparison to mean anything.
    EXPECT_GT(stopped, 50);
    EXPECT_GT(completed, 50);
}
