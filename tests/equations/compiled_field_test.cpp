#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

#include "compiled_system.h"
#include "double_bits.h"
#include "equation_text.h"
#include "field_program.h"
#include "flow_system.h"
#include "gcc_jit_library.h"
#include "interpreted_system.h"
#include "rk4_step.h"
#include "system_description.h"
#include "system_exponents.h"
#include "visit_system.h"

using namespace veltrano;
using namespace veltrano::equations;

namespace {

const char* const kLorenz =
    "# in the built-in's order of evaluation\n"
    "x' = sigma*(y - x)\ny' = R*x - y - x*z\nz' = -b*z + x*y\n"
    "sigma = 10; R = 28; b = 8/3\n";

// A flow of the catalogue as `veltrano-cli systems NAME` prints it.
std::string textOf(const SystemDescription& description) {
    std::string text;
    for (const std::string& line : equationText(description)) text.append(line).append("\n");
    return text;
}

// Every kind of instruction, and a vector of 64.
std::vector<std::string> texts() {
    return {kLorenz,
            "x' = sin(x)*cos(y) + tan(x*y)/(1 + x^2); y' = asin(x/9) - acos(y/9) + atan(x - y) + atan2(y, x)\n"
            "z' = sinh(z/5) - cosh(y/7)*tanh(x + y) + exp(-x*y/50) + log(1 + z*z) + sqrt(1 + x*x)\n"
            "w' = abs(x - y) + min(x, y)*max(z, w) - w^-3 + a*w^5; a = -0.25",
            textOf(*findSystem("lorenz96", 64))};
}

// A block of W points at scattered states, with k vectors.
std::vector<double> block(std::size_t values, std::uint64_t seed) {
    std::vector<double> v(values);
    for (double& x : v) {
        seed = seed * 6364136223846793005ull + 1442695040888963407ull;
        x = static_cast<double>(seed >> 11) * 0x1.0p-53 * 6 - 3;
    }
    return v;
}

}  // namespace

// The compiled step gives the doubles of rk4Step over the interpreter's
// field, every lane, for every lane width of this machine and any number of
// vectors: the state after the step and the divergence at each stage.
TEST(CompiledField, IsTheInterpreterBitForBit) {
    for (const std::string& text : texts()) {
        const Equations e = parseEquations(text);
        const auto program = std::make_shared<const FieldProgram>(compileProgram(e));
        const InterpretedSystem plain(program);
        const std::size_t d = e.dimension();
        const double h = 0.01;
        for (SimdPath path : availablePaths()) {
            const auto w = static_cast<std::size_t>(lanesOf(path));
            const CompiledSystem compiled(e, path);
            for (std::size_t k : {std::size_t{1}, d}) {
                const std::size_t n = d + d * k;
                const std::vector<double> s = block(n * w, d * 31 + k);
                const std::vector<double> p = block(kMaxParameters * w, 7);
                std::vector<double> next(s.size(), -1.0), slopes(4 * w, -1.0);
                compiled.stepLanes(static_cast<int>(w), s.data(), next.data(), p.data(), slopes.data(), h, k);
                for (std::size_t l = 0; l < w; ++l) {
                    std::vector<double> sl(n), pl(kMaxParameters), after(n);
                    for (std::size_t i = 0; i < n; ++i) sl[i] = s[i * w + l];
                    for (std::size_t i = 0; i < kMaxParameters; ++i) pl[i] = p[i * w + l];
                    std::array<std::vector<double>, 4> scratch;
                    scratch.fill(std::vector<double>(n));
                    double divergence[4];
                    int stage = 0;
                    rk4Step(
                        sl, after, h,
                        [&](const std::vector<double>& x, std::vector<double>& dx) {
                            plain.flow(x.data(), pl.data(), dx.data());
                            for (std::size_t j = 0; j < k; ++j)
                                plain.tangent(x.data(), pl.data(), x.data() + d + j, dx.data() + d + j, k);
                            divergence[stage++] = plain.divergence(x.data(), pl.data());
                        },
                        scratch);
                    for (std::size_t i = 0; i < n; ++i)
                        ASSERT_EQ(bits(next[i * w + l]), bits(after[i]))
                            << text << "\nW " << w << " k " << k << " lane " << l << " component " << i;
                    for (std::size_t m = 0; m < 4; ++m)
                        ASSERT_EQ(bits(slopes[m * w + l]), bits(divergence[m])) << text << " stage " << m;
                }
            }
        }
    }
}

