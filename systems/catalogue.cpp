#include <charconv>
#include <cmath>

#include "system_description.h"
#include "system_run.h"

namespace veltrano {

namespace {

constexpr std::string_view kSprottCommon =
    "J. C. Sprott, Chaos and Time-Series Analysis (Oxford University Press, 2003), and his list "
    "\"Common chaotic systems\" (1998, revised 2004)";

std::vector<SystemDescription> makeCatalogue() {
    std::vector<SystemDescription> c;
    c.push_back({
        "lorenz",
        "Lorenz",
        "Convection in a fluid layer heated from below, truncated to three modes.",
        3,
        {},
        {"x", "y", "z"},
        {{"sigma", 10, 0, 100}, {"R", 28, 0, 400}, {"b", 8.0 / 3, 0, 20}},
        {1, 1, 1},
        {"x' = sigma*(y - x)", "y' = R*x - y - x*z", "z' = -b*z + x*y"},
        "E. N. Lorenz, \"Deterministic nonperiodic flow\", J. Atmos. Sci. 20, 130-141 (1963)",
        {{{0.9056, 0, -14.5723}, 4, {10, 28, 8.0 / 3}, {1, 1, 1}, std::string(kSprottCommon)}},
        {},
    });
    c.push_back({
        "rossler",
        "Rössler",
        "A single spiral folded over on itself: the simplest continuous chaos.",
        3,
        {},
        {"x", "y", "z"},
        {{"a", 0.2, 0, 1}, {"b", 0.2, 0, 2}, {"c", 5.7, 0, 20}},
        {1, 1, 1},
        {"x' = -y - z", "y' = x + a*y", "z' = b + z*(x - c)"},
        "O. E. Rössler, \"An equation for continuous chaos\", Phys. Lett. A 57, 397-398 (1976)",
        {{{0.0714, 0, -5.3943}, 4, {0.2, 0.2, 5.7}, {1, 1, 1}, std::string(kSprottCommon)}},
        {},
    });
    c.push_back({
        "chen",
        "Chen",
        "A Lorenz-like double scroll, found by anticontrol of chaos.",
        3,
        {},
        {"x", "y", "z"},
        {{"a", 35, 0, 60}, {"b", 3, 0, 10}, {"c", 28, 0, 40}},
        {1, 1, 1},
        {"x' = a*(y - x)", "y' = (c - a)*x - x*z + c*y", "z' = x*y - b*z"},
        "G. Chen and T. Ueta, \"Yet another chaotic attractor\", Int. J. Bifurcation Chaos 9, 1465-1466 (1999)",
        {},
        {},
    });
    c.push_back({
        "lu",
        "Lü",
        "The double scroll between Lorenz's and Chen's.",
        3,
        {},
        {"x", "y", "z"},
        {{"a", 36, 0, 60}, {"b", 3, 0, 10}, {"c", 20, 0, 40}},
        {1, 1, 1},
        {"x' = a*(y - x)", "y' = -x*z + c*y", "z' = x*y - b*z"},
        "J. Lü and G. Chen, \"A new chaotic attractor coined\", Int. J. Bifurcation Chaos 12, 659-661 (2002)",
        {},
        {},
    });
    c.push_back({
        "thomas",
        "Thomas",
        "Cyclically symmetric feedback circuit with friction b; chaotic just below b = 0.2082.",
        3,
        {},
        {"x", "y", "z"},
        {{"b", 0.208186, 0, 1}},
        {1, 1, 0},
        {"x' = sin(y) - b*x", "y' = sin(z) - b*y", "z' = sin(x) - b*z"},
        "R. Thomas, \"Deterministic chaos seen in terms of feedback circuits: analysis, synthesis, "
        "'labyrinth chaos'\", Int. J. Bifurcation Chaos 9, 1889-1905 (1999)",
        {},
        {},
    });
    c.push_back({
        "halvorsen",
        "Halvorsen",
        "Cyclically symmetric quadratic flow with three lobes.",
        3,
        {},
        {"x", "y", "z"},
        {{"a", 1.27, 0, 3}},
        {-5, 0, 0},
        {"x' = -a*x - 4*y - 4*z - y*y", "y' = -a*y - 4*z - 4*x - z*z", "z' = -a*z - 4*x - 4*y - x*x"},
        "A. Halvorsen, unpublished; in J. C. Sprott, Chaos and Time-Series Analysis (Oxford University Press, 2003)",
        {},
        {},
    });
    c.push_back({
        "nose-hoover",
        "Nosé-Hoover (Sprott A)",
        "A thermostatted harmonic oscillator; conservative on average, its exponents sum to zero.",
        3,
        {},
        {"x", "y", "z"},
        {},
        {0, 5, 0},
        {"x' = y", "y' = -x + y*z", "z' = 1 - y*y"},
        "W. G. Hoover, \"Canonical dynamics: equilibrium phase-space distributions\", Phys. Rev. A 31, "
        "1695-1697 (1985); in this form case A of J. C. Sprott, \"Some simple chaotic flows\", Phys. Rev. E 50, "
        "R647-R650 (1994)",
        {{{0.014, 0, -0.014}, 3, {}, {0, 5, 0}, "J. C. Sprott, Phys. Rev. E 50, R647-R650 (1994), Table I"}},
        {},
    });
    c.push_back({
        "sprott-b",
        "Sprott B",
        "One of Sprott's simplest dissipative quadratic flows, without parameters.",
        3,
        {},
        {"x", "y", "z"},
        {},
        {0.05, 0.05, 0.05},
        {"x' = y*z", "y' = x - y", "z' = 1 - x*y"},
        "J. C. Sprott, \"Some simple chaotic flows\", Phys. Rev. E 50, R647-R650 (1994), case B",
        {{{0.210, 0, -1.210}, 3, {}, {0.05, 0.05, 0.05}, "J. C. Sprott, Phys. Rev. E 50, R647-R650 (1994), Table I"}},
        {},
    });
    c.push_back({
        "sprott-jerk",
        "Sprott's simplest jerk",
        "x''' = -A x'' + x'^2 - x: the simplest dissipative quadratic jerk.",
        3,
        {},
        {"x", "y", "z"},
        {{"A", 2.017, 1.9, 2.1}},
        {-0.5, 0, 0},
        {"x' = y", "y' = z", "z' = -x + y*y - A*z"},
        "J. C. Sprott, \"Simplest dissipative chaotic flow\", Phys. Lett. A 228, 271-274 (1997)",
        {{{0.0550, 0, -2.0720}, 4, {2.017}, {-0.5, 0, 0}, "J. C. Sprott, Phys. Lett. A 228, 271-274 (1997)"}},
        {},
    });
    c.push_back({
        "rabinovich-fabrikant",
        "Rabinovich-Fabrikant",
        "Stochastic self-modulation of waves in a nonequilibrium medium.",
        3,
        {},
        {"x", "y", "z"},
        {{"alpha", 1.1, 0, 2}, {"gamma", 0.87, 0, 2}},
        {-1, 0, 0.5},
        {"x' = y*(z - 1 + x*x) + gamma*x", "y' = x*(3*z + 1 - x*x) + gamma*y", "z' = -2*z*(alpha + x*y)"},
        "M. I. Rabinovich and A. L. Fabrikant, \"Stochastic self-modulation of waves in nonequilibrium media\", "
        "Sov. Phys. JETP 50, 311-317 (1979)",
        {},
        {},
    });
    c.push_back({
        "hindmarsh-rose",
        "Hindmarsh-Rose",
        "A bursting neuron: fast spikes x, y and a slow adaptation current z.",
        3,
        {},
        {"x", "y", "z"},
        {{"a", 1, 0, 2},
         {"b", 3, 0, 6},
         {"c", 1, 0, 2},
         {"d", 5, 0, 10},
         {"r", 0.006, 0, 0.05},
         {"s", 4, 0, 8},
         {"xR", -1.6, -3, 0},
         {"I", 3.25, 0, 5}},
        {-1.6, 0, 0},
        {"x' = y - a*x*x*x + b*x*x - z + I", "y' = c - d*x*x - y", "z' = r*(s*(x - xR) - z)"},
        "J. L. Hindmarsh and R. M. Rose, \"A model of neuronal bursting using three coupled first order "
        "differential equations\", Proc. R. Soc. Lond. B 221, 87-102 (1984)",
        {},
        {},
    });
    c.push_back({
        "lorenz84",
        "Lorenz-84",
        "The westerly wind and a large-scale eddy under thermal forcing F and G.",
        3,
        {},
        {"x", "y", "z"},
        {{"a", 0.25, 0, 1}, {"b", 4, 0, 10}, {"F", 8, 0, 20}, {"G", 1, 0, 5}},
        {1, 1, 1},
        {"x' = -y*y - z*z - a*x + a*F", "y' = x*y - b*x*z - y + G", "z' = b*x*y + x*z - z"},
        "E. N. Lorenz, \"Irregularity: a fundamental property of the atmosphere\", Tellus A 36, 98-110 (1984)",
        {},
        {},
    });
    c.push_back({
        "rucklidge",
        "Rucklidge",
        "Double convection: a fluid layer with a stabilising second gradient.",
        3,
        {},
        {"x", "y", "z"},
        {{"kappa", 2, 0, 5}, {"lambda", 6.7, 0, 15}},
        {1, 0, 4.5},
        {"x' = -kappa*x + lambda*y - y*z", "y' = x", "z' = -z + y*y"},
        "A. M. Rucklidge, \"Chaos in models of double convection\", J. Fluid Mech. 237, 209-229 (1992)",
        {},
        {},
    });
    c.push_back({
        "arneodo",
        "Arneodo",
        "A cubic jerk flow whose attractor spirals out of a saddle focus.",
        3,
        {},
        {"x", "y", "z"},
        {{"a", -5.5, -10, 0}, {"b", 3.5, 0, 10}, {"c", -1, -2, 0}},
        {0.2, 0.2, 0.2},
        {"x' = y", "y' = z", "z' = -a*x - b*y - z + c*x*x*x"},
        "A. Arneodo, P. Coullet and C. Tresser, \"Possible new strange attractors with spiral structure\", "
        "Commun. Math. Phys. 79, 573-579 (1981)",
        {},
        {},
    });
    // Energy (px^2 + py^2 + x^2 + y^2) / 2 + x^2 y - y^3 / 3 = 1/8 at
    // x = 0, y = -0.1, py = 0: a start in the chaotic sea.
    const double px = std::sqrt(2 * (0.125 - (0.005 + 0.001 / 3)));
    c.push_back({
        "henon-heiles",
        "Hénon-Heiles",
        "A star in a galaxy's potential; Hamiltonian, the energy is set by the start (1/8 here).",
        4,
        {},
        {"x", "y", "px", "py"},
        {},
        {0, -0.1, px, 0},
        {"x' = px", "y' = py", "px' = -x - 2*x*y", "py' = -y - x*x + y*y"},
        "M. Hénon and C. Heiles, \"The applicability of the third integral of motion: some numerical "
        "experiments\", Astron. J. 69, 73-79 (1964)",
        {},
        {},
    });
    c.push_back({
        "lorenz96",
        "Lorenz-96",
        "Sites on a latitude circle advected by their neighbours; the number of sites is the option "
        "`dimension`.",
        5,
        DimensionChoice{4, kMaxDimension, 5},  // the engine's largest dimension
        {},
        {{"F", 8, 0, 40}},
        {},
        {},
        "E. N. Lorenz, \"Predictability: a problem partly solved\", Proc. Seminar on Predictability, ECMWF, "
        "Reading, vol. 1, 1-18 (1996)",
        {},
        {},
    });
    return c;
}

// Lorenz-96, the one flow whose dimension is chosen: variables x1 ... xd, the start F + 0.01 at the first site and F at
// the others, and x_i' = (x_{i+1} - x_{i-2}) x_{i-1} - x_i + F on the ring.
void setLorenz96Dimension(SystemDescription& s, std::size_t d) {
    const double F = s.parameters.front().value;
    s.dimension = d;
    s.variables.clear();
    s.start.assign(d, F);
    s.start.front() = F + 0.01;
    s.equations.clear();
    auto name = [&](std::size_t i) {
        std::string text = "x";
        text += std::to_string(i % d + 1);
        return text;
    };
    for (std::size_t i = 0; i < d; ++i) s.variables.push_back(name(i));
    for (std::size_t i = 0; i < d; ++i) {
        std::string line = name(i);
        for (const std::string& piece :
             {std::string("' = ("), name(i + 1), std::string(" - "), name(i + d - 2), std::string(")*"),
              name(i + d - 1), std::string(" - "), name(i), std::string(" + F")})
            line += piece;
        s.equations.push_back(line);
    }
}

std::vector<SystemDescription> makeFullCatalogue() {
    std::vector<SystemDescription> c = makeCatalogue();
    for (SystemDescription& s : c)
        if (s.dimensionChoice) setLorenz96Dimension(s, s.dimensionChoice->value);
    return c;
}

std::string shortest(double v) {
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, v).ptr;
    return std::string(buffer, end);
}

}  // namespace

const std::vector<SystemDescription>& allSystems() {
    static const std::vector<SystemDescription> catalogue = makeFullCatalogue();
    return catalogue;
}

std::optional<SystemDescription> findSystem(std::string_view name) {
    for (const SystemDescription& s : allSystems())
        if (s.name == name) return s;
    return std::nullopt;
}

std::optional<SystemDescription> findSystem(std::string_view name, std::size_t dimension) {
    std::optional<SystemDescription> s = findSystem(name);
    if (!s) return std::nullopt;
    if (!s->dimensionChoice) return s->dimension == dimension ? s : std::nullopt;
    if (dimension < s->dimensionChoice->lowest || dimension > s->dimensionChoice->highest) return std::nullopt;
    setLorenz96Dimension(*s, dimension);
    return s;
}

std::vector<std::string> equationText(const SystemDescription& system) {
    std::vector<std::string> lines = system.equations;
    for (const ParameterDescription& p : system.parameters) lines.push_back(p.name + " = " + shortest(p.value));
    for (std::size_t i = 0; i < system.variables.size(); ++i)
        lines.push_back(system.variables[i] + "(0) = " + shortest(system.start[i]));
    return lines;
}

}  // namespace veltrano
