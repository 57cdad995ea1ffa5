#include "research_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <regex>
#include <string_view>
#include <thread>
#include <tuple>
#include <vector>

#include "parameter_check.h"

using namespace veltrano;

namespace {

// Each option shows as a mark of its own, so a message tells which one
// was shown in it.
std::string shownAs(ResearchOption option) {
    switch (option) {
        case ResearchOption::Transient: return "t?";
        case ResearchOption::Initial: return "i?";
        case ResearchOption::Step: return "h?";
        case ResearchOption::StepsPerInterval: return "s?";
        case ResearchOption::Batch: return "m?";
        case ResearchOption::TargetError: return "e?";
        case ResearchOption::Every: return "k?";
        case ResearchOption::Threads: return "T?";
    }
    return "";
}

std::variant<RunSettings, std::string> settingsOf(const ResearchValues& values, std::int64_t n = 100) {
    return researchSettings(n, values, shownAs);
}

std::string refusal(const ResearchValues& values, std::int64_t n = 100) {
    const auto got = settingsOf(values, n);
    return std::holds_alternative<std::string>(got) ? std::get<std::string>(got) : "(accepted)";
}

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr std::int64_t kMost = RunSettings::kMaxIntervals;

}  // namespace

// Options not given keep the defaults of RunSettings; given ones reach the
// settings; a target error implies error bars.
TEST(ResearchRules, GivenValuesReachTheSettingsAndTheOthersKeepTheirDefaults) {
    const ResearchValues given{.transient = 7, .initial = Triple{-0.5, 0.0, 3.25}, .step = 0.002,
                               .stepsPerInterval = 3, .errors = true, .batch = 11, .targetError = {}};
    const RunSettings all{.intervals = 42, .transient = 7, .initial = {-0.5, 0.0, 3.25}, .step = 0.002,
                          .stepsPerInterval = 3, .errors = true, .batch = 11};
    ResearchValues target;
    target.targetError = 0.25;
    const std::pair<ResearchValues, RunSettings> cases[] = {
        {{}, {.intervals = 42}},
        {given, all},
        {target, {.intervals = 42, .errors = true, .targetError = 0.25}},
    };
    const auto fields = [](const RunSettings& s) {
        return std::tuple(s.intervals, s.transient, s.initial, s.step, s.stepsPerInterval, s.errors, s.batch,
                          s.targetError);
    };
    for (const auto& [values, want] : cases) {
        const auto got = settingsOf(values, 42);
        ASSERT_TRUE(std::holds_alternative<RunSettings>(got));
        EXPECT_EQ(fields(std::get<RunSettings>(got)), fields(want));
    }
}

