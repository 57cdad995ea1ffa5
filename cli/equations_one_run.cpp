// One run of a flow typed as text: compiled for the lanes of the single
// run, and printed as the run of a catalogue flow is.

#include "typed_flow.h"
#include "equations_one_run.h"

#include <stdexcept>
#include <string>

#include "clock.h"
#include "compiled_system.h"
#include "computation_run.h"
#include "equation_file.h"
#include "equation_text.h"
#include "number_text.h"
#include "precise_text.h"
#include "report.h"
#include "system_entries.h"
#include "system_exponents.h"

namespace veltrano::cli {

namespace {

constexpr const char* kForm = "--equations";

struct Args {
    std::string file, exponents;
    bool precise = false;
    std::vector<std::string> entries;
};

// The options stand before N; anything after N is an entry. Returns the
// message of a malformed command line, or empty.
std::string parse(const std::vector<std::string_view>& args, Args& parsed) {
    bool seenFile = false, seenExponents = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view a = args[i];
        const bool option =
            parsed.entries.empty() && a.size() > 1 && a.front() == '-' && a[1] != '.' && !(a[1] >= '0' && a[1] <= '9');
        if (!option) {
            parsed.entries.emplace_back(a);
            continue;
        }
        if (a == "--precise") {
            parsed.precise = true;
            continue;
        }
        bool known = false;
        for (auto [name, into, seen] :
             {std::tuple{std::string_view("--equations"), &parsed.file, &seenFile},
              std::tuple{std::string_view("--exponents"), &parsed.exponents, &seenExponents}}) {
            std::string_view value;
            if (a == name) {
                if (i + 1 == args.size()) return std::string(name).append(" needs a value");
                value = args[++i];
            } else if (a.starts_with(name) && a.size() > name.size() && a[name.size()] == '=') {
                value = a.substr(name.size() + 1);
            } else {
                continue;
            }
            if (*seen) return std::string(name).append(" is given twice");
            if (value.empty()) return std::string(name).append(" has an empty value");
            *seen = true;
            *into = std::string(value);
            known = true;
            break;
        }
        if (!known)
            return std::string("unknown option ")
                .append(a)
                .append(" (the one run of typed equations takes --equations, --exponents and --precise)");
    }
    return {};
}

}  // namespace

bool choosesEquations(const std::vector<std::string_view>& args) {
    for (const std::string_view a : args) {
        if (a == "--") return false;  // what follows is entries, whatever it says
        if (a == "--equations" || a.starts_with("--equations=")) return true;
    }
    return false;
}

int runEquationsOne(const std::vector<std::string_view>& args) {
    Args given;
    if (const std::string why = parse(args, given); !why.empty()) return fail(kForm, why, kExitRefused);
    const EquationFile file = readEquationFile(given.file);
    if (!file.error.empty()) return fail(kForm, file.error, kExitRefused);
    equations::Equations e;
    try {
        e = equations::parseEquations(file.text);
    } catch (const equations::EquationError& error) {
        return fail(kForm,
                    std::string(given.file == "-" ? "standard input" : given.file).append(", ").append(error.what()),
                    kExitRefused);
    }
    // Its messages speak of "the typed system" rather than of its digest.
    SystemDescription description = typedFlowDescription(e);
    description.name = "the typed system";
    const auto checked = checkSystemEntries(description, given.entries);
    if (const auto* why = std::get_if<std::string>(&checked)) return fail(kForm, *why, kExitRefused);
    const SystemEntries& entries = std::get<SystemEntries>(checked);
    const auto k = exponentCount(description, given.exponents);
    if (const auto* why = std::get_if<std::string>(&k)) return fail(kForm, *why, kExitRefused);

    SystemSettings settings;
    settings.intervals = entries.n;
    settings.initial = e.initial;
    settings.exponents = std::get<std::size_t>(k);
    const SteadyClock clock;
    const double started = clock.seconds();
    const auto show = [&](double v) { return given.precise ? preciseText(v) : numberText(v, kResultPlaces); };
    ParametersOf<equations::CompiledSystem> point{};
    for (std::size_t i = 0; i < entries.parameters.size(); ++i) point[i] = entries.parameters[i];
    std::string text;
    bool completed = false;
    try {
        equations::visitCompiled(e, SimdPath::Lanes128, [&](const auto& system) {
            const auto result = runSystemPoint(system, settings, point);
            const double seconds = clock.seconds() - started;
            completed = result.completed;
            text = std::string("t\t").append(show(result.t)).append("\n");
            for (std::size_t i = 0; i < settings.exponents; ++i)
                text.append("lambda")
                    .append(std::to_string(i + 1))
                    .append("\t")
                    .append(completed ? show(result.expo[i]) : "?")
                    .append("\n");
            if (completed) text.append("seconds\t").append(numberText(seconds, kSecondsPlaces)).append("\n");
        });
    } catch (const std::exception& error) {
        return fail(kForm, error.what(), kExitFailed);
    }
    if (!writeAll(stdout, text)) return fail("", "cannot write to standard output", kExitFailed);
    if (!completed)
        return fail(kForm,
                    std::string("an arithmetic error stopped the computation at t = ")
                        .append(text.substr(2, text.find('\n') - 2)),
                    kExitArithmetic);
    return kExitOk;
}

}  // namespace veltrano::cli
