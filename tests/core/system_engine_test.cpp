#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <string>
#include <type_traits>
#include <vector>

#include "double_bits.h"
#include "example_systems.h"
#include "flow_system.h"
#include "kaplan_yorke.h"
#include "system_exponents.h"
#include "system_status.h"

using namespace veltrano;
using examples::Lorenz96;
using examples::Roessler;

namespace {

// The k estimates, and their half-widths where known, to the last bit.
template <std::size_t N, std::size_t M>
void expectSameLeading(const SystemResult<N>& got, const SystemResult<M>& full, std::size_t k) {
    ASSERT_EQ(got.completed, full.completed);
    EXPECT_EQ(bits(got.t), bits(full.t));
    EXPECT_EQ(got.intervals, full.intervals);
    EXPECT_EQ(got.errorsKnown, full.errorsKnown);
    ASSERT_EQ(got.exponents, k);
    for (std::size_t j = 0; j < k; ++j) {
        EXPECT_EQ(bits(got.expo[j]), bits(full.expo[j])) << "lambda" << j + 1;
        EXPECT_EQ(bits(got.halfWidth[j]), bits(full.halfWidth[j])) << "lambda" << j + 1;
    }
    EXPECT_EQ(bits(got.meanDivergence), bits(full.meanDivergence));
}

}  // namespace

// Gram-Schmidt gives vector j what vectors 0..j-1 leave it, and each
// tangent vector moves alone along the same orbit: the first k exponents
// (and error bars) of a run with k vectors are those of the full spectrum
// to the last bit, whether k is known when compiling (every k of Lorenz
// and Roessler, each its own copy of the engine) or counted at run time
// (Lorenz-96). Every path gives the same.
TEST(SystemEngine, TheFirstKExponentsAreThoseOfTheFullSpectrum) {
    const SystemSettings base{.intervals = 120, .transient = 5, .initial = {1, 1, 1}, .errors = true, .batch = 10};
    const auto run = [&](const auto& system, SystemSettings s, std::size_t k, const auto& p, SimdPath path) {
        s.exponents = k;
        if (s.initial.size() != system.dimension()) s.initial.assign(system.dimension(), 0.5), s.initial[0] = 1.5;
        using System = std::decay_t<decltype(system)>;
        std::vector<ResultOf<System>> results(3);
        const std::vector<ParametersOf<System>> points(3, p);
        runSystemPoints<System>(path, system, s, points, results);
        EXPECT_EQ(results[0], results[2]) << "a point depends on its lane";
        return results[0];
    };
    for (SimdPath path : availablePaths()) {
        SCOPED_TRACE(pathName(path));
        // The full spectrum, then fewer vectors, and the narrowest lanes.
        const auto check = [&](const auto& system, const auto& p, std::initializer_list<std::size_t> fewer) {
            const std::size_t d = system.dimension();
            const auto full = run(system, base, d, p, path);
            EXPECT_TRUE(full.completed && full.errorsKnown);
            for (std::size_t k : fewer) expectSameLeading(run(system, base, k, p, path), full, k);
            if (path != SimdPath::Lanes128) expectSameLeading(full, run(system, base, d, p, SimdPath::Lanes128), d);
            return full;
        };
        check(LorenzSystem{}, ParametersOf<LorenzSystem>{10, 28, 2.6667}, {1, 2});
        check(Roessler{}, ParametersOf<Roessler>{0.2, 0.2, 5.7}, {1, 2});
        EXPECT_GT(check(Lorenz96{8}, ParametersOf<Lorenz96>{8}, {1, 3, 7}).expo[0], 0.5) << "chaotic at F = 8";
    }
}

