#include "history_picture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <span>
#include <vector>

namespace veltrano::pictures {
namespace {

Triple expoAt(std::int64_t n) {
    const double v = static_cast<double>(n);
    return {1.0 / v, -1.0 / v, -14.0 - 1.0 / v};
}

// Rows 1 .. rows at t = n / 100; from row `knownFrom` on with half-widths.
HistoryPicture history(std::int64_t rows, std::int64_t knownFrom) {
    HistoryPicture picture;
    for (std::int64_t n = 1; n <= rows; ++n) {
        std::optional<Triple> widths;
        if (n >= knownFrom) widths = Triple{0.1, 0.2, 0.3};
        picture.add(n, static_cast<double>(n) / 100, expoAt(n), widths);
    }
    return picture;
}

// Every interval up to 1000 is kept, then about a thousand a decade, and
// always the last one, in order.
TEST(HistoryPicture, KeepsABoundedNumberOfRowsAndTheLast) {
    const HistoryPicture picture = history(100000, 0);
    const LineChart chart = picture.chart("n = 100000");
    ASSERT_EQ(chart.curves.size(), 3U);
    const std::vector<double>& t = chart.curves[0].x;
    EXPECT_GT(t.size(), 2900U);
    EXPECT_LT(t.size(), 3100U);
    for (std::size_t i = 0; i < 1000; ++i) ASSERT_EQ(t[i], static_cast<double>(i + 1) / 100);
    EXPECT_EQ(t.back(), 1000.0);
    for (std::size_t i = 1; i < t.size(); ++i) ASSERT_LT(t[i - 1], t[i]);
    EXPECT_EQ(chart.curves[2].y.back(), expoAt(100000)[2]);
    EXPECT_NEAR(chart.curves[1].high.at(0) - chart.curves[1].y[0], 0.2, 1e-12);
    EXPECT_TRUE(chart.logX);
}

TEST(HistoryPicture, NoBandWithoutHalfWidths) {
    const LineChart chart = history(20, 1000).chart("c");
    for (const Curve& c : chart.curves) EXPECT_TRUE(c.low.empty() && c.high.empty());
    const LineChart one = history(20, 1000).chart("c", 3);
    EXPECT_EQ(one.curves[0].x.size(), 20U);
    EXPECT_EQ(one.title, "Convergence of λ3 — c");
}

// A flow's history of k exponents: k curves λ1 .. λk, each with its own
// band once half-widths are known (a gap before, never a band of made-up
// widths), titled with the flow and the last interval; one exponent alone
// keeps only the rows with their band.
TEST(HistoryPicture, DrawsTheKExponentsOfAFlow) {
    const auto estimate = [](std::size_t i, std::int64_t n) {
        return static_cast<double>(i) - 1.0 / static_cast<double>(n);
    };
    for (const std::size_t k : {1U, 4U, 11U}) {
        SCOPED_TRACE(k);
        HistoryPicture picture;
        std::vector<double> expo(k), widths(k);
        for (std::int64_t n = 1; n <= 50; ++n) {
            for (std::size_t i = 0; i < k; ++i) expo[i] = estimate(i, n), widths[i] = 0.1 * static_cast<double>(i + 1);
            picture.add(n, static_cast<double>(n) / 100, expo,
                        n >= 11 ? std::span<const double>(widths) : std::span<const double>());
        }
        const LineChart all = flowHistoryChart(picture, "lorenz96:12");
        EXPECT_EQ(all.title, "Convergence of the Lyapunov exponents — lorenz96:12, n = 50");
        ASSERT_EQ(all.curves.size(), k);
        for (std::size_t i = 0; i < k; ++i) {
            const Curve& c = all.curves[i];
            EXPECT_EQ(c.name, "λ" + std::to_string(i + 1));
            ASSERT_EQ(c.y.size(), 50U);
            EXPECT_EQ(c.y[49], estimate(i, 50));
            EXPECT_TRUE(std::isnan(c.low[9]) && std::isnan(c.high[9]));
            EXPECT_NEAR(c.high[10] - c.y[10], 0.1 * static_cast<double>(i + 1), 1e-12);
            EXPECT_NEAR(c.y[49] - c.low[49], 0.1 * static_cast<double>(i + 1), 1e-12);
        }
        const LineChart last = flowHistoryChart(picture, "lorenz96:12", static_cast<int>(k));
        EXPECT_EQ(last.title, "Convergence of λ" + std::to_string(k) + " with its 95 % interval — lorenz96:12, n = 50");
        ASSERT_EQ(last.curves.size(), 1U);
        EXPECT_EQ(last.curves[0].name, "λ" + std::to_string(k));
        EXPECT_EQ(last.curves[0].x.size(), 40U);
        EXPECT_EQ(last.curves[0].x.front(), 0.11);
        EXPECT_EQ(last.curves[0].y.front(), estimate(k - 1, 11));
    }
}

}  // namespace
}  // namespace veltrano::pictures
