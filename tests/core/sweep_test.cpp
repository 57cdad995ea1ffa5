#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <tuple>

#include "sweep_grid.h"
#include "sweep_runner.h"
#include "system_exponents.h"
#include "system_sweep_runner.h"
#include "visit_system.h"

using namespace veltrano;

namespace {

SweepSettings sweepSettings(int threads, std::int64_t intervals) {
    return {.threads = threads, .path = widestPath(), .run = {.intervals = intervals}};
}

// One axis over the base point sigma = 10, R = 28, b = 2.6667.
SweepGrid lineOf(SweepParameter parameter, double from, double to, std::int64_t count) {
    return {.base = {10, 28, 2.6667}, .axes = {{{parameter, from, to, count, {}}}}, .axisCount = 1};
}

}  // namespace

TEST(SweepGrid, ValuesRunFromExactlyFromToExactlyTo) {
    const struct {
        double from, to;
        std::int64_t count;
    } axes[] = {{0, 250, 128}, {0.1, 0.7, 7}, {-3.3, 1e-3, 1000}, {5, -5, 3}, {-1.7976931348623157e308, 1.7976931348623157e308, 5}};
    for (const auto& a : axes) {
        const SweepAxis axis{SweepParameter::R, a.from, a.to, a.count, {}};
        EXPECT_EQ(axis.valueAt(0), a.from);
        EXPECT_EQ(axis.valueAt(a.count - 1), a.to);
        for (std::int64_t i = 1; i < a.count; ++i)
            EXPECT_EQ(axis.valueAt(i) > axis.valueAt(i - 1), a.to > a.from) << i;
    }
    EXPECT_EQ((SweepAxis{SweepParameter::B, 2, 9, 1, {}}.valueAt(0)), 2.0);
}

// Three axes, the first slowest, spaced evenly or given as values.
TEST(SweepGrid, TheFirstAxisVariesSlowest) {
    SweepGrid grid;
    grid.base = {10, 28, 2.6667};
    grid.axes = {SweepAxis{SweepParameter::Sigma, 1, 3, 3, {}}, SweepAxis{SweepParameter::B, 0, 0, 2, {1, 2}},
                 SweepAxis{SweepParameter::R, 0, 0, 2, {20, 30}}};
    grid.axisCount = 3;
    ASSERT_EQ(grid.size(), 12);
    for (std::int64_t i = 0; i < 12; ++i) {  // sigma by i / 4, b by i / 2 % 2, R by i % 2
        const FlowParameters p = grid.pointAt(i);
        EXPECT_EQ(std::tuple(p.sv, p.rv, p.bv), std::tuple(1.0 + i / 4, i % 2 ? 30.0 : 20.0, 1.0 + i / 2 % 2)) << i;
    }
}

TEST(SweepGrid, ShardsAreContiguousNearlyEqualAndCoverEverything) {
    for (const std::int64_t size : {1, 7, 128, 1000003}) {
        for (const std::int64_t m : {1, 2, 3, 7, 64, 200}) {
            std::int64_t expectedBegin = 0;
            for (std::int64_t k = 1; k <= m; ++k) {
                const IndexRange r = shardRange(size, k, m);
                EXPECT_EQ(r.begin, expectedBegin);
                EXPECT_LE(r.end - r.begin, size / m + 1);
                EXPECT_GE(r.end - r.begin, size / m);
                expectedBegin = r.end;
            }
            EXPECT_EQ(expectedBegin, size);
        }
    }
}

// The sweep hands on every point once, in order, whatever the threads, and
// its results are those of the batched engine for the same points.
TEST(SweepRunner, HandsOnEveryPointInOrderOnAnyNumberOfThreads) {
    const SweepGrid grid = lineOf(SweepParameter::R, -50, 400, 203);
    std::vector<FlowParameters> points;
    for (std::int64_t i = 0; i < grid.size(); ++i) points.push_back(grid.pointAt(i));
    std::vector<PointResult> expected(points.size());
    runPoints(SimdPath::Lanes128, 3, points, expected);

    for (const int threads : {1, 2, 5}) {
        for (const IndexRange range : {IndexRange{0, 203}, IndexRange{17, 150}}) {
            std::int64_t next = range.begin;
            const bool finished = runSweep(grid, range, sweepSettings(threads, 3), [&](std::span<const SweepPoint> done) {
                for (const SweepPoint& p : done) {
                    EXPECT_EQ(p.index, next);
                    EXPECT_EQ(p.result, expected[static_cast<std::size_t>(p.index)]);
                    ++next;
                }
                return true;
            });
            EXPECT_TRUE(finished);
            EXPECT_EQ(next, range.end) << threads << " threads";
        }
        // A sink that declines stops the sweep early.
        std::int64_t seen = 0;
        const SweepSettings settings = sweepSettings(threads, 3);
        EXPECT_FALSE(runSweep(grid, {0, 203}, settings, [&](std::span<const SweepPoint> done) {
            seen += static_cast<std::int64_t>(done.size());
            return false;
        }));
        EXPECT_LT(seen, 203);
    }
}

