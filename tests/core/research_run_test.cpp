#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <random>

#include "batch_means.h"
#include "batched_exponents.h"
#include "double_bits.h"
#include "exponents.h"
#include "recording_reporter.h"
#include "reference_exponents.h"

using namespace veltrano;

namespace {

RunSettings settingsOf(std::int64_t n, const reference::Options& o) {
    return {.intervals = n, .transient = o.transient, .initial = {o.x0, o.y0, o.z0}, .step = o.h,
            .stepsPerInterval = o.stepsPerInterval, .errors = o.errors, .batch = o.batch, .targetError = o.target};
}

// The reference counts its exponents from one.
Triple fromOne(const double (&v)[4]) { return {v[1], v[2], v[3]}; }

// Equal to the last bit: outcome, time, exponents, intervals and error bars,
// the exponents of a fault and the error bars not known left at zero.
void expectSame(const PointResult& got, const reference::Result& want) {
    ASSERT_EQ(got.completed, !want.error);
    EXPECT_EQ(bits(got.t), bits(want.t));
    EXPECT_EQ(got.intervals, want.intervals);
    EXPECT_EQ(got.batches, want.batches);
    EXPECT_EQ(got.errorsKnown, want.errorsKnown);
    EXPECT_EQ(bits(got.expo), bits(got.completed ? fromOne(want.expo) : Triple{}));
    EXPECT_EQ(bits(got.halfWidth), bits(got.errorsKnown ? fromOne(want.halfWidth) : Triple{}));
}

// Points that end in every way: chaos, order, a fault after some steps, a
// fault in the first reorthonormalisation, a fault at once, and random
// points across the double range (one in six anywhere in it). Not a whole
// number of batches on any path.
std::vector<FlowParameters> mixedPoints() {
    std::vector<FlowParameters> points = {
        {10, 28, 2.6667}, {300, 28, 2.6667}, {10, 0.5, 2.6667}, {1e200, 28, 2.6667}, {16, 45.92, 4},
        // These stop in the reorthonormalisation of the first interval.
        {4.3037457386239693, 81.013903989996962, -69.208275327631839},
        {-52.869001188976796, -3.2124292861846202, 6.806045769197155},
        {-3.933130571921347, 21973.867258288792, -4.0756466481342457},
        {0.25, 166, 1e-3}, {7e-5, -2.5, 0.5}, {10, 99.96, 8.0 / 3},  // tiny and negative parameters
    };
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> exponent(-2, 2.6), extreme(-300, 300), mantissa(1, 10);
    std::bernoulli_distribution negative(0.25), wild(1.0 / 6);
    for (int i = 0; i < 27; ++i) {
        FlowParameters p{};
        for (double* v : {&p.sv, &p.rv, &p.bv})
            *v = (negative(rng) ? -1 : 1) * mantissa(rng) * std::pow(10.0, wild(rng) ? extreme(rng) : exponent(rng));
        points.push_back(p);
    }
    return points;
}

}  // namespace

// runPoints (the lane engine for Lorenz and three exponents) is the plain
// implementation to the last bit, on every path and for every option.
TEST(ResearchRun, EveryOptionIsBitForBitThePlainImplementationOnEveryPath) {
    const struct {
        const char* name;
        std::int64_t n;
        reference::Options options;
    } cases[] = {
        {"the window's experiment, one interval", 1, {}},
        {"the window's experiment", 25, {}},
        {"transient", 12, {.transient = 40}},
        {"starting point", 25, {.x0 = -3.25, .y0 = 2.5, .z0 = 20}},
        {"step and steps per interval", 30, {.h = 0.005, .stepsPerInterval = 7}},
        {"error bars", 60, {.transient = 3, .errors = true, .batch = 4}},
        {"target error", 400, {.errors = true, .batch = 3, .target = 0.4}},
        {"everything", 90, {.transient = 7, .x0 = 0.5, .y0 = -1, .z0 = 9, .h = 0.0125, .stepsPerInterval = 11,
                            .errors = true, .batch = 5, .target = 0.8}},
    };
    const std::vector<FlowParameters> points = mixedPoints();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<reference::Result> want;
        for (const FlowParameters& p : points)
            want.push_back(reference::lyapunovSpectrum(c.n, p.sv, p.rv, p.bv, c.options));
        for (SimdPath path : availablePaths()) {
            SCOPED_TRACE(pathName(path));
            std::vector<PointResult> got(points.size());
            if (c.options.transient == 0 && c.options.h == 0.01 && c.options.x0 == 1 && !c.options.errors)
                runPoints(path, static_cast<std::int16_t>(c.n), points, got);  // the window's own entry
            else
                runPoints(path, settingsOf(c.n, c.options), points, got);
            for (std::size_t i = 0; i < points.size(); ++i) {
                const FlowParameters& p = points[i];
                SCOPED_TRACE(testing::Message() << "sigma=" << p.sv << " R=" << p.rv << " b=" << p.bv);
                expectSame(got[i], want[i]);
            }
        }
    }
}

