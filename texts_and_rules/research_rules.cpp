#include "research_rules.h"

#include <algorithm>
#include <cmath>
#include <thread>
#include <vector>

#include "parameter_check.h"
#include "sweep_grid.h"

namespace veltrano {

namespace {

// What each option must be, in English and Italian: the rules said once.
struct OptionRule {
    const char* name;    // the command line's
    const char* letter;  // its value in the command line's help
    const char* english;
    const char* italian;
};

OptionRule ruleOf(ResearchOption option) {
    switch (option) {
        case ResearchOption::Transient:
            return {"--transient", "K", "a whole number from 0 to 1000000000", "un numero intero da 0 a 1000000000"};
        case ResearchOption::Initial:
            return {"--initial", "X,Y,Z", "three decimal numbers (digits, at most one point, a leading minus)",
                    "tre numeri decimali (cifre, al più un punto, un meno iniziale)"};
        case ResearchOption::Step:
            return {"--step", "H", "a decimal number above 0", "un numero decimale maggiore di 0"};
        case ResearchOption::StepsPerInterval:
            return {"--steps-per-interval", "S", "a whole number from 1 to 1000000000",
                    "un numero intero da 1 a 1000000000"};
        case ResearchOption::Batch:
            return {"--batch", "M", "a whole number from 1 to 1000000000", "un numero intero da 1 a 1000000000"};
        case ResearchOption::TargetError:
            return {"--target-error", "E", "a decimal number above 0", "un numero decimale maggiore di 0"};
        case ResearchOption::Every:
            return {"--every", "K", "a whole number from 1 to 1000000000", "un numero intero da 1 a 1000000000"};
        case ResearchOption::Threads:
            return {"--threads", "T", "a whole number from 1 to 4096", "un numero intero da 1 a 4096"};
    }
    return {"", "", "", ""};
}

}  // namespace

std::string refusedOption(ResearchOption option, std::string_view given) {
    const OptionRule rule = ruleOf(option);
    const std::string said = std::string(rule.name) + ' ' + std::string(given) + ": ";
    if (option == ResearchOption::Initial) return said + "expected " + rule.letter + ", " + rule.english;
    return said + rule.letter + " must be " + rule.english;
}

std::string refusedField(ResearchOption option, std::string_view field, std::string_view given, TextLanguage language) {
    const OptionRule rule = ruleOf(option);
    const bool italian = language == TextLanguage::Italian;
    return std::string(field) + (italian ? " deve essere " : " must be ") + (italian ? rule.italian : rule.english) +
           (italian ? ", non " : ", not ") + std::string(given);
}

std::optional<std::string_view> refusedIntervals(std::int64_t n) {
    if (n < 1) return kMessageN;
    if (n > RunSettings::kMaxIntervals) return kMessageResearchRange;
    return std::nullopt;
}

std::variant<RunSettings, std::string> researchSettings(std::int64_t intervals, const ResearchValues& values,
                                                        const ShownValue& shown) {
    return checkedResearch(intervals, values,
                           [&shown](ResearchOption option) { return refusedOption(option, shown(option)); });
}

std::variant<RunSettings, std::string> checkedResearch(std::int64_t intervals, const ResearchValues& values,
                                                       const RefusalText& refused) {
    if (const auto why = refusedIntervals(intervals)) return std::string(*why);
    RunSettings s;
    s.intervals = intervals;
    const auto whole = [](const std::optional<std::int64_t>& given, std::int64_t least, std::int64_t& into) {
        if (!given) return true;
        if (*given < least || *given > RunSettings::kMaxIntervals) return false;
        into = *given;
        return true;
    };
    const auto positive = [](const std::optional<double>& given, double& into) {
        if (!given) return true;
        if (!std::isfinite(*given) || !(*given > 0)) return false;
        into = *given;
        return true;
    };
    if (!whole(values.transient, 0, s.transient)) return refused(ResearchOption::Transient);
    if (values.initial) {
        if (!std::all_of(values.initial->begin(), values.initial->end(), [](double v) { return std::isfinite(v); }))
            return refused(ResearchOption::Initial);
        s.initial = *values.initial;
    }
    if (!positive(values.step, s.step)) return refused(ResearchOption::Step);
    if (!whole(values.stepsPerInterval, 1, s.stepsPerInterval))
        return refused(ResearchOption::StepsPerInterval);
    s.errors = values.errors;
    if (!whole(values.batch, 1, s.batch)) return refused(ResearchOption::Batch);
    if (!positive(values.targetError, s.targetError)) return refused(ResearchOption::TargetError);
    if (values.targetError) s.errors = true;
    return s;
}

std::variant<std::int64_t, std::string> everyOf(std::int64_t k, std::string_view shown) {
    if (k < 1 || k > RunSettings::kMaxIntervals) return refusedOption(ResearchOption::Every, shown);
    return k;
}

std::variant<int, std::string> threadCount(std::optional<std::int64_t> given, std::string_view shown) {
    if (!given) return static_cast<int>(std::max(1U, std::thread::hardware_concurrency()));
    if (*given < 1 || *given > kMaxThreads) return refusedOption(ResearchOption::Threads, shown);
    return static_cast<int>(*given);
}

bool shardInRange(std::int64_t k, std::int64_t m) {
    return 1 <= k && k <= m && m <= SweepGrid::kMaxPoints;
}

std::string countRangeRule(std::string_view name) {
    return std::string(name) + " must be a whole number from 1 to " + std::to_string(SweepGrid::kMaxPoints);
}

std::string shardRangeRule(std::string_view form) {
    return "expected " + std::string(form) + " with 1 <= K <= M <= " + std::to_string(SweepGrid::kMaxPoints);
}

namespace {

// The product of two whole numbers written in decimal digits.
std::string product(const std::string& a, const std::string& b) {
    std::vector<int> sum(a.size() + b.size(), 0);  // least significant digit first
    for (std::size_t i = 0; i < a.size(); ++i)
        for (std::size_t j = 0; j < b.size(); ++j) sum[i + j] += (a[a.size() - 1 - i] - '0') * (b[b.size() - 1 - j] - '0');
    for (std::size_t k = 0; k + 1 < sum.size(); ++k) {
        sum[k + 1] += sum[k] / 10;
        sum[k] %= 10;
    }
    while (sum.size() > 1 && sum.back() == 0) sum.pop_back();
    std::string digits;
    for (auto it = sum.rbegin(); it != sum.rend(); ++it) digits.push_back(static_cast<char>('0' + *it));
    return digits;
}

}  // namespace

std::optional<std::string> refusedGridSize(std::span<const std::int64_t> axisLengths) {
    std::int64_t points = 1;
    bool tooMany = false;
    for (const std::int64_t n : axisLengths) {
        if (n == 0) return std::nullopt;
        if (__builtin_mul_overflow(points, n, &points) || points > SweepGrid::kMaxPoints) tooMany = true;
    }
    if (!tooMany) return std::nullopt;
    std::string count = "1";
    for (const std::int64_t n : axisLengths) count = product(count, std::to_string(n));
    return "the grid has " + count + " points; a sweep has at most " + std::to_string(SweepGrid::kMaxPoints);
}

}  // namespace veltrano