// By Liouville, the sum of all d exponents is the mean divergence along
// the orbit; what separates the two numbers the engine reports is the
// integrator's error in ln|det M| per unit of time (the divergence's own
// quadrature errors telescope: over a long run they are end terms over t).
// With RK4 each eigenvalue mu of the Jacobian moves ln|det| by about
// (h mu)^5 / 120 per step, so the gap shrinks as h^4: halving h divides it
// by about 16, where a step of lower order would divide it by 4 or 2. Its
// size: with rates up to L = 15 on these attractors (|x - c| in the
// Roessler spikes, |x| on the Lorenz-96 ring at F = 8),
// (h L)^5 / (120 h) = 6.3e-5 per unit of time at h = 0.01, the tolerance
// (the runs here give a few 1e-6). Lorenz-96's trace is -d everywhere, and
// with d = 1 (x' = -x + F) its one exponent is -1.
TEST(SystemEngine, TheExponentsAddUpToTheMeanDivergence) {
    std::vector<double> gaps;
    for (const double h : {0.02, 0.01}) {
        const SystemSettings s{.intervals = static_cast<std::int64_t>(std::lround(25 / h)),
                               .transient = 50,
                               .initial = {1, 1, 1},
                               .exponents = 3,
                               .step = h};
        const auto r = runSystemPoint(Roessler{}, s, {0.2, 0.2, 5.7});
        ASSERT_TRUE(r.completed);
        EXPECT_GT(r.expo[0], 0.05) << "the Roessler attractor is chaotic";
        EXPECT_LT(r.meanDivergence, -4) << "mostly near the plane z = 0, where the trace is a - c + x";
        gaps.push_back(divergenceGap(r));
    }
    constexpr double kTolerance = 6.3e-5;
    EXPECT_LT(gaps[1], kTolerance);
    EXPECT_GT(gaps[0] / gaps[1], 10.0);
    EXPECT_LT(gaps[0] / gaps[1], 24.0);

    for (const std::size_t d : {1u, 5u, 12u}) {
        SCOPED_TRACE(d);
        SystemSettings s{.intervals = 300, .transient = 20, .initial = std::vector<double>(d, 8.0), .exponents = d};
        s.initial[0] = 8.01;
        const auto r = runSystemPoint(Lorenz96{d}, s, {8});
        ASSERT_TRUE(r.completed);
        EXPECT_NEAR(r.meanDivergence, -static_cast<double>(d), 1e-12 * static_cast<double>(d));
        EXPECT_LT(divergenceGap(r), kTolerance);
        if (d == 1) { EXPECT_NEAR(r.expo[0], -1, 1e-9); }
    }
}

// The status of a point of any flow: the gap between the sum and the mean
// divergence against a thousandth of the spectrum's scale (|divergence| +
// the sum of |lambda|, here 10.78), checked only with the full spectrum;
// Lorenz keeps its own bound (trace_check.h).
TEST(SystemStatus, TheSumAgainstTheDivergence) {
    const double nan = std::nan("");
    struct Row {
        const char* what;
        bool completed;
        double t;
        std::vector<double> expo;
        PointStatus expected;
    };
    const std::vector<Row> rows = {
        {"gap under the tolerance", true, 100, {0.07, 0.0, -5.381}, PointStatus::Ok},
        {"gap over the tolerance", true, 100, {0.07, 0.0, -5.378}, PointStatus::Inconsistent},
        {"gap below zero too", true, 100, {0.07, 0.0, -5.402}, PointStatus::Inconsistent},
        {"not a number", true, 100, {0.07, nan, -5.39}, PointStatus::Inconsistent},
        {"a partial sum is not checked", true, 100, {0.07, 0.0}, PointStatus::Ok},
        {"nothing measured", true, 0, {0.07, 0.0, -1}, PointStatus::Ok},
        {"a fault", false, 100, {0.07, 0.0, -5.39}, PointStatus::Error},
    };
    for (const Row& row : rows)
        EXPECT_EQ(systemStatus(row.completed, row.t, row.expo, -5.32, 3, 0.01, 20), row.expected) << row.what;

    // Lorenz's bound on its Jacobian allows 0.05 here, a thousandth of the
    // scale does not: each flow takes its own rule.
    SystemResult<3> lorenz{.completed = true, .t = 100, .exponents = 3, .expo = {0.9, 0.0, -14.6167}};
    lorenz.meanDivergence = -41.0 / 3;
    const SystemSettings s{.intervals = 500, .initial = {1, 1, 1}, .exponents = 3};
    const double p[] = {10, 28, 8.0 / 3};
    EXPECT_EQ(statusOfPoint(LorenzSystem{}, lorenz, p, s), PointStatus::Ok);
    EXPECT_EQ(statusOfPoint(Roessler{}, lorenz, p, s), PointStatus::Inconsistent);
    lorenz.expo[2] -= 1;
    EXPECT_EQ(statusOfPoint(LorenzSystem{}, lorenz, p, s), PointStatus::Inconsistent);
}