// The lane-occupancy counts, exactly: a lane that carries a point counts
// one busy lane-interval per interval it runs (transient and the interval
// that faults included), every pass counts all W lanes, and a lane that
// frees takes the next point at the end of the pass, lanes in order. The
// points end at very different times, each its own run.
TEST(ResearchRun, LaneUsageCountsEveryLaneIntervalOfEveryPass) {
    reference::Options o{.transient = 3, .errors = true, .batch = 2, .target = 0.3};
    std::vector<FlowParameters> points;
    for (int i = 0; i < 19; ++i) points.push_back({10, 5.0 + 7.0 * i, 2.6667});
    points[2] = {280, 28, 2.6667};    // faults in its second measured interval
    points[9] = {1e200, 28, 2.6667};  // faults in the first step of its transient
    points[10] = {300, 28, 2.6667};   // faults in the first interval of its transient
    for (SimdPath path : availablePaths()) {
        SCOPED_TRACE(pathName(path));
        const int lanes = lanesOf(path);
        std::vector<PointResult> got(points.size());
        LaneUsage usage;
        runPoints(path, settingsOf(300, o), points, got, &usage);
        // How many passes each point keeps its lane: its transient and
        // measured intervals, or up to the interval that faults (counted
        // from the start: the transient's intervals are run as measured ones).
        std::vector<std::int64_t> passes;
        reference::Options unmeasured = o;
        unmeasured.transient = 0;
        for (std::size_t i = 0; i < points.size(); ++i) {
            const FlowParameters& p = points[i];
            expectSame(got[i], reference::lyapunovSpectrum(300, p.sv, p.rv, p.bv, o));
            passes.push_back(got[i].completed
                                 ? o.transient + got[i].intervals
                                 : reference::lyapunovSpectrum(300, p.sv, p.rv, p.bv, unmeasured).intervals + 1);
        }
        // The same schedule by hand.
        std::vector<std::int64_t> left(static_cast<std::size_t>(lanes), 0);
        std::size_t next = 0;
        std::int64_t busy = 0, total = 0;
        for (auto& l : left)
            if (next < passes.size()) l = passes[next++];
        while (std::any_of(left.begin(), left.end(), [](std::int64_t l) { return l > 0; })) {
            total += lanes;
            for (auto& l : left) busy += l > 0 ? (--l, 1) : 0;
            for (auto& l : left)
                if (l == 0 && next < passes.size()) l = passes[next++];
        }
        EXPECT_EQ(usage.busy, busy);
        EXPECT_EQ(usage.total, total);
    }
}

