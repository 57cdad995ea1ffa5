// One run of a flow, of the catalogue or typed as text: the engine of the
// sweeps for one point, printed as the one run of Lorenz is.

#include "system_one_run.h"

#include <algorithm>
#include <exception>
#include <string>
#include <type_traits>
#include <variant>

#include "clock.h"
#include "computation_run.h"
#include "equation_file.h"
#include "number_text.h"
#include "precise_text.h"
#include "report.h"
#include "system_entries.h"
#include "system_exponents.h"
#include "visit_flow.h"

namespace veltrano::cli {

namespace {

// Whether `option` stands among the options, alone or as option=VALUE.
bool choosesOption(const std::vector<std::string_view>& args, std::string_view option) {
    for (const std::string_view a : args) {
        if (a == "--") return false;  // what follows is entries, whatever it says
        if (a == option || (a.starts_with(option) && a.size() > option.size() && a[option.size()] == '=')) return true;
    }
    return false;
}

struct SystemOneRunArgs {
    std::string system, equations, dimension, exponents, initial;
    bool precise = false;
    std::vector<std::string> entries;
};

// The options stand before N; anything after N is an entry. Returns the
// message of a malformed command line.
std::variant<SystemOneRunArgs, std::string> parse(const std::vector<std::string_view>& args) {
    SystemOneRunArgs parsed;
    bool seenSystem = false, seenEquations = false, seenDimension = false, seenExponents = false, seenInitial = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        if (!parsed.entries.empty() && a.starts_with("--"))
            return "'" + std::string(a) + "' stands after N: the options of the one run stand before N";
        if (!parsed.entries.empty() || a.empty() || a.front() != '-' || a.size() == 1 ||
            (a.size() > 1 && (a[1] == '.' || (a[1] >= '0' && a[1] <= '9')))) {
            parsed.entries.emplace_back(a);
            continue;
        }
        if (a == "--precise") {
            parsed.precise = true;
            continue;
        }
        struct Valued {
            std::string_view name;
            std::string* into;
            bool* seen;
        };
        const Valued valued[] = {{"--system", &parsed.system, &seenSystem},
                                 {"--equations", &parsed.equations, &seenEquations},
                                 {"--dimension", &parsed.dimension, &seenDimension},
                                 {"--exponents", &parsed.exponents, &seenExponents},
                                 {"--initial", &parsed.initial, &seenInitial}};
        bool known = false;
        for (const Valued& v : valued) {
            std::string_view value;
            if (a == v.name) {
                if (i + 1 == args.size()) return std::string(v.name) + " needs a value";
                value = args[++i];
            } else if (a.size() > v.name.size() && a.substr(0, v.name.size()) == v.name && a[v.name.size()] == '=') {
                value = a.substr(v.name.size() + 1);
            } else {
                continue;
            }
            if (*v.seen) return std::string(v.name) + " is given twice";
            if (value.empty()) return std::string(v.name) + " has an empty value";
            *v.seen = true;
            *v.into = std::string(value);
            known = true;
            break;
        }
        if (!known)
            return "unknown option " + std::string(a) +
                   (choosesOption(args, "--equations") ? " (the one run of typed equations takes --equations, --exponents, --initial and --precise)"
                                  : " (the one run of a catalogue flow takes --system, --dimension, --exponents, --initial and --precise)");
    }
    return parsed;
}

}  // namespace

bool choosesFlow(const std::vector<std::string_view>& args) {
    return choosesOption(args, "--system") || choosesOption(args, "--equations");
}

int runFlowOne(const std::vector<std::string_view>& args) {
    // Its messages speak as the form given: --equations, else --system.
    const char* form = choosesOption(args, "--equations") ? "--equations" : "--system";
    const auto parsed = parse(args);
    if (const auto* why = std::get_if<std::string>(&parsed)) return fail(form, *why, kExitRefused);
    const SystemOneRunArgs& given = std::get<SystemOneRunArgs>(parsed);
    auto chosen = chooseFlow(given.system, given.dimension, given.equations);
    if (const auto* why = std::get_if<std::string>(&chosen)) return fail(form, *why, kExitRefused);
    SystemDescription& description = std::get<SystemDescription>(chosen);
    // Typed equations are spoken of as "the typed system" rather than by their digest.
    if (!description.text.empty()) description.name = "the typed system";
    const auto checked = checkSystemEntries(description, given.entries);
    if (const auto* why = std::get_if<std::string>(&checked)) return fail(form, *why, kExitRefused);
    const SystemEntries& entries = std::get<SystemEntries>(checked);
    const auto k = exponentCount(description, given.exponents);
    if (const auto* why = std::get_if<std::string>(&k)) return fail(form, *why, kExitRefused);

    SystemSettings settings;
    settings.intervals = entries.n;
    settings.initial = description.start;
    if (!given.initial.empty()) {
        auto point = initialPointOf(description, given.initial);
        if (const auto* why = std::get_if<std::string>(&point)) return fail(form, *why, kExitRefused);
        settings.initial = std::get<std::vector<double>>(std::move(point));
    }
    settings.exponents = std::get<std::size_t>(k);
    std::string text;
    bool completed = false;
    const SteadyClock clock;
    const double started = clock.seconds();
    try {
        visitFlow(description, SimdPath::Lanes128, [&](const auto& system) {
            using System = std::decay_t<decltype(system)>;
            // Typed equations have room for more parameters than their text names.
            ParametersOf<System> point{};
            std::copy_n(entries.parameters.begin(), std::min(point.size(), entries.parameters.size()), point.begin());
            const auto result = runSystemPoint(system, settings, point);
            const double seconds = clock.seconds() - started;
            const auto show = [&](double v) { return given.precise ? preciseText(v) : numberText(v, kResultPlaces); };
            completed = result.completed;
            text = "t\t" + show(result.t) + '\n';
            for (std::size_t i = 0; i < settings.exponents; ++i)
                text += "lambda" + std::to_string(i + 1) + '\t' + (completed ? show(result.expo[i]) : "?") + '\n';
            if (completed) text += "seconds\t" + numberText(seconds, kSecondsPlaces) + '\n';
        });
    } catch (const std::exception& error) {  // typed equations the compiler could not build
        return fail(form, error.what(), kExitFailed);
    }
    if (!writeAll(stdout, text)) return fail("", "cannot write to standard output", kExitFailed);
    if (!completed) return fail(form, "an arithmetic error stopped the computation at t = " + text.substr(2, text.find('\n') - 2), kExitArithmetic);
    return kExitOk;
}

}  // namespace veltrano::cli
