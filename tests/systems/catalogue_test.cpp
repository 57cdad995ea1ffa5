// The catalogue of flows, one table over every flow: descriptions against
// the compiled structs, the hand-written tangents against the fields, the
// equation texts against the fields, and the spectra of an independent plain
// computation against the structure every flow must show and against the
// published values.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>

#include "double_bits.h"
#include "expression_value.h"
#include "plain_lyapunov.h"
#include "system_exponents.h"
#include "system_status.h"
#include "visit_system.h"

namespace veltrano {
namespace {

struct Case {
    std::string name;
    std::size_t dimension;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name << " in dimension " << c.dimension;
}

std::vector<Case> catalogueCases(bool otherDimensions = true) {
    std::vector<Case> cases;
    for (const SystemDescription& s : allSystems()) cases.push_back({s.name, s.dimension});
    // The chosen dimension at its ends and between.
    if (otherDimensions)
        for (std::size_t d : {4, 17, 64}) cases.push_back({"lorenz96", d});
    return cases;
}

// What the spectrum of each flow at its defaults must show beyond the sum
// rule: how many exponents vanish (the flow's own direction; for
// Hénon-Heiles the energy's too), whether they come in pairs of opposite
// sign (Hamiltonian), whether they sum to zero (conservative on average).
struct Structure {
    int zeros = 1;
    bool pairs = false;
    bool sumZero = false;
};

// The flows not listed have the default structure.
const std::map<std::string, Structure> kStructure = {
    {"nose-hoover", {1, false, true}},
    {"henon-heiles", {2, true, true}},
};

std::vector<double> defaults(const SystemDescription& s) {
    std::vector<double> p;
    for (const ParameterDescription& q : s.parameters) p.push_back(q.value);
    return p;
}

class Catalogue : public ::testing::TestWithParam<Case> {
protected:
    void SetUp() override {
        const std::optional<SystemDescription> found = findSystem(GetParam().name, GetParam().dimension);
        ASSERT_TRUE(found);
        description = *found;
    }
    // Calls check(system) with the compiled flow; fails if there is none.
    template <class Check>
    void visit(Check&& check) {
        EXPECT_TRUE(visitSystem(GetParam().name, GetParam().dimension, check));
    }
    SystemDescription description;
};

TEST_P(Catalogue, DescriptionMatchesTheCompiledFlow) {
    const SystemDescription& s = description;
    visit([&](const auto& system) {
        using System = std::decay_t<decltype(system)>;
        EXPECT_EQ(System::kParameters, s.parameters.size());
        EXPECT_EQ(System::kDimension, s.dimensionChoice ? 0U : s.dimension);
        EXPECT_EQ(system.dimension(), s.dimension);
        for (const PublishedSpectrum& p : s.spectra) {
            EXPECT_EQ(p.exponents.size(), s.dimension);
            EXPECT_EQ(p.parameters.size(), System::kParameters);
            EXPECT_EQ(p.start.size(), s.dimension);
            EXPECT_FALSE(p.source.empty());
            EXPECT_TRUE(std::is_sorted(p.exponents.rbegin(), p.exponents.rend()));
        }
    });
    EXPECT_EQ(s.variables.size(), s.dimension);
    EXPECT_EQ(s.start.size(), s.dimension);
    ASSERT_EQ(s.equations.size(), s.dimension);
    std::set<std::string> names;
    for (std::size_t i = 0; i < s.dimension; ++i) {
        names.insert(s.variables[i]);
        EXPECT_EQ(s.equations[i].rfind(s.variables[i] + "' = ", 0), 0U) << s.equations[i];
    }
    for (const ParameterDescription& p : s.parameters) {
        names.insert(p.name);
        EXPECT_LE(p.lowest, p.value) << p.name;
        EXPECT_LE(p.value, p.highest) << p.name;
    }
    EXPECT_EQ(names.size(), s.variables.size() + s.parameters.size()) << "a name is used twice";
    EXPECT_EQ(names.count("sin") + names.count("cos"), 0U);
    EXPECT_EQ(s.name, GetParam().name);
    EXPECT_FALSE(s.title.empty() || s.summary.empty() || s.source.empty());
}

// At random states around the start: the equation texts, read in their own
// order, give the field's doubles; the tangent is the central difference of
// the field; the field, the tangent and the divergence on packed pairs of
// lanes are those on doubles (bit for bit, lane by lane). The divergence is
// the trace by the sum rule of every spectrum (DefaultPointIsOk,
// HasItsStructureAndPublishedValues).
//
// Differences with h = 1e-6 have a rounding error near 1e-16 |f| / h =
// 1e-10 |f| and a truncation error h^2 |f'''| / 6 below 1e-11 for these
// polynomial and trigonometric fields on states within a few units of
// the start; the tolerance 1e-6 (|Ju| + |f| + 1) leaves a margin of a
// thousand and still catches any wrong coefficient or term, whose error is
// of the order of the term.
TEST_P(Catalogue, TextAndTangentAreTheFieldOnDoublesAndLanes) {
    typedef double Pair __attribute__((vector_size(16)));
    const SystemDescription& s = description;
    const std::vector<double> p = defaults(s);
    const double* pp = p.data();
    std::mt19937_64 random(1729);
    std::uniform_real_distribution<double> unitSpread(-1, 1), spread(-3, 3);
    visit([&](const auto& system) {
        const std::size_t d = system.dimension();
        for (int k = 0; k < 10; ++k) {
            std::vector<double> x = s.start, u(d), plus(d), minus(d), xp(d), xm(d), f(d);
            for (double& v : x) v += spread(random);
            for (double& v : u) v = unitSpread(random);
            const double h = 1e-6;
            for (std::size_t i = 0; i < d; ++i) {
                xp[i] = x[i] + h * u[i];
                xm[i] = x[i] - h * u[i];
            }
            system.flow(xp.data(), pp, plus.data());
            system.flow(xm.data(), pp, minus.data());
            system.flow(x.data(), pp, f.data());
            std::map<std::string, double> names;
            for (std::size_t i = 0; i < d; ++i) names[s.variables[i]] = x[i];
            for (std::size_t i = 0; i < p.size(); ++i) names[s.parameters[i].name] = p[i];
            for (std::size_t i = 0; i < d; ++i) {
                const std::string& line = s.equations[i];
                const double text = plain::expressionValue(line.substr(line.find('=') + 1), names);
                EXPECT_EQ(bits(text), bits(f[i])) << line << ": " << text << " vs " << f[i];
            }
            // The vector with stride 3, a marker between its components.
            const std::size_t stride = 3;
            std::vector<double> us(d * stride, 7.5), dus(d * stride, 7.5);
            for (std::size_t i = 0; i < d; ++i) us[i * stride] = u[i];
            system.tangent(x.data(), pp, us.data(), dus.data(), stride);
            for (std::size_t i = 0; i < d; ++i) {
                const double jvp = dus[i * stride], difference = (plus[i] - minus[i]) / (2 * h);
                EXPECT_NEAR(jvp, difference, 1e-6 * (std::abs(jvp) + std::abs(f[i]) + 1)) << "component " << i;
                EXPECT_EQ(dus[i * stride + 1], 7.5);
            }
            // Lane 0 this state, lane 1 the state plus the direction.
            std::vector<Pair> xl(d), ul(d), fl(d), dul(d), pl(p.size());
            for (std::size_t i = 0; i < d; ++i) {
                xl[i] = Pair{x[i], x[i] + u[i]};
                ul[i] = Pair{u[i], -u[i]};
            }
            for (std::size_t i = 0; i < p.size(); ++i) pl[i] = Pair{p[i], p[i]};
            system.flow(xl.data(), pl.data(), fl.data());
            system.tangent(xl.data(), pl.data(), ul.data(), dul.data(), 1);
            const Pair divergence = system.divergence(xl.data(), pl.data());
            for (int lane = 0; lane < 2; ++lane) {
                std::vector<double> xs(d), us1(d), fs(d), dus1(d);
                for (std::size_t i = 0; i < d; ++i) {
                    xs[i] = xl[i][lane];
                    us1[i] = ul[i][lane];
                }
                system.flow(xs.data(), pp, fs.data());
                system.tangent(xs.data(), pp, us1.data(), dus1.data(), 1);
                for (std::size_t i = 0; i < d; ++i) {
                    EXPECT_EQ(bits(fs[i]), bits(fl[i][lane]));
                    EXPECT_EQ(bits(dus1[i]), bits(dul[i][lane]));
                }
                EXPECT_EQ(bits(system.divergence(xs.data(), pp)), bits(divergence[lane]));
            }
        }
    });
}

// Every flow at its defaults, with the full spectrum and with one
// exponent, is a point the engine calls ok: none inconsistent.
TEST_P(Catalogue, DefaultPointIsOk) {
    const SystemDescription& s = description;
    visit([&](const auto& system) {
        for (const std::size_t k : {system.dimension(), std::size_t{1}}) {
            const SystemSettings settings{.intervals = 500, .transient = 100, .initial = s.start, .exponents = k};
            ParametersOf<std::decay_t<decltype(system)>> p{};
            for (std::size_t i = 0; i < p.size(); ++i) p[i] = s.parameters[i].value;
            const auto r = runSystemPoint(system, settings, p);
            EXPECT_EQ(statusOfPoint(system, r, p.data(), settings), PointStatus::Ok)
                << k << " exponents, gap " << divergenceGap(r);
        }
    });
}

// The plain computation at the defaults: a chaotic flow (the largest
// exponent positive beyond its 95 % half-width), the exponents summing to
// the time average of the divergence, the zero exponents, the pairs and
// the zero sum where the structure table asks for them; then every
// published spectrum at its own parameters and start.
//
// The sum and the divergence come from the same trajectory and differ only
// by the RK4 error of the tangent vectors' volume, of the order of
// (h |lambda|)^5 / 120 per step for each exponent: below 1e-4 of the sum of
// |lambda| at h = 0.01 for these flows (measured: at most 3e-5).
// Run at the default dimension only: the spectra of the other dimensions
// would take long and add no rule.
class CatalogueSpectrum : public Catalogue {};

TEST_P(CatalogueSpectrum, HasItsStructureAndPublishedValues) {
    const SystemDescription& s = description;
    const Structure structure = kStructure.count(s.name) ? kStructure.at(s.name) : Structure{};
    visit([&](const auto& system) {
        const std::size_t d = system.dimension();
        const plain::Spectrum r = plain::spectrum(system, s.start, defaults(s), {200, 8000, 20});
        ASSERT_TRUE(r.finite);
        std::vector<double> lambda(d), halfWidth(d);
        double absolute = 0;
        for (std::size_t k = 0; k < d; ++k) {
            lambda[k] = r.exponent(k);
            halfWidth[k] = r.exponentHalfWidth(k);
            absolute += std::abs(lambda[k]);
        }
        EXPECT_GT(lambda[0], halfWidth[0]) << "not chaotic";
        std::vector<double> sumMinusDivergence(d + 1, 1.0), sum(d + 1, 1.0);
        sumMinusDivergence[d] = -1;
        sum[d] = 0;
        EXPECT_LE(std::abs(r.mean(sumMinusDivergence)), r.halfWidth(sumMinusDivergence) + 1e-4 * absolute);
        if (structure.sumZero) {
            EXPECT_LE(std::abs(r.mean(sum)), r.halfWidth(sum) + 1e-4 * absolute);
        }
        // The exponents nearest zero, in order: one after the positive ones.
        for (int z = 0; z < structure.zeros; ++z) {
            const std::size_t k = 1 + static_cast<std::size_t>(z);
            EXPECT_LE(std::abs(lambda[k]), halfWidth[k]) << "exponent " << k;
        }
        if (structure.pairs) {
            for (std::size_t k = 0; k < d / 2; ++k) {
                std::vector<double> pair(d + 1, 0.0);
                pair[k] = pair[d - 1 - k] = 1;
                EXPECT_LE(std::abs(r.mean(pair)), r.halfWidth(pair)) << "pair " << k;
            }
        }
        // A published spectrum holds to one unit of its last digit (the
        // authors' last digit is a best estimate) plus the 95 % half-width
        // of a run long enough to bring that near the published precision.
        for (const PublishedSpectrum& published : s.spectra) {
            const plain::Spectrum q = plain::spectrum(system, published.start, published.parameters, {200, 40000, 20});
            ASSERT_TRUE(q.finite);
            const double digit = std::pow(10.0, -published.decimals);
            for (std::size_t k = 0; k < d; ++k)
                EXPECT_NEAR(q.exponent(k), published.exponents[k], digit + q.exponentHalfWidth(k))
                    << "exponent " << k << " of " << published.source;
        }
    });
}

std::string caseName(const ::testing::TestParamInfo<Case>& info) {
    std::string name = info.param.name + "_" + std::to_string(info.param.dimension);
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
    return name;
}

INSTANTIATE_TEST_SUITE_P(Flows, Catalogue, ::testing::ValuesIn(catalogueCases()), caseName);
INSTANTIATE_TEST_SUITE_P(Flows, CatalogueSpectrum, ::testing::ValuesIn(catalogueCases(false)), caseName);

// Unknown names and dimensions a flow cannot take find nothing and visit
// nothing.
TEST(CatalogueLookup, RefusesWhatIsNotThere) {
    const std::vector<std::pair<std::string, std::size_t>> refused = {
        {"", 3},         {"Lorenz", 3},     {"lorenz ", 3},  {"lorenz", 4}, {"lorenz", 0}, {"henon-heiles", 3},
        {"lorenz96", 3}, {"lorenz96", 65}, {"lorenz96", 0},
    };
    for (const auto& [name, dimension] : refused) {
        EXPECT_FALSE(findSystem(name, dimension)) << name << " " << dimension;
        bool called = false;
        EXPECT_FALSE(visitSystem(name, dimension, [&](const auto&) { called = true; }));
        EXPECT_FALSE(called);
    }
    std::set<std::string> names;
    for (const SystemDescription& s : allSystems()) names.insert(s.name);
    EXPECT_EQ(names.size(), allSystems().size()) << "a name is used twice";
    EXPECT_EQ(names.size(), 16U);
    for (const auto& [name, structure] : kStructure) EXPECT_TRUE(names.count(name)) << name;
}

// The text of a flow: equations, parameters, start, values that read back.
TEST(CatalogueLookup, EquationTextListsParametersAndStart) {
    const std::vector<std::string> lorenz = equationText(*findSystem("lorenz"));
    const std::vector<std::string> expected = {
        "x' = sigma*(y - x)",     "y' = R*x - y - x*z", "z' = -b*z + x*y", "sigma = 10", "R = 28",
        "b = 2.6666666666666665", "x(0) = 1",           "y(0) = 1",        "z(0) = 1"};
    EXPECT_EQ(lorenz, expected);
    const std::vector<std::string> ring = equationText(*findSystem("lorenz96", 4));
    EXPECT_EQ(ring[5], "x1(0) = 8.01");
}

}  // namespace
}  // namespace veltrano