// Settings the engine cannot run are refused before any work, saying what
// is wrong; a stop that has come before the start leaves every result as
// it was.
TEST(SystemEngine, RefusesWhatItCannotRun) {
    const SystemSettings good{.intervals = 5, .initial = {1, 1, 1, 1}, .exponents = 2};
    const struct {
        const char* name;
        std::size_t d;
        SystemSettings settings;
        std::size_t results;
        const char* says;
    } cases[] = {
        {"no sites", 0, {.intervals = 5, .initial = {}, .exponents = 1}, 1, "dimension must be from 1 to 64, not 0"},
        {"too many sites", 65, {.intervals = 5, .initial = std::vector<double>(65, 1.0), .exponents = 2}, 1, "not 65"},
        {"no exponents", 4, {.intervals = 5, .initial = {1, 1, 1, 1}, .exponents = 0}, 1, "exponents must be from 1 to the dimension 4, not 0"},
        {"more exponents than sites", 4, {.intervals = 5, .initial = {1, 1, 1, 1}, .exponents = 5}, 1, "not 5"},
        {"a short starting point", 4, {.intervals = 5, .initial = {1, 1, 1}, .exponents = 2}, 1, "must have 4 coordinates, not 3"},
        {"a starting point at infinity", 4, {.intervals = 5, .initial = {1, 1, HUGE_VAL, 1}, .exponents = 2}, 1, "finite"},
        {"empty batches", 4, {.intervals = 5, .initial = {1, 1, 1, 1}, .exponents = 2, .errors = true, .batch = 0}, 1, "at least one interval, not 0"},
        {"fewer results than points", 4, good, 0, "a result for each of the 1 points, not 0"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<ResultOf<Lorenz96>> results(c.results);
        const std::vector<ParametersOf<Lorenz96>> points{{8}};
        try {
            runSystemPoints<Lorenz96>(SimdPath::Lanes128, Lorenz96{c.d}, c.settings, points, results);
            ADD_FAILURE() << "accepted";
        } catch (const std::invalid_argument& e) {
            EXPECT_NE(std::string(e.what()).find(c.says), std::string::npos) << e.what();
        }
        if (!results.empty()) { EXPECT_FALSE(results[0].completed); }
    }
    const std::atomic<bool> stop{true};
    std::vector<ResultOf<Lorenz96>> results(3);
    runSystemPoints<Lorenz96>(widestPath(), Lorenz96{4}, good, std::vector<ParametersOf<Lorenz96>>(3, {8}), results,
                              nullptr, &stop);
    for (const auto& r : results) EXPECT_EQ(r, ResultOf<Lorenz96>{});
}

// Over any number of exponents in any order; three through Lorenz's Triple too.
TEST(KaplanYorke, CountsTheDimensionsThatDoNotShrink) {
    const struct {
        std::vector<double> exponents;
        double dimension;
    } cases[] = {
        {{0.5, -1}, 1.5}, {{1, 0.5, -0.2, -3}, 3 + 1.3 / 3}, {{-3, 1, -0.2, 0.5}, 3 + 1.3 / 3}, {{0, -1, -1}, 1},
        {{1.7, 1.1, 0.9, 0.4, 0, -0.5, -1.2, -2.5}, 7 + 2.4 / 2.5}, {{0.3, 0.2}, 2}, {{}, 0},
        {{-0.1, -1, -2}, 0}, {{1, 0, -1}, 3}, {{-14.5723, 0.9056, 0}, 2 + 0.9056 / 14.5723}, {{2, -4, -5}, 1.5},
    };
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(kaplanYorke(c.exponents), c.dimension) << c.exponents.size();
        if (c.exponents.size() == 3) {
            EXPECT_DOUBLE_EQ(kaplanYorke(Triple{c.exponents[0], c.exponents[1], c.exponents[2]}), c.dimension);
        }
    }
}
