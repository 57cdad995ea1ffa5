#include "point_class.h"

#include <gtest/gtest.h>

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
        {"chaotic by a hair", {0.0101, -0.5, -13}, {0.01, 0.01, 0.02}, PointClass::Chaotic},
        {"l1 on the upper edge of its bar", {0.01, -0.3, -13}, {0.01, 0.01, 0.02}, PointClass::Periodic},
        {"l1 on the lower edge of its bar", {-0.01, -0.3, -13}, {0.01, 0.01, 0.02}, PointClass::Periodic},
        {"at rest by a hair", {-0.0101, -0.3, -13}, {0.01, 0.01, 0.02}, PointClass::AtRest},
        {"l1 and l2 both within their bars of 0", {0.002, -0.005, -13}, {0.01, 0.01, 0.02}, PointClass::Undecided},
        {"l2 on the edge of its bar", {0.002, -0.01, -13}, {0.01, 0.01, 0.02}, PointClass::Undecided},
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
