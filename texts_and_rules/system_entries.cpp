#include "system_entries.h"

#include <algorithm>
#include <cmath>

#include "parameter_check.h"
#include "research_rules.h"

namespace veltrano {

std::optional<double> entryNumber(std::string_view text) {
    // "-", "." and "-." pass the entries' character test but hold no number.
    if (text.find_first_of("0123456789") == std::string_view::npos) return std::nullopt;
    std::u16string wide;
    for (const unsigned char c : text) {
        if (c >= 0x80) return std::nullopt;  // only ASCII digits, point and minus can pass
        wide.push_back(c);
    }
    return controllo2(wide) ? decimalValue(wide) : std::nullopt;
}

namespace {

// A whole number of at most nine significant digits, leading zeros allowed
// as they are in N; nullopt for anything else.
std::optional<std::size_t> smallWhole(std::string_view text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
    const std::string_view significant = text.substr(std::min(text.find_first_not_of('0'), text.size()));
    if (significant.size() > 9) return std::nullopt;
    return significant.empty() ? 0 : static_cast<std::size_t>(std::stoul(std::string(significant)));
}

}  // namespace

std::variant<SystemDescription, std::string> chooseSystem(std::string_view name, std::string_view dimension) {
    const auto system = findSystem(name);
    if (!system) {
        std::string names;
        for (const SystemDescription& s : allSystems()) names += (names.empty() ? "" : ", ") + s.name;
        return "there is no system '" + std::string(name) + "': the catalogue has " + names +
               " ('veltrano-cli systems' describes them)";
    }
    if (dimension.empty()) return *system;
    if (!system->dimensionChoice)
        return system->name + " has the fixed dimension " + std::to_string(system->dimension) +
               ": --dimension is only for a flow whose dimension is chosen";
    const DimensionChoice& range = *system->dimensionChoice;
    const std::string rule = "--dimension " + std::string(dimension) + ": the dimension of " + system->name +
                             " must be a whole number from " + std::to_string(range.lowest) + " to " +
                             std::to_string(range.highest);
    const auto d = smallWhole(dimension);
    if (!d) return rule;
    const auto chosen = findSystem(name, *d);
    if (!chosen) return rule;
    return *chosen;
}

std::variant<std::size_t, std::string> exponentCount(const SystemDescription& system, std::string_view given) {
    if (given.empty()) return system.dimension;
    const std::size_t k = smallWhole(given).value_or(0);
    if (k < 1 || k > system.dimension)
        return "--exponents " + std::string(given) + ": K must be a whole number from 1 to " +
               std::to_string(system.dimension) + " (the dimension of " + system.name + ")";
    return k;
}

std::string initialRule(const SystemDescription& system) {
    std::string names;
    for (const std::string& v : system.variables) names += (names.empty() ? "" : ", ") + v;
    return std::to_string(system.dimension) + " finite numbers, one for each variable of " + system.name + " (" +
           names + ")";
}

std::variant<std::vector<double>, std::string> initialPointOf(const SystemDescription& system,
                                                              std::string_view given) {
    std::vector<double> point;
    std::size_t start = 0;
    while (point.size() <= system.dimension) {
        const std::size_t comma = given.find(',', start);
        const auto value = entryNumber(given.substr(start, comma - start));
        if (!value || !std::isfinite(*value)) break;
        point.push_back(*value);
        if (comma == std::string_view::npos) {
            if (point.size() == system.dimension) return point;
            break;
        }
        start = comma + 1;
    }
    return "--initial " + std::string(given) + ": expected " + initialRule(system) +
           ", separated by commas and each written as the entries are (digits, at most one point, a leading minus, "
           "no exponent)";
}

std::string systemField(const SystemDescription& system) {
    return system.dimensionChoice ? system.name + ':' + std::to_string(system.dimension) : system.name;
}

std::string parametersOf(const SystemDescription& system) {
    if (system.parameters.empty()) return system.name + " has no parameters";
    std::string names;
    for (const ParameterDescription& p : system.parameters) names += (names.empty() ? "" : ", ") + p.name;
    return "the parameters of " + system.name + " are " + names;
}

std::variant<SystemEntries, std::string> checkSystemEntries(const SystemDescription& system,
                                                            const std::vector<std::string>& entries) {
    if (entries.empty() || entries.front().find('=') != std::string::npos)
        return "N is missing: give the number of intervals first, then NAME=VALUE for any parameter (" +
               parametersOf(system) + ")";
    SystemEntries checked;
    const std::string& n = entries.front();
    const bool digits = !n.empty() && n.find_first_not_of("0123456789") == std::string::npos;
    // More digits than any N in range may have cannot be in range.
    const std::string significant = n.substr(std::min(n.find_first_not_of('0'), n.size()));
    if (!digits) return "N " + n + ": " + std::string(refusedIntervals(0).value());
    checked.n = significant.size() > 10 ? RunSettings::kMaxIntervals + 1 : std::stoll("0" + significant);
    if (const auto why = refusedIntervals(checked.n)) return "N " + n + ": " + std::string(*why);

    for (const ParameterDescription& p : system.parameters) checked.parameters.push_back(p.value);
    std::vector<bool> given(system.parameters.size(), false);
    for (std::size_t i = 1; i < entries.size(); ++i) {
        const std::string& entry = entries[i];
        const auto equals = entry.find('=');
        if (equals == std::string::npos)
            return "'" + entry + "' is not NAME=VALUE (" + parametersOf(system) + ")";
        const std::string name = entry.substr(0, equals), value = entry.substr(equals + 1);
        std::size_t k = 0;
        while (k < system.parameters.size() && system.parameters[k].name != name) ++k;
        if (k == system.parameters.size())
            return "'" + name + "' is not a parameter of " + system.name + ": " + parametersOf(system);
        if (given[k]) return "the parameter " + name + " is given twice";
        given[k] = true;
        if (value.empty()) return name + "= has no value: write a decimal number after '='";
        const auto number = entryNumber(value);
        if (!number)
            return name + "=" + value +
                   ": the value must be a decimal number (digits, at most one point, a leading minus, no exponent) "
                   "within the range of doubles";
        checked.parameters[k] = *number;
    }
    return checked;
}

}  // namespace veltrano