// The observed run reports, after every measured step and only then, the
// time and x, y, z of the single run's state; after every interval, where
// the point stands, and the run of that many intervals (error bars
// included). Watching the steps changes nothing in the result.
TEST(ResearchRun, ObservedStepsAndRowsAreTheSingleRuns) {
    using Step = std::array<double, 4>;  // t, x, y, z
    const struct {
        const char* name;
        std::int64_t n;
        reference::Options options;
        FlowParameters p;
    } cases[] = {
        {"the window's experiment", 7, {}, {10, 28, 2.6667}},
        {"transient and starting point", 6, {.transient = 5, .x0 = -3.25, .y0 = 2.5, .z0 = 20}, {10, 28, 2.6667}},
        {"step and steps per interval", 9, {.h = 0.005, .stepsPerInterval = 7}, {16, 45.92, 4}},
        {"error bars", 40, {.transient = 5, .h = 0.02, .errors = true, .batch = 2}, {10, 28, 2.6667}},
        {"a fault after some steps", 100, {}, {300, 28, 2.6667}},
        {"a fault in the transient", 5, {.transient = 100}, {300, 28, 2.6667}},
        {"a target reached early", 400, {.errors = true, .batch = 3, .target = 0.4}, {10, 0.5, 2.6667}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<Step> want, got;
        reference::Options o = c.options;
        o.afterStep = [&want](double t, double x, double y, double z) { want.push_back({t, x, y, z}); };
        const reference::Result end = reference::lyapunovSpectrum(c.n, c.p.sv, c.p.rv, c.p.bv, o);
        std::vector<IntervalState> rows;
        std::vector<std::optional<Triple>> widths;
        const RunSettings settings = settingsOf(c.n, c.options);
        const PointResult result = runObserved(
            settings, c.p,
            [&](const IntervalState& state) { rows.push_back(state), widths.push_back(state.batches->halfWidths()); },
            nullptr, [&got](double t, const Triple& xyz) { got.push_back({t, xyz[0], xyz[1], xyz[2]}); });
        expectSame(result, end);

        const auto steps = static_cast<std::size_t>(c.options.stepsPerInterval);
        ASSERT_EQ(got.size(), want.size());
        for (std::size_t i = 0; i < got.size(); ++i) EXPECT_EQ(bits(got[i]), bits(want[i])) << i;
        ASSERT_EQ(rows.size(), static_cast<std::size_t>(end.intervals));
        for (std::size_t k = 0; k < rows.size(); ++k) {
            const Step row{rows[k].t, rows[k].point[0], rows[k].point[1], rows[k].point[2]};
            EXPECT_EQ(rows[k].interval, static_cast<std::int64_t>(k + 1));
            EXPECT_EQ(rows[k].last, k + 1 == rows.size() && !end.error);
            EXPECT_EQ(bits(row), bits(got[(k + 1) * steps - 1])) << k;
        }
        // A row is the run of that many intervals.
        for (std::size_t k : {std::size_t{1}, rows.size() / 2, rows.size() - 1}) {
            if (k == 0 || k >= rows.size()) continue;
            const auto run = reference::lyapunovSpectrum(static_cast<long long>(k), c.p.sv, c.p.rv, c.p.bv, c.options);
            EXPECT_EQ(widths[k - 1].has_value(), run.errorsKnown) << k;
            EXPECT_EQ(bits(rows[k - 1].expo), bits(fromOne(run.expo))) << k;
            if (run.errorsKnown) {
                EXPECT_EQ(bits(*widths[k - 1]), bits(fromOne(run.halfWidth))) << k;
            }
        }
    }
    // The window's own run reports after every interval the intervals done,
    // the time, the estimates and the point of the observed run of that many
    // intervals; one that stops in its fifth interval reports the four before it.
    using Row = std::array<double, 7>;  // t, x, y, z, exponents
    const auto row = [](double t, const auto& xyz, const Triple& e) {
        return Row{t, xyz[0], xyz[1], xyz[2], e[0], e[1], e[2]};
    };
    Spectrum spectrum;
    RecordingReporter reporter;
    std::vector<Row> window, observed;
    ASSERT_TRUE(spectrum.run({60, 10, 28, 2.6667}, reporter, [&](int k) {
        window.push_back(row(spectrum.t(), spectrum.state(), spectrum.expo()));
        EXPECT_EQ(static_cast<std::size_t>(k), window.size());
    }));
    runObserved(settingsOf(60, {}), {10, 28, 2.6667},
                [&](const IntervalState& s) { observed.push_back(row(s.t, s.point, s.expo)); });
    EXPECT_EQ(window, observed);
    int stopped = 0;
    EXPECT_FALSE(spectrum.run({9999, 280, 28, 2.6667}, reporter, [&](int) { ++stopped; }));
    EXPECT_EQ(stopped, 4);
}

// The error bars are honest: runs from many starting points on the
// attractor give 95 % intervals that contain the long-run value about 95 %
// of the time (the long-run value from a separate, eight times longer run).
TEST(ResearchRun, ErrorBarsContainTheLongRunValueAboutNineteenTimesInTwenty) {
    RunSettings s{.intervals = 20000, .transient = 500, .errors = true, .batch = 1000};
    const FlowParameters classic{10, 28, 2.6667};
    std::vector<PointResult> runs(48);
    // Different starting points, the same attractor: each run is independent.
    for (std::size_t i = 0; i < runs.size(); ++i) {
        s.initial = {1.0 + 0.37 * static_cast<double>(i), -2.0 + 0.11 * static_cast<double>(i), 20.0};
        runPoints(widestPath(), s, std::span(&classic, 1), std::span(&runs[i], 1));
        ASSERT_TRUE(runs[i].errorsKnown);
    }
    s.intervals = 160000;
    s.initial = {-7.0, 3.0, 30.0};
    PointResult truth;
    runPoints(widestPath(), s, std::span(&classic, 1), std::span(&truth, 1));
    for (std::size_t k = 0; k < 3; ++k) {
        int covered = 0;
        for (const PointResult& r : runs) covered += std::fabs(r.expo[k] - truth.expo[k]) <= r.halfWidth[k];
        // 95 % of 48 is 45.6; binomially, fewer than 41 happens with a
        // probability below 0.5 %.
        EXPECT_GE(covered, 41) << "lambda" << k + 1 << ": " << covered << " of 48 intervals contain " << truth.expo[k];
    }
}
