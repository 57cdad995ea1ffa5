#include "gram_schmidt.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

using namespace veltrano;

namespace {

double dot(const StateVector& s, std::size_t a, std::size_t b) {
    double sum = 0;
    for (std::size_t c = 0; c < 3; ++c) sum += s[tangentIndex(c, a)] * s[tangentIndex(c, b)];
    return sum;
}

double determinant(const StateVector& s) {
    auto m = [&](std::size_t c, std::size_t j) { return s[tangentIndex(c, j)]; };
    return m(0, 0) * (m(1, 1) * m(2, 2) - m(1, 2) * m(2, 1)) - m(0, 1) * (m(1, 0) * m(2, 2) - m(1, 2) * m(2, 0)) +
           m(0, 2) * (m(1, 0) * m(2, 1) - m(1, 1) * m(2, 0));
}

}  // namespace

TEST(GramSchmidt, RandomVectorsBecomeOrthonormalKeepingTheFirstDirectionAndTheVolume) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> u(-50, 50);
    for (int trial = 0; trial < 200; ++trial) {
        StateVector s{};
        for (double& v : s) v = u(rng);
        const StateVector before = s;
        Triple norms{}, proj{};
        ASSERT_TRUE(orthonormalise(s, norms, proj));

        for (std::size_t a = 0; a < 3; ++a)
            for (std::size_t b = 0; b < 3; ++b) EXPECT_NEAR(dot(s, a, b), a == b ? 1.0 : 0.0, 1e-9);
        for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(s[i], before[i]) << "coordinates are never normalised";
        EXPECT_DOUBLE_EQ(norms[0], std::sqrt(dot(before, 0, 0)));
        for (std::size_t c = 0; c < 3; ++c)
            EXPECT_NEAR(s[tangentIndex(c, 0)], before[tangentIndex(c, 0)] / norms[0], 1e-15);
        // The lengths of the orthogonalised vectors multiply to the volume.
        EXPECT_NEAR(norms[0] * norms[1] * norms[2], std::abs(determinant(before)),
                    1e-9 * std::abs(determinant(before)));
        EXPECT_NEAR(proj[0], dot(before, 0, 2) / norms[0], 1e-9 * (1 + std::abs(proj[0])));
    }
}

TEST(GramSchmidt, FaultsLeaveEverythingUntouched) {
    const struct {
        const char* what;
        StateVector state;
    } cases[] = {
        {"zero third vector: 0 / 0", {1, 2, 3, 1, 0, 0, 0, 1, 0, 0, 0, 0}},
        {"squares beyond the double range", {0, 0, 0, 1e160, 0, 0, 0, 1, 0, 0, 0, 1}},
    };
    for (const auto& c : cases) {
        StateVector s = c.state;
        Triple norms = {7, 8, 9}, proj = {4, 5, 6};
        EXPECT_FALSE(orthonormalise(s, norms, proj)) << c.what;
        EXPECT_EQ(s, c.state) << c.what;
        EXPECT_EQ(norms, (Triple{7, 8, 9})) << c.what;
        EXPECT_EQ(proj, (Triple{4, 5, 6})) << c.what;
    }
}