// Every option at and just past each end of its range, with the message
// that names it (a bound the options share, through one of them).
TEST(ResearchRules, EachOptionIsCheckedAtTheEndsOfItsRange) {
    const auto with = [](auto member, auto value) {
        ResearchValues v;
        v.*member = value;
        return v;
    };
    const std::string transient = "--transient t?: K must be a whole number from 0 to 1000000000",
                      steps = "--steps-per-interval s?: S must be a whole number from 1 to 1000000000",
                      batch = "--batch m?: M must be a whole number from 1 to 1000000000",
                      step = "--step h?: H must be a decimal number above 0",
                      target = "--target-error e?: E must be a decimal number above 0",
                      initial = "--initial i?: expected X,Y,Z, three decimal numbers (digits, at most one point, a "
                                "leading minus)",
                      ok = "(accepted)";
    const double least = std::numeric_limits<double>::denorm_min();
    using V = ResearchValues;
    const std::pair<ResearchValues, std::string> cases[] = {
        {with(&V::transient, std::int64_t{0}), ok},       {with(&V::transient, kMost), ok},
        {with(&V::transient, std::int64_t{-1}), transient}, {with(&V::transient, kMost + 1), transient},
        {with(&V::stepsPerInterval, std::int64_t{1}), ok}, {with(&V::stepsPerInterval, std::int64_t{0}), steps},
        {with(&V::batch, std::int64_t{1}), ok},           {with(&V::batch, std::int64_t{0}), batch},
        {with(&V::step, least), ok},                      {with(&V::step, std::numeric_limits<double>::max()), ok},
        {with(&V::step, 0.0), step},                      {with(&V::step, -0.0), step},
        {with(&V::step, -0.01), step},                    {with(&V::step, kInf), step},
        {with(&V::step, kNaN), step},                     {with(&V::targetError, least), ok},
        {with(&V::targetError, 0.0), target},             {with(&V::initial, Triple{-1e308, 0.0, 1e308}), ok},
        {with(&V::initial, Triple{1, 1, kInf}), initial}, {with(&V::initial, Triple{kNaN, 1, 1}), initial},
        {with(&V::initial, Triple{1, -kInf, 1}), initial},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(refusal(cases[i].first), cases[i].second) << "case " << i;
}

TEST(ResearchRules, AWindowsFieldIsRefusedByTheCommandLinesRuleInEitherLanguage) {
    const auto numbers = [](const std::string& text) {  // the bounds a rule names, in order
        static const std::regex digits("[0-9]+");
        return std::vector<std::string>(std::sregex_token_iterator(text.begin(), text.end(), digits), {});
    };
    using O = ResearchOption;
    for (O o :
         {O::Transient, O::Initial, O::Step, O::StepsPerInterval, O::Batch, O::TargetError, O::Every, O::Threads}) {
        const std::string english = refusedField(o, "Field", "v?", TextLanguage::English);
        const std::string italian = refusedField(o, "Campo", "v?", TextLanguage::Italian);
        ASSERT_TRUE(english.starts_with("Field must be ") && english.ends_with(", not v?")) << english;
        EXPECT_TRUE(italian.starts_with("Campo deve essere ") && italian.ends_with(", non v?")) << italian;
        const std::string rule = english.substr(14, english.size() - 14 - 8);
        EXPECT_TRUE(refusedOption(o, "v?").ends_with(rule)) << rule;
        EXPECT_EQ(numbers(italian), numbers(rule)) << italian;
    }
}

TEST(ResearchRules, TheFirstRefusedOptionInTheirOrderIsNamed) {
    ResearchValues v{.transient = -1, .initial = Triple{kNaN, 0, 0}, .step = 0.0, .stepsPerInterval = 0, .batch = 0,
                     .targetError = 0.0};
    // Each option named is mended in turn; the next one is named then.
    const std::pair<const char*, std::function<void()>> order[] = {
        {"--transient", [&] { v.transient.reset(); }},  {"--initial", [&] { v.initial.reset(); }},
        {"--step", [&] { v.step.reset(); }},            {"--steps-per-interval", [&] { v.stepsPerInterval.reset(); }},
        {"--batch", [&] { v.batch.reset(); }},          {"--target-error", [&] { v.targetError.reset(); }},
    };
    for (const auto& [name, mend] : order) {
        const std::string message = refusal(v);
        EXPECT_EQ(message.substr(0, message.find(' ')), name);
        mend();
    }
    EXPECT_EQ(refusal(v), "(accepted)");
}

TEST(ResearchRules, NMustLieFromOneToTheMostIntervals) {
    const std::pair<std::int64_t, std::string_view> cases[] = {
        {std::numeric_limits<std::int64_t>::min(), kMessageN},
        {0, kMessageN},
        {1, ""},
        {kMost, ""},
        {kMost + 1, kMessageResearchRange},
        {std::numeric_limits<std::int64_t>::max(), kMessageResearchRange},
    };
    for (const auto& [n, message] : cases) {
        const auto why = refusedIntervals(n);
        EXPECT_EQ(why.value_or(""), message) << n;
        EXPECT_EQ(refusal({}, n), message.empty() ? "(accepted)" : std::string(message)) << n;
    }
}

TEST(ResearchRules, EveryAndThreadsHaveTheirRanges) {
    const auto check = [](auto read, const char* name, std::int64_t most, const std::string& message) {
        for (const std::int64_t v : {std::int64_t{-5}, std::int64_t{0}, std::int64_t{1}, most, most + 1}) {
            const auto got = read(v, name);
            if (v >= 1 && v <= most) {
                ASSERT_EQ(got.index(), 0U) << v;
                EXPECT_EQ(std::get<0>(got), v);
            } else {
                EXPECT_EQ(std::get<std::string>(got), message) << v;
            }
        }
    };
    check(everyOf, "x", kMost, "--every x: K must be a whole number from 1 to 1000000000");
    check([](std::int64_t t, const char* name) { return threadCount(t, name); }, "y", kMaxThreads,
          "--threads y: T must be a whole number from 1 to 4096");
    const auto all = threadCount(std::nullopt, "");
    ASSERT_TRUE(std::holds_alternative<int>(all));
    EXPECT_EQ(std::get<int>(all), static_cast<int>(std::max(1U, std::thread::hardware_concurrency())));
}

TEST(ResearchRules, ShardsNumberFromOneToTheirCount) {
    const std::tuple<std::int64_t, std::int64_t, bool> cases[] = {
        {1, 1, true},           {1, 100000000, true}, {100000000, 100000000, true}, {1, 0, false},
        {0, 1, false},          {2, 1, false},        {-1, 3, false},       {1, 100000001, false},
    };
    for (const auto& [k, m, ok] : cases) EXPECT_EQ(shardInRange(k, m), ok) << k << "/" << m;
}

// The size is written in full even past what a 64-bit count holds; an
// empty axis makes no points, however long the others.
TEST(ResearchRules, AGridPastTheMostPointsIsRefusedWithItsExactSize) {
    constexpr std::int64_t kLongest = std::numeric_limits<std::int64_t>::max();
    const std::pair<std::vector<std::int64_t>, std::string> cases[] = {
        {{}, ""}, {{100000000}, ""}, {{10000, 10000}, ""}, {{kLongest, 0, 7}, ""}, {{0, 100000001}, ""},
        {{100000001}, "100000001"}, {{10001, 10000}, "100010000"}, {{2, 3, 20000000}, "120000000"},
        {{4294967296, 4294967296, 10}, "184467440737095516160"}, {{kLongest, 99, 1000}, "913113831648622804893000"},
    };
    for (const auto& [lengths, size] : cases) {
        const std::string want = size.empty() ? "" : "the grid has " + size + " points; a sweep has at most 100000000";
        EXPECT_EQ(refusedGridSize(lengths).value_or(""), want) << size;
    }
}
