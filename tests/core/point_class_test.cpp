#include <gtest/gtest.h>

#include <cmath>
#include <map>
#include <thread>

#include "point_class.h"
#include "sweep_runner.h"

using namespace veltrano;

namespace {

PointResult withBars(Triple expo, Triple halfWidth) {
    return {.completed = true, .t = 50, .expo = expo, .errorsKnown = true, .halfWidth = halfWidth};
}

}  // namespace

TEST(PointClass, DecidedByTheBarsOfTheTwoLargestExponents) {
    const struct {
        const char* what;
        Triple expo, halfWidth;
        PointClass expected;
    } cases[] = {
        {"the Lorenz attractor", {0.9056, 0.001, -14.57}, {0.01, 0.01, 0.02}, PointClass::Chaotic},
        {"chaotic by a hair", {0.0101, -0.5, -13}, {0.01, 0.01, 0.02}, PointClass::Chaotic},
        {"a limit cycle, l1 a little above 0", {0.004, -0.3, -13}, {0.01, 0.01, 0.02}, PointClass::Periodic},
        {"a limit cycle, l1 a little below 0", {-0.004, -0.3, -13}, {0.01, 0.01, 0.02}, PointClass::Periodic},
        {"a limit cycle, l1 exactly 0", {0, -0.3, -13}, {0.01, 0.01, 0.02}, PointClass::Periodic},
        {"l1 on the upper edge of its bar", {0.01, -0.3, -13}, {0.01, 0.01, 0.02}, PointClass::Periodic},
        {"l1 on the lower edge of its bar", {-0.01, -0.3, -13}, {0.01, 0.01, 0.02}, PointClass::Periodic},
        {"a stable fixed point", {-0.2, -0.3, -13}, {0.01, 0.01, 0.02}, PointClass::AtRest},
        {"at rest by a hair", {-0.0101, -0.3, -13}, {0.01, 0.01, 0.02}, PointClass::AtRest},
        {"l1 and l2 both within their bars of 0", {0.002, -0.005, -13}, {0.01, 0.01, 0.02}, PointClass::Undecided},
        {"l2 on the edge of its bar", {0.002, -0.01, -13}, {0.01, 0.01, 0.02}, PointClass::Undecided},
        {"wide bars cover everything", {0.5, -0.5, -13}, {1, 1, 1}, PointClass::Undecided},
        {"l2 positive, l1 near 0", {0.001, 0.2, -13}, {0.01, 0.01, 0.02}, PointClass::Undecided},
        {"no width at all, l1 exactly 0", {0, -1, -2}, {0, 0, 0}, PointClass::Periodic},
        {"the third exponent plays no part", {0.5, -0.3, 100}, {0.01, 0.01, 1e9}, PointClass::Chaotic},
    };
    for (const auto& c : cases) {
        const auto got = classify(withBars(c.expo, c.halfWidth));
        ASSERT_TRUE(got.has_value()) << c.what;
        EXPECT_EQ(*got, c.expected) << c.what << ": got " << className(*got);
    }
    // No class without bars or for a fault.
    PointResult faulted = withBars({0.9, 0, -14}, {0.01, 0.01, 0.01}), noBars = faulted;
    faulted.completed = false;
    noBars.errorsKnown = false;
    EXPECT_FALSE(classify(faulted).has_value());
    EXPECT_FALSE(classify(noBars).has_value());
    const std::pair<PointClass, const char*> names[] = {{PointClass::Chaotic, "chaotic"}, {PointClass::Periodic, "periodic"},
                                                        {PointClass::AtRest, "at rest"}, {PointClass::Undecided, "undecided"}};
    for (const auto& [c, name] : names) EXPECT_EQ(className(c), name);
}

// A grid over sigma 0-40, R 0-200, 20 x 20, n = 5000, batches of 250
// (measured: 248 chaotic, 69 periodic, 83 at rest, none undecided).
// Periodic points are many and undecided ones rare; the naive rule (|l1|
// within its bar: undecided) calls every periodic point undecided.
TEST(PointClass, AMeasuredGridIsMostlyDecided) {
    SweepGrid grid;
    grid.base = {10, 28, 2.6667};
    grid.axes[0] = SweepAxis{SweepParameter::Sigma, 0, 40, 20, {}};
    grid.axes[1] = SweepAxis{SweepParameter::R, 0, 200, 20, {}};
    grid.axisCount = 2;
    const SweepSettings settings{.threads = static_cast<int>(std::max(1U, std::thread::hardware_concurrency())),
                                 .path = widestPath(),
                                 .run = {.intervals = 5000, .errors = true, .batch = 250}};
    std::map<PointClass, int> counts;
    int unclassified = 0, naiveUndecided = 0;
    runSweep(grid, {0, grid.size()}, settings, [&](std::span<const SweepPoint> points) {
        for (const SweepPoint& p : points) {
            const auto c = classify(p.result);
            if (!c) {
                ++unclassified;
                continue;
            }
            ++counts[*c];
            naiveUndecided += std::fabs(p.result.expo[0]) <= p.result.halfWidth[0];
        }
        return true;
    });
    EXPECT_EQ(unclassified, 0);
    EXPECT_GT(counts[PointClass::Chaotic], 220);
    EXPECT_GT(counts[PointClass::Periodic], 55);
    EXPECT_GT(counts[PointClass::AtRest], 70);
    EXPECT_LE(counts[PointClass::Undecided], 2);
    EXPECT_GE(naiveUndecided, counts[PointClass::Periodic]);
}
