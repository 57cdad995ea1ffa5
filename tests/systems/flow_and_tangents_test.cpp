// The flows that give their flow and the tangents of all vectors in one
// call (`flowAndTangents`): each value the double `flow` and `tangent` give
// alone, sincos the doubles of sin and cos, and the engine's results with
// the hook those without it, bit for bit, on every path and number of
// exponents.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <random>
#include <vector>

#include "dissipative_flows.h"
#include "double_bits.h"
#include "lorenz96.h"
#include "one_vector_at_a_time.h"
#include "system_exponents.h"

namespace veltrano {
namespace {

static_assert(HasFlowAndTangents<ThomasSystem, double>);
static_assert(HasFlowAndTangents<Lorenz96System, double>);
static_assert(!HasFlowAndTangents<testing::OneVectorAtATime<ThomasSystem>, double>);
static_assert(!HasFlowAndTangents<LorenzSystem, double>);

typedef double Pair __attribute__((vector_size(16)));

// For k vectors of random components at random states (two lanes that
// differ), `flowAndTangents` against `flow` and `tangent` on each vector
// with the stride k; every value is written (NaN markers before).
template <class System>
void expectTheFlowAndEachTangent(const System& system, const std::vector<double>& parameters,
                                 const std::vector<std::size_t>& counts) {
    const std::size_t d = system.dimension();
    std::mt19937_64 random(2718);
    std::uniform_real_distribution<double> spread(-4, 4);
    std::vector<Pair> p(parameters.size());
    for (std::size_t i = 0; i < p.size(); ++i) p[i] = Pair{parameters[i], parameters[i]};
    for (int trial = 0; trial < 20; ++trial) {
        std::vector<Pair> x(d);
        for (Pair& v : x) v = Pair{spread(random), spread(random)};
        for (const std::size_t k : counts) {
            std::vector<Pair> u(d * k), flowAll(d, Pair{NAN, NAN}), flowAlone(d, Pair{NAN, NAN});
            std::vector<Pair> all(d * k, Pair{NAN, NAN}), each(d * k, Pair{NAN, NAN});
            for (Pair& v : u) v = Pair{spread(random), spread(random)};
            system.flowAndTangents(x.data(), p.data(), flowAll.data(), u.data(), all.data(), k);
            system.flow(x.data(), p.data(), flowAlone.data());
            for (std::size_t j = 0; j < k; ++j) system.tangent(x.data(), p.data(), &u[j], &each[j], k);
            for (int lane = 0; lane < 2; ++lane) {
                for (std::size_t i = 0; i < d; ++i)
                    EXPECT_EQ(bits(flowAll[i][lane]), bits(flowAlone[i][lane]))
                        << "d = " << d << ", k = " << k << ", flow " << i << ", lane " << lane;
                for (std::size_t i = 0; i < d * k; ++i)
                    EXPECT_EQ(bits(all[i][lane]), bits(each[i][lane]))
                        << "d = " << d << ", k = " << k << ", component " << i / k << " of vector " << i % k
                        << ", lane " << lane << ": " << all[i][lane] << " vs " << each[i][lane];
            }
        }
    }
}

TEST(FlowAndTangents, AreTheFlowAndTheTangentOfEachVector) {
    expectTheFlowAndEachTangent(ThomasSystem{}, {0.208186}, {1, 2, 3});
    for (const std::size_t d : {4, 5, 17, 64}) expectTheFlowAndEachTangent(Lorenz96System(d), {8.0}, {1, 3, d});
}

// sincos against sin and cos, on a double and on lanes: arguments near
// zero, around the ends of each range of the library's reductions, and
// spread over many turns.
TEST(FlowAndTangents, SineAndCosineAreSinAndCos) {
    std::vector<double> arguments{0.0, -0.0, 1e-300, 1e-9, 0.855469, 2.426265, M_PI, 1e5, 105414350, 1e300};
    std::mt19937_64 random(161803);
    std::uniform_real_distribution<double> turns(-60, 60), small(-3, 3);
    for (int i = 0; i < 100000; ++i) arguments.push_back(i % 2 ? turns(random) : small(random));
    for (const double v : std::vector<double>(arguments)) arguments.push_back(std::ldexp(v, -30));
    for (const double v : arguments) {
        double s, c;
        sineAndCosine(v, s, c);
        Pair sl, cl;
        sineAndCosine(Pair{v, -v}, sl, cl);
        ASSERT_EQ(bits(std::array{s, c, sl[0], cl[0], sl[1], cl[1]}),
                  bits(std::array{std::sin(v), std::cos(v), s, c, std::sin(-v), c})) << v;
    }
}

// The engine over `system` and over the same flow with `flowAndTangents` hidden:
// the same results on every path.
template <class System>
void expectTheHookChangesNothing(const System& system, SystemSettings settings,
                                 const std::vector<ParametersOf<System>>& points) {
    const testing::OneVectorAtATime<System> hidden{system};
    for (const SimdPath path : availablePaths()) {
        std::vector<ResultOf<System>> with(points.size()), without(points.size());
        runSystemPoints<System>(path, system, settings, points, with);
        runSystemPoints<testing::OneVectorAtATime<System>>(path, hidden, settings, points, without);
        for (std::size_t i = 0; i < points.size(); ++i) {
            EXPECT_TRUE(with[i].completed);
            EXPECT_EQ(with[i], without[i]) << pathName(path) << ", d = " << system.dimension()
                                           << ", k = " << settings.exponents << ", point " << i;
        }
    }
}

TEST(FlowAndTangents, TheEngineGivesTheSameWithAndWithoutTheHook) {
    std::vector<ParametersOf<ThomasSystem>> bs;
    for (int i = 0; i < 5; ++i) bs.push_back({0.17 + 0.01 * i});
    for (const std::size_t k : {1, 2, 3})
        expectTheHookChangesNothing(
            ThomasSystem{},
            {.intervals = 150, .transient = 20, .initial = {0.1, 0, 0}, .exponents = k, .errors = true, .batch = 10},
            bs);
    const std::vector<ParametersOf<Lorenz96System>> forcings{{6}, {8}, {9.5}};
    for (const auto& [d, k] : {std::pair<std::size_t, std::size_t>{4, 1}, {5, 5}, {9, 3}, {9, 9}}) {
        SystemSettings s{.intervals = 100, .transient = 10, .initial = std::vector<double>(d, 8.0), .exponents = k};
        s.initial[0] = 8.01;
        expectTheHookChangesNothing(Lorenz96System(d), s, forcings);
    }
}

}  // namespace
}  // namespace veltrano