// Lorenz typed in the built-in's order: the same trajectory to the last
// bit, step by step, and (the tangent derived, rounding its own way) the
// same exponents within 1e-12 relative at n = 10000, on every path.
TEST(CompiledField, TypedLorenzIsTheBuiltIn) {
    const Equations e = parseEquations(kLorenz);
    const SystemSettings settings{.intervals = 10000, .initial = e.initial, .exponents = 3};
    const ParametersOf<LorenzSystem> builtInPoint{10, 28, 8.0 / 3};
    const auto typedPoint = defaultParameters(e);

    std::vector<double> builtInPath;
    const auto recorder = [](std::vector<double>& into) {
        return [&into](double t, std::span<const double> x) {
            into.push_back(t);
            into.insert(into.end(), x.begin(), x.end());
        };
    };
    const SystemSettings shortRun{.intervals = 500, .initial = e.initial, .exponents = 2};  // k < d: a step shows all d
    const auto ignore = [](const auto&) {};
    (void)runSystemObserved(LorenzSystem{}, shortRun, builtInPoint, ignore, nullptr, recorder(builtInPath));
    ASSERT_EQ(builtInPath.size(), 500u * 20 * 4);

    // Code compiled for other lanes is refused, not run.
    std::vector<ResultOf<CompiledSystem>> refused(1);
    EXPECT_THROW(runSystemPoints(widestPath(), CompiledSystem(e, SimdPath::Lanes128), settings,
                                 std::span(&typedPoint, 1), std::span(refused)),
                 std::logic_error);

    // In the engine for any dimension and in the one for three variables.
    const auto check = [&]<class Typed>(std::type_identity<Typed>) {
        std::vector<double> typedPath;
        (void)runSystemObserved(Typed(e, SimdPath::Lanes128), shortRun, typedPoint, ignore, nullptr,
                                recorder(typedPath));
        ASSERT_EQ(typedPath.size(), builtInPath.size());
        for (std::size_t i = 0; i < typedPath.size(); ++i) ASSERT_EQ(bits(typedPath[i]), bits(builtInPath[i])) << i;

        for (SimdPath path : availablePaths()) {
            const std::vector<ParametersOf<LorenzSystem>> builtInPoints(5, builtInPoint);
            const std::vector<std::array<double, kMaxParameters>> typedPoints(5, typedPoint);
            std::vector<ResultOf<LorenzSystem>> builtIn(5);
            std::vector<ResultOf<Typed>> typed(5);
            runSystemPoints(path, LorenzSystem{}, settings, std::span(builtInPoints), std::span(builtIn));
            runSystemPoints(path, Typed(e, path), settings, std::span(typedPoints), std::span(typed));
            for (std::size_t i = 0; i < 5; ++i) {
                ASSERT_TRUE(typed[i].completed);
                EXPECT_EQ(bits(typed[i].t), bits(builtIn[i].t));
                for (std::size_t j = 0; j < 3; ++j)
                    EXPECT_LE(std::fabs(typed[i].expo[j] - builtIn[i].expo[j]), 1e-12 * std::fabs(builtIn[i].expo[j]))
                        << pathName(path) << " lambda" << j + 1 << " " << typed[i].expo[j] << " " << builtIn[i].expo[j];
            }
        }
    };
    check(std::type_identity<CompiledSystem>{});
    check(std::type_identity<CompiledSystemOf<3>>{});
}

// The interpreter in the engine gives the compiled code's results to the
// last bit: the engine's hook for whole blocks changes nothing (a flow whose
// divergence varies, quick to compile: the instructions are the step's check).
TEST(CompiledField, TheEngineRunsTheInterpreterAndTheCodeAlike) {
    const Equations e =
        parseEquations("x' = y - x*x*x/3 + a; y' = -x - 0.5*y*z; z' = x*y - z*w; w' = x*z - w; a = 0.25");
    const auto program = std::make_shared<const FieldProgram>(compileProgram(e));
    const SystemSettings settings{
        .intervals = 40, .initial = {0.5, -0.25, 1, 0.75}, .exponents = 2, .errors = true, .batch = 5};
    std::vector<std::array<double, kMaxParameters>> points(5, defaultParameters(e));
    for (std::size_t i = 0; i < points.size(); ++i) points[i][0] = -0.1 * static_cast<double>(i);
    for (SimdPath path : availablePaths()) {
        std::vector<ResultOf<CompiledSystem>> compiled(points.size()), plain(points.size());
        runSystemPoints(path, CompiledSystem(e, path), settings, std::span(points), std::span(compiled));
        runSystemPoints(path, InterpretedSystem(program), settings, std::span(points), std::span(plain));
        for (std::size_t i = 0; i < points.size(); ++i) EXPECT_EQ(compiled[i], plain[i]) << pathName(path) << " " << i;
    }
}

