#include "research_options.h"

#include <CLI/CLI.hpp>

#include <iostream>

#include "command_line.h"
#include "number_text.h"
#include "parameter_check.h"
#include "plot_plugin.h"

namespace veltrano::cli {

namespace {

// A decimal number written as the entries are (digits, at most one point, a
// leading minus, no exponent) within the range of doubles.
std::optional<double> decimalText(std::string_view text) {
    const std::u16string wide = toUtf16(unmarked(text));
    return controllo2(wide) ? decimalValue(wide) : std::nullopt;
}

}  // namespace

void addResearchOptions(CLI::App& command, ResearchTexts& texts) {
    command.add_option("--transient", texts.transient, "run K intervals first and measure from their end (default 0)")
        ->option_text("K");
    command.add_option("--initial", texts.initial, "start from the point X,Y,Z (default 1,1,1)")->option_text("X,Y,Z");
    command.add_option("--step", texts.step, "the Runge-Kutta step H > 0 (default 0.01)")->option_text("H");
    command.add_option("--steps-per-interval", texts.stepsPerInterval,
                       "S steps between two Gram-Schmidt passes (default 20)")
        ->option_text("S");
    command.add_flag("--errors", texts.errors, "also state the 95 % half-width of each exponent, by batch means");
    command.add_option("--batch", texts.batch, "M intervals per batch of the error bars (default 500)")
        ->option_text("M");
    command.add_option("--target-error", texts.targetError,
                       "stop a point once its three half-widths are at most E (implies --errors; N is then the most)")
        ->option_text("E");
}

namespace {

// The text of an option as typed ("" when it was not given).
const std::string& textOf(const ResearchTexts& texts, ResearchOption option) {
    switch (option) {
        case ResearchOption::Transient: return texts.transient;
        case ResearchOption::Initial: return texts.initial;
        case ResearchOption::Step: return texts.step;
        case ResearchOption::StepsPerInterval: return texts.stepsPerInterval;
        case ResearchOption::Batch: return texts.batch;
        case ResearchOption::TargetError: return texts.targetError;
        case ResearchOption::Every:
        case ResearchOption::Threads: break;
    }
    static const std::string none;
    return none;
}

// X,Y,Z: three decimal numbers.
std::optional<Triple> pointText(std::string_view given) {
    Triple point{};
    std::size_t start = 0;
    for (std::size_t i = 0; i < 3; ++i) {
        const auto comma = given.find(',', start);
        if ((i < 2) != (comma != std::string::npos)) return std::nullopt;
        const auto value = decimalText(given.substr(start, comma - start));
        if (!value) return std::nullopt;
        point[i] = *value;
        start = comma + 1;
    }
    return point;
}

// Reads the text of `option`, if given, into `values`; false when it is not
// a number of its kind.
bool read(ResearchOption option, const std::string& text, ResearchValues& values) {
    if (text.empty()) return true;
    const std::string given = unmarked(text);
    const auto whole = [&given](std::optional<std::int64_t>& into) {
        into = wholeNumber(given, 0, kAnyWholeNumber);
        return into.has_value();
    };
    const auto decimal = [&given](std::optional<double>& into) {
        into = decimalText(given);
        return into.has_value();
    };
    switch (option) {
        case ResearchOption::Transient: return whole(values.transient);
        case ResearchOption::Initial: return (values.initial = pointText(given)).has_value();
        case ResearchOption::Step: return decimal(values.step);
        case ResearchOption::StepsPerInterval: return whole(values.stepsPerInterval);
        case ResearchOption::Batch: return whole(values.batch);
        case ResearchOption::TargetError: return decimal(values.targetError);
        case ResearchOption::Every:
        case ResearchOption::Threads: break;
    }
    return false;
}

}  // namespace

std::variant<RunSettings, std::string> researchSettings(const ResearchTexts& texts, std::int64_t intervals) {
    ResearchValues values;
    values.errors = texts.errors;
    const auto shown = [&texts](ResearchOption option) { return unmarked(textOf(texts, option)); };
    const auto settled = [&] { return veltrano::researchSettings(intervals, values, shown); };
    // Read in the order the rules check them, so that the first refused
    // option is named whether its text or its value is wrong.
    for (const ResearchOption option : {ResearchOption::Transient, ResearchOption::Initial, ResearchOption::Step,
                                        ResearchOption::StepsPerInterval, ResearchOption::Batch,
                                        ResearchOption::TargetError}) {
        if (read(option, textOf(texts, option), values)) continue;
        auto earlier = settled();
        if (std::holds_alternative<std::string>(earlier)) return earlier;
        return refusedOption(option, shown(option));
    }
    return settled();
}

void addRunOptions(CLI::App& command, RunTexts& texts, bool picture) {
    command.add_option("N SIGMA R B", texts.entries, "the number of measured intervals and the three parameters")
        ->expected(4)
        ->required()
        ->option_text(" ");
    if (picture)
        command.add_option("--plot", texts.plot, "also draw the results into FILE.png or FILE.svg (a new file)")
            ->option_text("FILE");
    addResearchOptions(command, texts.research);
}

std::optional<CheckedRun> checkedRun(const char* form, const RunTexts& texts) {
    const auto entries = checkResearchEntries(texts.entries);
    if (const auto* error = std::get_if<std::string>(&entries)) {
        std::cerr << *error << '\n';
        return std::nullopt;
    }
    const auto refused = [form](const std::string& message) {
        fail(form, message, kExitRefused);
        return std::nullopt;
    };
    auto settings = researchSettings(texts.research, std::get<ResearchEntries>(entries).n);
    if (const auto* why = std::get_if<std::string>(&settings)) return refused(*why);
    const std::string plot = unmarked(texts.plot);
    if (!plot.empty())
        if (const std::string why = plotOptionRefusal(plot); !why.empty()) return refused(why);
    return CheckedRun{std::get<ResearchEntries>(entries), std::get<RunSettings>(settings), plot};
}

std::string describeRun(const RunSettings& settings) {
    const std::string options = describeOptions(settings);
    return "n = " + std::to_string(settings.intervals) + (options.empty() ? "" : ", " + options);
}

std::string describeOptions(const RunSettings& settings) {
    const RunSettings defaults;
    std::string text;
    const auto then = [&text](const std::string& more) { text += (text.empty() ? "" : ", ") + more; };
    if (settings.transient != defaults.transient) then("transient " + std::to_string(settings.transient));
    if (settings.initial != defaults.initial)
        then("from (" + shortest(settings.initial[0]) + ", " + shortest(settings.initial[1]) + ", " +
             shortest(settings.initial[2]) + ")");
    if (settings.step != defaults.step) then("h = " + shortest(settings.step));
    if (settings.stepsPerInterval != defaults.stepsPerInterval)
        then(std::to_string(settings.stepsPerInterval) + " steps an interval");
    if (settings.targetError > 0) then("target error " + shortest(settings.targetError));
    return text;
}

}  // namespace veltrano::cli
