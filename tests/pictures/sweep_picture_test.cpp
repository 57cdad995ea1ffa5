#include "sweep_picture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace veltrano::pictures {
namespace {

SweepGrid line(std::int64_t count, double from = 0, double to = -1) {
    const double last = to < from ? static_cast<double>(count - 1) : to;
    return {.base = {10, 28, 2.6667}, .axes = {{{SweepParameter::R, from, last, count, {}}}}, .axisCount = 1};
}

SweepGrid map(std::int64_t columns, std::int64_t rows) {
    return {.base = {10, 28, 2.6667},
            .axes = {{{SweepParameter::Sigma, 0, static_cast<double>(columns - 1), columns, {}},
                      {SweepParameter::R, 100, 100 + static_cast<double>(rows - 1), rows, {}}}},
            .axisCount = 2};
}

// A point whose exponents tell its index, with half-widths 0.01, 0.02, 0.03
// where asked; a fault has no exponents.
SweepPoint point(const SweepGrid& grid, std::int64_t i, bool errors = false, bool fault = false) {
    SweepPoint p{i, grid.pointAt(i), {}};
    p.result.completed = !fault;
    if (fault) return p;
    p.result.expo = {0.5 + static_cast<double>(i), -1.0 - static_cast<double>(i), -20.0 - static_cast<double>(i)};
    p.result.errorsKnown = errors;
    if (errors) p.result.halfWidth = {0.01, 0.02, 0.03};
    return p;
}

void add(SweepPicture& picture, const SweepGrid& grid, std::int64_t i, PointStatus status, bool errors = false) {
    picture.add(point(grid, i, errors, status == PointStatus::Error), status);
}

const MarkedPoints* marksOf(const LineChart& chart, PointMark mark) {
    for (const MarkedPoints& m : chart.marks)
        if (m.mark == mark) return &m;
    return nullptr;
}

// A band stands only on bins all of whose rows have half-widths.
TEST(SweepPictureLine, BandOnlyFromBinsWhoseRowsAllHaveHalfWidths) {
    // Bin c holds points 2c and 2c + 1; bin 1 mixes, bin 2 has none.
    const SweepGrid grid = line(2 * SweepPicture::kMaxBins);
    SweepPicture picture(grid, {});
    for (std::int64_t i = 0; i < grid.size(); ++i) add(picture, grid, i, PointStatus::Ok, i < 3 || i > 5);
    const LineChart chart = picture.lineChart();
    ASSERT_EQ(chart.curves.size(), 3U);
    for (std::size_t k = 0; k < 3; ++k) {
        const Curve& c = chart.curves[k];
        ASSERT_EQ(c.low.size(), static_cast<std::size_t>(SweepPicture::kMaxBins));
        ASSERT_EQ(c.high.size(), c.low.size());
        const double width = 0.01 * static_cast<double>(k + 1);
        EXPECT_DOUBLE_EQ(c.y[0], (point(grid, 0).result.expo[k] + point(grid, 1).result.expo[k]) / 2);
        EXPECT_NEAR(c.high[0] - c.y[0], width, 1e-12);
        EXPECT_NEAR(c.y[0] - c.low[0], width, 1e-12);
        EXPECT_NEAR(c.high[3] - c.y[3], width, 1e-12);
        for (std::size_t bin : {1, 2}) EXPECT_TRUE(std::isnan(c.low[bin]) && std::isnan(c.high[bin]) && !std::isnan(c.y[bin]));
    }
}

// With one point more than bins, bin 0 holds points 0 and 1 (a fault, marked
// at 0), bin 1 point 2 alone, and stands at it.
TEST(SweepPictureLine, ABinStandsAtItsFirstPoint) {
    const SweepGrid grid = line(SweepPicture::kMaxBins + 1);
    SweepPicture picture(grid, {});
    for (std::int64_t i = 0; i < grid.size(); ++i) add(picture, grid, i, i == 1 ? PointStatus::Error : PointStatus::Ok);
    const LineChart chart = picture.lineChart(1);
    EXPECT_EQ(chart.curves.at(0).x.at(1), 2.0);
    EXPECT_EQ(chart.curves.at(0).y.at(1), point(grid, 2).result.expo[0]);
    EXPECT_EQ(marksOf(chart, PointMark::Fault)->y, std::vector<double>{0});
}

// Faults are marked at 0 (they have no value); an inconsistent point is
// marked at its numbers; both stay out of the curves, for all exponents or one.
TEST(SweepPictureLine, MarksFaultedAndInconsistentPointsApart) {
    const SweepGrid grid = line(10, 20, 29);
    const struct {
        std::vector<std::int64_t> faults, odd;
        std::vector<double> curve;
    } cases[] = {
        {{3, 7}, {}, {20, 21, 22, 24, 25, 26, 28, 29}},
        {{}, {4}, {20, 21, 22, 23, 25, 26, 27, 28, 29}},
    };
    for (const auto& c : cases) {
        for (int only = 0; only <= 3; ++only) {
            SCOPED_TRACE(testing::Message() << "exponent " << only << ", " << c.faults.size() << " faults");
            SweepPicture picture(grid, {});
            for (std::int64_t i = 0; i < 10; ++i)
                add(picture, grid, i,
                    std::count(c.faults.begin(), c.faults.end(), i) ? PointStatus::Error
                    : std::count(c.odd.begin(), c.odd.end(), i)     ? PointStatus::Inconsistent
                                                                    : PointStatus::Ok);
            const LineChart chart = picture.lineChart(only);
            const MarkedPoints* faults = marksOf(chart, PointMark::Fault);
            const MarkedPoints* odd = marksOf(chart, PointMark::Inconsistent);
            ASSERT_EQ(faults != nullptr, !c.faults.empty());
            ASSERT_EQ(odd != nullptr, !c.odd.empty());
            if (faults) {
                EXPECT_EQ(faults->x, (std::vector<double>{23, 27}));
                EXPECT_EQ(faults->y, (std::vector<double>{0, 0}));
                EXPECT_FALSE(faults->name.empty());
            }
            if (odd) {
                std::vector<double> expected;
                for (std::size_t k = 0; k < 3; ++k)
                    if (only == 0 || static_cast<std::size_t>(only) == k + 1) expected.push_back(point(grid, 4).result.expo[k]);
                EXPECT_EQ(odd->y, expected);
                EXPECT_EQ(odd->x, std::vector<double>(expected.size(), 24.0));
            }
            ASSERT_EQ(chart.curves.size(), only == 0 ? 3U : 1U);
            for (const Curve& curve : chart.curves) {
                EXPECT_EQ(curve.x, c.curve);
                EXPECT_TRUE(curve.low.empty() && curve.high.empty());
            }
        }
    }
}

TEST(SweepPictureMap, DrawsTheExponentAsked) {
    const SweepGrid grid = map(4, 3);
    SweepPicture picture(grid, "n = 5");
    ASSERT_TRUE(picture.isMap());
    for (std::int64_t i = 0; i < grid.size(); ++i) add(picture, grid, i, PointStatus::Ok);
    for (int only = 0; only <= 3; ++only) {
        SCOPED_TRACE(only);
        const std::size_t k = only == 0 ? 0 : static_cast<std::size_t>(only - 1);
        const HeatMap m = picture.heatMap(only);
        const std::string name = "λ" + std::to_string(k + 1);
        EXPECT_EQ(m.title, name + " over σ and R — b = 2.6667, n = 5");
        EXPECT_EQ(m.valueTitle, name);
        ASSERT_EQ(m.columns, 4);
        ASSERT_EQ(m.rows, 3);
        ASSERT_EQ(m.values.size(), 12U);
        // Point i lies at σ = i / 3 (across), R = 100 + i % 3 (up).
        for (std::int64_t i = 0; i < grid.size(); ++i) {
            const auto cell = static_cast<std::size_t>((i % 3) * 4 + i / 3);
            EXPECT_EQ(m.values[cell], point(grid, i).result.expo[k]) << i;
        }
        EXPECT_EQ((std::array{m.xFrom, m.xTo, m.yFrom, m.yTo}), (std::array{0.0, 3.0, 100.0, 102.0}));
    }
}

// A cell of many points shows their ok points' mean; an ok point outweighs
// faults and inconsistent points in the same cell, and an inconsistent point
// a fault; a cell of faults alone, or of no point yet, has no value.
TEST(SweepPictureMap, BinsLargeGridsByMean) {
    const SweepGrid grid = map(2 * SweepPicture::kMaxCells, 1);
    SweepPicture picture(grid, {});
    using S = PointStatus;
    for (std::int64_t i = 0; i < 10; ++i)
        add(picture, grid, i, i == 2 || i == 6 || i >= 8 ? S::Error : i == 5 || i == 7 ? S::Inconsistent : S::Ok);
    const HeatMap m = picture.heatMap();
    ASSERT_EQ(m.columns, SweepPicture::kMaxCells);
    EXPECT_EQ(std::vector(m.values.begin(), m.values.begin() + 3), (std::vector{1.0, 3.5, 4.5}));
    using M = PointMark;
    EXPECT_EQ(std::vector(m.marks.begin(), m.marks.begin() + 6),
              (std::vector{M::Value, M::Value, M::Value, M::Inconsistent, M::Fault, M::Empty}));
    for (std::size_t i : {3, 4, 5}) EXPECT_TRUE(std::isnan(m.values[i])) << i;
    EXPECT_EQ(SweepPicture(map(1, SweepPicture::kMaxCells + 1), {}).heatMap().rows, SweepPicture::kMaxCells);
}

// n is in the title only where the rows hold it and every completed point did
// as many intervals (a faulted one stopped early).
TEST(SweepPictureLine, TitlesNameNWhereTheRowsTellItAndOnePointIsALineAtItsR) {
    const struct {
        bool rowsHoldIntervals;
        std::array<std::int64_t, 3> intervals;
        bool lastFaulted;
        const char *run, *after;
    } cases[] = {
        {true, {5, 5, 5}, false, "transient 3", ", n = 5, transient 3"},
        {true, {5, 5, 2}, true, "", ", n = 5"},
        {true, {5, 7, 5}, false, "transient 3", ", transient 3"},
        {false, {5, 5, 5}, false, "", ""},
    };
    const SweepGrid grid = line(3);
    for (const auto& c : cases) {
        SweepPicture picture(grid, c.run, c.rowsHoldIntervals);
        for (std::int64_t i = 0; i < 3; ++i) {
            SweepPoint p = point(grid, i, false, c.lastFaulted && i == 2);
            p.result.intervals = c.intervals[static_cast<std::size_t>(i)];
            picture.add(p, p.result.completed ? PointStatus::Ok : PointStatus::Error);
        }
        const LineChart chart = picture.lineChart();
        EXPECT_EQ(chart.title, std::string("Lyapunov exponents against R — σ = 10, b = 2.6667") + c.after);
        EXPECT_EQ(chart.xTitle, "R");
    }
    // A sweep of one point is a line of one value of R.
    SweepGrid one = line(1);
    one.axisCount = 0;
    SweepPicture single(one, {});
    add(single, one, 0, PointStatus::Ok);
    ASSERT_EQ(single.lineChart().curves.size(), 3U);
    EXPECT_EQ(single.lineChart().curves[0].x, std::vector<double>{28});
    EXPECT_FALSE(single.isMap());
}

}  // namespace
}  // namespace veltrano::pictures
