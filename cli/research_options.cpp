#include "research_options.h"

#include "command_line.h"
#include "parameter_check.h"
#include <charconv>

namespace veltrano::cli {

namespace {

// A decimal number written as the entries are (digits, at most one point, a
// leading minus, no exponent) within the range of doubles.
std::optional<double> decimalText(std::string_view text) {
    const std::u16string wide = toUtf16(unmarked(text));
    return controllo2(wide) ? decimalValue(wide) : std::nullopt;
}

// The shortest text that reads back as the same double.
std::string shortest(double v) {
    char buf[32];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
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

std::variant<RunSettings, std::string> researchSettings(const ResearchTexts& texts, std::int64_t intervals) {
    RunSettings s;
    s.intervals = intervals;
    constexpr std::int64_t kMost = RunSettings::kMaxIntervals;
    if (!texts.transient.empty()) {
        const auto k = wholeNumber(texts.transient, 0, kMost);
        if (!k) return refusedOption(ResearchOption::Transient, unmarked(texts.transient));
        s.transient = *k;
    }
    if (!texts.initial.empty()) {
        const std::string given = unmarked(texts.initial);
        const std::string why = refusedOption(ResearchOption::Initial, given);
        std::size_t start = 0;
        for (std::size_t i = 0; i < 3; ++i) {
            const auto comma = given.find(',', start);
            if ((i < 2) != (comma != std::string::npos)) return why;
            const auto value = decimalText(std::string_view(given).substr(start, comma - start));
            if (!value) return why;
            s.initial[i] = *value;
            start = comma + 1;
        }
    }
    if (!texts.step.empty()) {
        const auto h = decimalText(texts.step);
        if (!h || !(*h > 0)) return refusedOption(ResearchOption::Step, unmarked(texts.step));
        s.step = *h;
    }
    if (!texts.stepsPerInterval.empty()) {
        const auto steps = wholeNumber(texts.stepsPerInterval, 1, kMost);
        if (!steps) return refusedOption(ResearchOption::StepsPerInterval, unmarked(texts.stepsPerInterval));
        s.stepsPerInterval = *steps;
    }
    s.errors = texts.errors;
    if (!texts.batch.empty()) {
        const auto m = wholeNumber(texts.batch, 1, kMost);
        if (!m) return refusedOption(ResearchOption::Batch, unmarked(texts.batch));
        s.batch = *m;
    }
    if (!texts.targetError.empty()) {
        const auto e = decimalText(texts.targetError);
        if (!e || !(*e > 0)) return refusedOption(ResearchOption::TargetError, unmarked(texts.targetError));
        s.targetError = *e;
        s.errors = true;
    }
    return s;
}

std::string describeRun(const RunSettings& settings) {
    const RunSettings defaults;
    std::string text = "n = " + std::to_string(settings.intervals);
    if (settings.transient != defaults.transient) text += ", transient " + std::to_string(settings.transient);
    if (settings.initial != defaults.initial)
        text += ", from (" + shortest(settings.initial[0]) + ", " + shortest(settings.initial[1]) + ", " +
                shortest(settings.initial[2]) + ")";
    if (settings.step != defaults.step) text += ", h = " + shortest(settings.step);
    if (settings.stepsPerInterval != defaults.stepsPerInterval)
        text += ", " + std::to_string(settings.stepsPerInterval) + " steps an interval";
    if (settings.targetError > 0) text += ", target error " + shortest(settings.targetError);
    return text;
}

}  // namespace veltrano::cli
