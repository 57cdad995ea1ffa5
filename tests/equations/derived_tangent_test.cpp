#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "equation_text.h"
#include "field_program.h"
#include "interpreted_system.h"

using namespace veltrano::equations;

namespace {

InterpretedSystem systemOf(const std::string& text) {
    return InterpretedSystem(std::make_shared<const FieldProgram>(compileProgram(parseEquations(text))));
}

struct Case {
    const char* text;
    std::vector<double> x;
};

void PrintTo(const Case& c, std::ostream* os) {
    *os << c.text;
}

class DerivedTangent : public testing::TestWithParam<Case> {};

}  // namespace

// J u for each unit vector u is the central difference of the field, and
// the divergence the sum of the diagonal, for every rule of the derivation.
TEST_P(DerivedTangent, IsTheCentralDifferenceOfTheField) {
    const Case& c = GetParam();
    const Equations e = parseEquations(c.text);
    const InterpretedSystem s = systemOf(c.text);
    const std::size_t d = e.dimension();
    ASSERT_EQ(c.x.size(), d);
    std::vector<double> p(e.defaults);
    p.resize(kMaxParameters);
    double trace = 0.0;
    for (std::size_t col = 0; col < d; ++col) {
        std::vector<double> u(d, 0.0), du(d), up(c.x), down(c.x), fUp(d), fDown(d);
        u[col] = 1.0;
        s.tangent(c.x.data(), p.data(), u.data(), du.data(), 1);
        const double h = 1e-6 * std::max(1.0, std::fabs(c.x[col]));
        up[col] += h;
        down[col] -= h;
        s.flow(up.data(), p.data(), fUp.data());
        s.flow(down.data(), p.data(), fDown.data());
        for (std::size_t i = 0; i < d; ++i) {
            const double difference = (fUp[i] - fDown[i]) / (2 * h);
            EXPECT_NEAR(du[i], difference, 1e-6 * std::max(1.0, std::fabs(difference)))
                << "d f" << i << " / d x" << col;
        }
        trace += du[col];
    }
    EXPECT_NEAR(s.divergence(c.x.data(), p.data()), trace, 1e-12 * std::max(1.0, std::fabs(trace)));
}

INSTANTIATE_TEST_SUITE_P(
    Rules, DerivedTangent,
    testing::Values(Case{"x' = sigma*(y - x); y' = R*x - y - x*z; z' = -b*z + x*y; sigma = 10; R = 28; b = 8/3",
                         {1.5, -2, 20}},
                    Case{"x' = x/y - 3/(x*y) + y^-1; y' = -(x^3)*y^-2 + y^0 + (x - y)^2", {0.7, 1.9}},
                    Case{"x' = sin(x)*cos(y) + tan(x*y); y' = asin(x/2) - acos(y/3) + atan(x - y)", {0.4, -1.1}},
                    Case{"x' = sinh(x) - cosh(y)*tanh(x + y); y' = exp(-x*y) + log(y) + sqrt(x + y)", {0.8, 1.3}},
                    Case{"x' = abs(x - y) + atan2(y, x); y' = min(x, y) * max(x*x, y)", {-0.6, 0.9}},
                    Case{"x' = atan2(x*y, 2 - y) / pi; y' = 2*abs(y) - max(1, x)", {1.7, -0.4}},
                    Case{"q' = p; p' = -q - a*q^3; a = 0.5", {0.3, 0.2}}, Case{"x' = c; c = 3", {2.0}}));

// Where the field is not differentiable, the slope taken: abs at 0 has 0,
// min and max at a tie follow their first argument.
TEST(DerivedTangent, TakesTheStatedSlopeWhereThereIsNone) {
    const struct {
        const char* text;
        std::vector<double> u;
        double expected;
    } cases[] = {
        {"x' = abs(x); y' = 0", {1, 0}, 0.0},
        {"x' = min(2*x, y); y' = 0", {1, 5}, 2.0},
        {"x' = max(y, 2*x); y' = 0", {1, 5}, 5.0},
    };
    for (const auto& c : cases) {
        const InterpretedSystem s = systemOf(c.text);
        const double x[] = {0, 0}, p[1] = {};
        double du[2];
        s.tangent(x, p, c.u.data(), du, 1);
        EXPECT_EQ(du[0], c.expected) << c.text;
    }
}