// Every flow of the catalogue typed from its own equation text gives the
// built-in's exponents within 1e-10 relative at n = 10000, from the same
// start (measured: 6e-12 at most, on the exponents nearest zero).
TEST(CompiledField, TheCatalogueTypedFromItsTextIsTheBuiltIn) {
    for (const SystemDescription& description : allSystems()) {
        const Equations e = parseEquations(textOf(description));
        ASSERT_EQ(e.dimension(), description.dimension) << description.name;
        const SystemSettings settings{
            .intervals = 10000, .initial = description.start, .exponents = description.dimension};
        const auto typed = runSystemPoint(CompiledSystem(e, SimdPath::Lanes128), settings, defaultParameters(e));
        visitSystem(description.name, description.dimension, [&](const auto& system) {
            using System = std::decay_t<decltype(system)>;
            ParametersOf<System> point{};
            for (std::size_t i = 0; i < point.size(); ++i) point[i] = description.parameters[i].value;
            const auto builtIn = runSystemPoint(system, settings, point);
            ASSERT_TRUE(builtIn.completed && typed.completed) << description.name;
            for (std::size_t j = 0; j < description.dimension; ++j)
                EXPECT_LE(std::fabs(typed.expo[j] - builtIn.expo[j]), 1e-10 * std::fabs(builtIn.expo[j]))
                    << description.name << " lambda" << j + 1 << " " << typed.expo[j] << " " << builtIn.expo[j];
        });
    }
}

// The compiler runs inside the process, its driver installing handlers of
// its own: compiling leaves every handler as it found it (Ctrl-C stays the
// program's).
TEST(CompiledField, CompilingLeavesTheSignalHandlersAsTheyWere) {
    struct sigaction mine {};
    mine.sa_handler = [](int) {};
    sigemptyset(&mine.sa_mask);
    struct sigaction before[3]{};
    const int signals[3] = {SIGINT, SIGTERM, SIGHUP};
    for (int i = 0; i < 3; ++i) ASSERT_EQ(sigaction(signals[i], &mine, &before[i]), 0);
    // A text no other test compiles, so that it is compiled here and not found compiled.
    const CompiledSystem system(parseEquations("x' = -x*0.125 + y; y' = -x\n"), SimdPath::Lanes128);
    for (int i = 0; i < 3; ++i) {
        struct sigaction now {};
        ASSERT_EQ(sigaction(signals[i], &before[i], &now), 0);
        EXPECT_EQ(now.sa_handler, mine.sa_handler) << "signal " << signals[i];
    }
}

// Without the compiler's driver on the search path the compilation fails
// with a message, the process going on; once it is back, the same text
// compiles (a failure is not kept).
TEST(CompiledField, AMissingCompilerIsAnErrorNotTheProcesssEnd) {
    const std::string path = getenv("PATH");
    const Equations e = parseEquations("x' = -x*0.375 + y; y' = -x\n");
    ASSERT_EQ(setenv("PATH", "/nonexistent", 1), 0);
    try {
        (void)CompiledSystem(e, SimdPath::Lanes128);
        ADD_FAILURE() << "compiled without a driver";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("could not be compiled"), std::string::npos) << error.what();
        EXPECT_NE(std::string(error.what()).find("gcc-12"), std::string::npos) << error.what();
    }
    ASSERT_EQ(setenv("PATH", path.c_str(), 1), 0);
    EXPECT_EQ(CompiledSystem(e, SimdPath::Lanes128).dimension(), 2u);
}

// The library is opened when equations are first compiled: a file that is
// missing, or is not GCC's JIT library, is refused with a message naming
// the package to install, never kept as a table of null functions.
TEST(CompiledField, ALibraryThatCannotServeIsRefusedSayingWhatToInstall) {
    const struct {
        const char* file;
        const char* says;
    } cases[] = {
        {"libgccjit-absent.so.0", "libgccjit-absent.so.0"},
        {"libz.so.1", "libz.so.1 has no gcc_jit_block_add_assignment"},
    };
    for (const auto& c : cases) {
        try {
            (void)openGccJit(c.file);
            ADD_FAILURE() << c.file << " opened";
        } catch (const std::runtime_error& error) {
            const std::string what = error.what();
            EXPECT_NE(what.find("libgccjit0"), std::string::npos) << what;
            EXPECT_NE(what.find(c.says), std::string::npos) << what;
        }
    }
}