// A stop from outside ends a long sweep soon, with nothing half-done
// handed on.
TEST(SweepRunner, AStopFromOutside) {
    const SweepGrid grid = lineOf(SweepParameter::Sigma, 5, 7, 12);
    std::atomic<bool> stop{false};
    SweepSettings settings = sweepSettings(2, RunSettings::kMaxIntervals);  // hours, unless stopped
    settings.stop = &stop;
    std::int64_t handed = 0;
    std::thread stopper([&stop] {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        stop = true;
    });
    const auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(runSweep(grid, {0, 12}, settings, [&](std::span<const SweepPoint> done) {
        handed += static_cast<std::int64_t>(done.size());
        return true;
    }));
    stopper.join();
    EXPECT_EQ(handed, 0);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
}

// A sweep of any flow: every point handed on once, in order, holding the
// doubles runSystemPoint gives it alone, on every path and thread count;
// grids of one to three axes, of a flow whose dimension is chosen and of
// fewer exponents than the dimension among them.
TEST(SystemSweepRunner, EveryPointIsItsOwnRunOnEveryPathAndThreadCount) {
    struct Case {
        const char* system;
        std::size_t dimension, exponents;
        std::vector<SystemAxis> axes;
    };
    const Case cases[] = {
        {"rossler", 3, 3, {{2, 4.0, 6.0, 5, {}}}},
        {"chen", 3, 2, {{0, 30.0, 40.0, 3, {}}, {2, 20.0, 30.0, 4, {}}}},
        {"lorenz96", 6, 4, {{0, 4.0, 9.0, 3, {}}, {0, 1.0, 2.0, 2, {}}, {0, 0.5, 8.0, 3, {}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.system);
        const SystemDescription description = findSystem(c.system, c.dimension).value();
        SystemGrid grid;
        for (const ParameterDescription& p : description.parameters) grid.base.push_back(p.value);
        for (const SystemAxis& axis : c.axes) grid.axes[static_cast<std::size_t>(grid.axisCount++)] = axis;
        SystemSettings run{.intervals = 40, .initial = description.start, .exponents = c.exponents};
        std::vector<AnySystemResult> expected;
        visitSystem(c.system, c.dimension, [&](const auto& system) {
            for (std::int64_t i = 0; i < grid.size(); ++i) {
                ParametersOf<std::decay_t<decltype(system)>> point{};
                grid.pointAt(i, point);
                expected.push_back(widened(runSystemPoint(system, run, point)));
            }
        });
        for (const SimdPath path : availablePaths())
            for (const int threads : {1, 3}) {
                std::int64_t next = 1;
                const SystemSweepSettings settings{.threads = threads, .path = path, .run = run, .pointsPerBlock = 2};
                EXPECT_TRUE(runSystemSweep(c.system, c.dimension, grid, {1, grid.size()}, settings,
                                           [&](std::span<const SystemSweepPoint> done) {
                                               for (const SystemSweepPoint& p : done) {
                                                   EXPECT_EQ(p.index, next);
                                                   EXPECT_EQ(p.result, expected[static_cast<std::size_t>(next++)]);
                                               }
                                               return true;
                                           }));
                EXPECT_EQ(next, grid.size()) << threads << " threads";
            }
    }
}

// What the engine would refuse is refused before any thread starts.
TEST(SystemSweepRunner, RefusesBeforeAnyWork) {
    SystemGrid grid;
    grid.base = {0.2, 0.2, 5.7};
    const SystemSettings run{.intervals = 5, .initial = {1, 1, 1}, .exponents = 3};
    const auto sweep = [&](const char* system, std::size_t d, const SystemSettings& s) {
        return runSystemSweep(system, d, grid, {0, 1}, {.run = s}, [](std::span<const SystemSweepPoint>) {
            ADD_FAILURE() << "a point was computed";
            return true;
        });
    };
    EXPECT_THROW(sweep("nowhere", 3, run), std::invalid_argument);
    EXPECT_THROW(sweep("lorenz96", 6, run), std::invalid_argument);  // one parameter, not three
    EXPECT_THROW(sweep("rossler", 3, {.intervals = 5, .initial = {1, 1, 1}, .exponents = 4}), std::invalid_argument);
}
