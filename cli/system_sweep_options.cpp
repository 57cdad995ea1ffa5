#include "system_sweep_options.h"

#include <CLI/CLI.hpp>

#include "command_line.h"
#include "equation_file.h"
#include "research_rules.h"
#include "system_entries.h"
#include "system_run_settings.h"

namespace veltrano::cli {

void addSystemSweepOptions(CLI::App& command, SystemSweepTexts& texts) {
    command.add_option("--system", texts.system, "the flow of the catalogue to sweep")->option_text("NAME");
    command.add_option("--equations", texts.equations, "the flow typed in FILE (-: standard input), instead of --system")
        ->option_text("FILE");
    command.add_option("--dimension", texts.dimension, "the dimension D of a flow whose dimension is chosen")
        ->option_text("D");
    command.add_option("--exponents", texts.exponents, "the K leading exponents only (1 <= K <= D, default D)")
        ->option_text("K");
    command.add_option("--vary", texts.vary, "NAME=FROM:TO:COUNT, a parameter of the flow to vary (at most three)")
        ->option_text("AXIS")
        ->allow_extra_args(false);
    // Not required here: the entries' check says what is missing.
    command.add_option("N NAME=VALUE", texts.entries, "the number of measured intervals, then any parameter's value")
        ->option_text(" ");
    addResearchOptions(command, texts.research);
    command.get_option("--initial")
        ->description("start from the point V1,...,VD: one value for each variable (default: the flow's start)")
        ->option_text("V1,...,VD");
    command.get_option("--target-error")
        ->description("stop a point once its K half-widths are at most E (implies --errors; N is then the most)");
}

std::variant<SystemSweep, std::string> checkedSystemSweep(const SystemSweepTexts& texts) {
    const auto chosen = chooseFlow(unmarked(texts.system), unmarked(texts.dimension), unmarked(texts.equations));
    if (const auto* why = std::get_if<std::string>(&chosen)) return *why;
    SystemSweep sweep{std::get<SystemDescription>(chosen), {}, {}};
    const SystemDescription& system = sweep.system;

    std::vector<std::string> entries;
    for (const std::string& e : texts.entries) entries.push_back(unmarked(e));
    const auto checked = checkSystemEntries(system, entries);
    if (const auto* why = std::get_if<std::string>(&checked)) return *why;
    const SystemEntries& values = std::get<SystemEntries>(checked);
    const auto k = exponentCount(system, unmarked(texts.exponents));
    if (const auto* why = std::get_if<std::string>(&k)) return *why;

    SystemGrid& grid = sweep.grid;
    grid.base = values.parameters;
    if (texts.vary.size() > 3) return std::string("--vary is given at most three times");
    std::vector<std::int64_t> lengths;
    for (const std::string& v : texts.vary) {
        std::size_t parameter = 0;
        const auto axis = parseAxisText(
            v,
            [&](std::string_view name) {
                while (parameter < system.parameters.size() && system.parameters[parameter].name != name) ++parameter;
                if (parameter == system.parameters.size())
                    return "'" + std::string(name) + "' is not a parameter of " + system.name + ": " +
                           parametersOf(system);
                return std::string();
            },
            true);
        if (const auto* why = std::get_if<std::string>(&axis)) return *why;
        const AxisText& a = std::get<AxisText>(axis);
        for (int i = 0; i < grid.axisCount; ++i)
            if (grid.axes[static_cast<std::size_t>(i)].parameter == parameter)
                return "--vary names " + a.name + " twice: each --vary must name another parameter";
        for (std::size_t i = 1; i < entries.size(); ++i)
            if (entries[i].starts_with(a.name + "="))
                return "the parameter " + a.name + " is both varied (--vary) and given (" + entries[i] + ")";
        grid.axes[static_cast<std::size_t>(grid.axisCount++)] = {parameter, a.from, a.to, a.count, {}};
        lengths.push_back(a.count);
    }
    if (auto why = refusedGridSize(lengths)) return *why + " (split it with --vary ranges)";

    ResearchTexts research = texts.research;
    research.initial.clear();  // the flow's start, read below
    const auto settings = researchSettings(research, values.n);
    if (const auto* why = std::get_if<std::string>(&settings)) return *why;
    const std::string initial = unmarked(texts.research.initial);
    std::optional<std::vector<double>> start;
    if (!initial.empty()) {
        auto point = initialPointOf(system, initial);
        if (const auto* why = std::get_if<std::string>(&point)) return *why;
        start = std::get<std::vector<double>>(std::move(point));
    }
    sweep.run = systemRunSettings(system, std::get<RunSettings>(settings), std::get<std::size_t>(k), std::move(start));
    return sweep;
}

}  // namespace veltrano::cli
