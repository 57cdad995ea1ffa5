#include "lorentz.h"

#include <gtest/gtest.h>

#include <random>

#include "recording_reporter.h"

using veltrano::Lorentz;
using veltrano::StateVector;

// The tangent part must be the Jacobian of the flow part applied to each
// vector: compare it with central differences of the flow itself (the flow
// part is checked to the bit against the plain implementation).
TEST(Lorentz, TangentEquationsMatchFiniteDifferencesOfTheFlow) {
    const auto derivative = [](const StateVector& x, double s, double r, double b) {
        RecordingReporter reporter;
        StateVector d{};
        bool error = true;
        Lorentz(x, d, s, r, b, error, reporter);
        return d;
    };
    std::mt19937_64 rng(20261206);
    std::uniform_real_distribution<double> coord(-20, 20), comp(-1, 1);
    const double s = 13.3, r = 41.7, b = 1.9;
    for (int trial = 0; trial < 20; ++trial) {
        StateVector x{};
        for (std::size_t i = 0; i < 3; ++i) x[i] = coord(rng);
        for (std::size_t i = 3; i < 12; ++i) x[i] = comp(rng);
        const StateVector d = derivative(x, s, r, b);
        for (std::size_t j = 0; j < 3; ++j) {
            const double eps = 1e-6;
            StateVector plus = x, minus = x;
            for (std::size_t c = 0; c < 3; ++c) {
                plus[c] += eps * x[veltrano::tangentIndex(c, j)];
                minus[c] -= eps * x[veltrano::tangentIndex(c, j)];
            }
            const StateVector fp = derivative(plus, s, r, b), fm = derivative(minus, s, r, b);
            for (std::size_t c = 0; c < 3; ++c) {
                const double fd = (fp[c] - fm[c]) / (2 * eps);
                EXPECT_NEAR(d[veltrano::tangentIndex(c, j)], fd, 1e-5 * (1 + std::abs(fd))) << "vector " << j << ", " << c;
            }
        }
    }
}

// An overflow is reported once and raises the flag, which the next call
// lowers again.
TEST(Lorentz, OverflowIsReportedOnceAndRaisesTheFlag) {
    RecordingReporter reporter;
    StateVector d{};
    bool error = false;
    Lorentz({1, 1e200, 1, 1, 0, 0, 0, 1, 0, 0, 0, 1}, d, 1e200, 28, 2.6667, error, reporter);
    EXPECT_TRUE(error);
    Lorentz({1, 1, 1, 1, 0, 0, 0, 1, 0, 0, 0, 1}, d, 10, 28, 2.6667, error, reporter);
    EXPECT_FALSE(error);
    EXPECT_EQ(reporter.faults, 1);
}
