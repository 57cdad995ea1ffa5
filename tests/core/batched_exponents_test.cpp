#include "batched_exponents.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>

#include "exponents.h"
#include "recording_reporter.h"

using namespace veltrano;

namespace {

PointResult single(std::int16_t n, const FlowParameters& p) {
    Spectrum spectrum;
    RecordingReporter reporter;
    const bool completed = spectrum.run({n, p.sv, p.rv, p.bv}, reporter);
    return completed ? PointResult{true, spectrum.t(), spectrum.expo()} : PointResult{false, spectrum.t(), {}};
}

// Equal to the last bit, signs of zero included.
void expectSameBits(const PointResult& got, const PointResult& want) {
    EXPECT_EQ(got.completed, want.completed);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got.t), std::bit_cast<std::uint64_t>(want.t));
    for (std::size_t k = 0; k < 3; ++k)
        EXPECT_EQ(std::bit_cast<std::uint64_t>(got.expo[k]), std::bit_cast<std::uint64_t>(want.expo[k])) << k;
}

}  // namespace

// Lanes of one batch that end differently (faults at different steps and
// intervals, in the flow or in the reorthonormalisation, beside points that
// complete) must each give exactly what the single run gives, on every
// instruction set this processor has.
TEST(BatchSpectrum, EveryLaneIsBitForBitTheSingleRunOnEveryPath) {
    std::mt19937_64 rng(8);
    std::uniform_real_distribution<double> moderate(-2, 2.6), extreme(-300, 300), mantissa(1, 10);
    std::bernoulli_distribution negative(0.3), wild(0.15);
    const auto draw = [&] {
        const double e = wild(rng) ? extreme(rng) : moderate(rng);
        return (negative(rng) ? -1 : 1) * mantissa(rng) * std::pow(10.0, e);
    };
    for (const std::int16_t n : {1, 7, 30}) {
        std::vector<FlowParameters> points;
        for (int i = 0; i < 61; ++i) points.push_back({draw(), draw(), draw()});  // not a whole number of batches
        points.push_back({300, 28, 2.6667});  // stops after some steps
        points.push_back({10, 28, 2.6667});
        // These stop in the reorthonormalisation of the first interval.
        points.push_back({4.3037457386239693, 81.013903989996962, -69.208275327631839});
        points.push_back({-52.869001188976796, -3.2124292861846202, 6.806045769197155});
        points.push_back({-3.933130571921347, 21973.867258288792, -4.0756466481342457});
        std::vector<PointResult> want;
        int stopped = 0;
        for (const auto& p : points) {
            want.push_back(single(n, p));
            stopped += !want.back().completed;
        }
        EXPECT_GT(stopped, 5);
        EXPECT_LT(stopped, static_cast<int>(points.size()) - 5);
        for (SimdPath path : availablePaths()) {
            SCOPED_TRACE(testing::Message() << pathName(path) << " n=" << n);
            std::vector<PointResult> got(points.size());
            runPoints(path, n, points, got);
            for (std::size_t i = 0; i < points.size(); ++i) {
                SCOPED_TRACE(testing::Message() << "sigma=" << points[i].sv << " R=" << points[i].rv
                                                << " b=" << points[i].bv);
                expectSameBits(got[i], want[i]);
            }
        }
    }
}
