#include "typed_flow.h"

#include <gtest/gtest.h>

#include <string>

using veltrano::typedFlowDescription;

namespace {

// A parameter's default and the interval its sweeps may cover.
struct Range {
    const char* value;
    double lowest, highest;
};

class TypedFlowRange : public testing::TestWithParam<Range> {};

}  // namespace

// Half to one and a half times the default, in order whatever its sign,
// -1 to 1 around 0, the ends to twelve digits.
TEST_P(TypedFlowRange, IsHalfToOneAndAHalfTimesTheDefault) {
    const Range& r = GetParam();
    const auto flow = typedFlowDescription(std::string("x' = -a*x\na = ") + r.value + "\n");
    ASSERT_EQ(flow.parameters.size(), 1u);
    const auto& p = flow.parameters[0];
    EXPECT_EQ(p.value, std::stod(r.value));
    EXPECT_EQ(p.lowest, r.lowest);
    EXPECT_EQ(p.highest, r.highest);
}

INSTANTIATE_TEST_SUITE_P(Defaults, TypedFlowRange,
                         testing::Values(Range{"2", 1, 3}, Range{"-3", -4.5, -1.5}, Range{"0", -1, 1},
                                         Range{"0.2", 0.1, 0.3}, Range{"-0.2", -0.3, -0.1},
                                         Range{"0.123456789012345", 0.0617283945062, 0.185185183519}));
