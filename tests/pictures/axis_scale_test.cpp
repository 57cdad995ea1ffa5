#include "axis_scale.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace veltrano::pictures {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// What every axis must be, whatever it was asked for: finite, ordered, a
// handful of distinct ticks that a loop from the anchor reaches quickly,
// labels with enough digits to tell neighbours apart.
void expectSane(const AxisScale& s) {
    ASSERT_TRUE(std::isfinite(s.from) && std::isfinite(s.to) && std::isfinite(s.step) && std::isfinite(s.anchor));
    EXPECT_LT(s.from, s.to);
    const double ticks = (s.to - s.from) / s.step;
    EXPECT_GE(ticks, 4.9);
    EXPECT_LE(ticks, 12.6);
    // Each tick is a double of its own: adding a step moves.
    EXPECT_NE(s.from + s.step, s.from);
    EXPECT_NE(s.to - s.step, s.to);
    // Counting from the anchor to the range takes few steps.
    EXPECT_LT(std::fabs(s.from - s.anchor) / s.step, 1e6 + 1);
    // The anchor is a whole number of steps (0 or on the step's grid).
    EXPECT_NEAR(s.anchor / s.step, std::round(s.anchor / s.step), 1e-6);
    EXPECT_LE(s.digits, 17);
    // Neighbouring ticks read differently.
    const double first = s.anchor + std::ceil((s.from - s.anchor) / s.step) * s.step;
    for (double t = first; t + s.step <= s.to; t += s.step) {
        char here[64], next[64];
        std::snprintf(here, sizeof here, "%.*g", s.digits, t);
        std::snprintf(next, sizeof next, "%.*g", s.digits, t + s.step);
        EXPECT_STRNE(here, next);
    }
}

TEST(AxisScale, AnyRangeHoldsAHandfulOfDistinctTicks) {
    const double ranges[][2] = {
        {0, 200}, {200, 0}, {-15.3, 2.1}, {28, 28}, {0, 0}, {28, 28.000000000000004}, {1e20, 1e20 + 16384},
        {1e300, 1e300}, {-1.7976931348623157e308, 1.7976931348623157e308}, {1.7e308, 1.7e308}, {-kInf, kInf},
        {0, kInf}, {kNaN, kNaN}, {kNaN, 3}, {3, kNaN}, {1e-300, 2e-300}, {4.9e-324, 1e-320}, {10000, 10002.5},
        {0, 1e-323}, {1e12, 1e12 + 10}, {123456.789, 123456.7890001}, {1000, 1000.001}};
    for (const auto& [lo, hi] : ranges) {
        SCOPED_TRACE(::testing::Message() << lo << " .. " << hi);
        expectSane(axisScale(lo, hi));
    }
}

// Ranges wide enough are kept exactly, on ticks of 1, 2 or 5 times a power
// of ten, counted from 0 (as today's pictures show them).
TEST(AxisScale, KeepsAnOrdinaryRangeWithRoundTicks) {
    const struct {
        double lo, hi, step;
    } cases[] = {{0, 200, 20}, {0, 250, 50}, {0, 40, 5}, {-15, 2, 2}, {0.1, 0.2, 0.02}, {0, 1, 0.2}, {0, 7, 1},
                 {200, 0, 20}, {9, 3, 1}};  // the order is not its concern
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lo << " .. " << c.hi);
        const AxisScale s = axisScale(c.lo, c.hi);
        EXPECT_EQ(s.from, std::min(c.lo, c.hi));
        EXPECT_EQ(s.to, std::max(c.lo, c.hi));
        EXPECT_DOUBLE_EQ(s.step, c.step);
        EXPECT_EQ(s.anchor, 0.0);
        EXPECT_EQ(s.digits, 4);
    }
}

// One value, or values too close for distinct ticks, become half a unit
// either side of their middle (a millionth of it where that is larger);
// nothing known is 0 to 1. A billionth of the magnitude is wide enough.
TEST(AxisScale, WidensOneValueAroundIt) {
    const struct {
        double lo, hi, from, to;
    } cases[] = {{28, 28, 27.5, 28.5},
                 {0, 0, -0.5, 0.5},
                 {-3, -3, -3.5, -2.5},
                 {28, 28.000000000000004, 27.5, 28.5},
                 {1e20, 1e20, 1e20 - 1e14, 1e20 + 1e14},
                 {kNaN, kNaN, 0, 1},
                 {kNaN, 5, 4.5, 5.5},
                 {1000, 1000.001, 1000, 1000.001}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lo << " .. " << c.hi);
        const AxisScale s = axisScale(c.lo, c.hi);
        EXPECT_DOUBLE_EQ(s.from, c.from);
        EXPECT_DOUBLE_EQ(s.to, c.to);
    }
}

TEST(LogRange, KeepsPositiveRangesAndWidensTheRest) {
    const struct {
        double lo, hi, from, to;
    } cases[] = {{0.01, 1000, 0.01, 1000},
                 {1000, 0.01, 0.01, 1000},
                 {10, 10, 10 / std::sqrt(10.0), 10 * std::sqrt(10.0)},
                 {0, 100, 100 / std::sqrt(10.0), 100 * std::sqrt(10.0)},
                 {-5, 100, 100 / std::sqrt(10.0), 100 * std::sqrt(10.0)},
                 {-5, -1, 1, 10},
                 {kNaN, kNaN, 1, 10},
                 {1, kInf, 1, 10}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.lo << " .. " << c.hi);
        const LogRange r = logRange(c.lo, c.hi);
        EXPECT_DOUBLE_EQ(r.from, c.from);
        EXPECT_DOUBLE_EQ(r.to, c.to);
    }
}

}  // namespace
}  // namespace veltrano::pictures
