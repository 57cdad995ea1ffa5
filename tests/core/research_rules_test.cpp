#include "research_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string_view>
#include <thread>
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

TEST(ResearchRules, OptionsNotGivenKeepTheDefaultsOfRunSettings) {
    const auto got = settingsOf({});
    ASSERT_TRUE(std::holds_alternative<RunSettings>(got));
    RunSettings expected;
    expected.intervals = 100;
    const RunSettings& s = std::get<RunSettings>(got);
    EXPECT_EQ(s.intervals, expected.intervals);
    EXPECT_EQ(s.transient, expected.transient);
    EXPECT_EQ(s.initial, expected.initial);
    EXPECT_EQ(s.step, expected.step);
    EXPECT_EQ(s.stepsPerInterval, expected.stepsPerInterval);
    EXPECT_EQ(s.errors, expected.errors);
    EXPECT_EQ(s.batch, expected.batch);
    EXPECT_EQ(s.targetError, expected.targetError);
}

TEST(ResearchRules, GivenValuesReachTheSettings) {
    ResearchValues v;
    v.transient = 7;
    v.initial = Triple{-0.5, 0.0, 3.25};
    v.step = 0.002;
    v.stepsPerInterval = 3;
    v.errors = true;
    v.batch = 11;
    const auto got = settingsOf(v, 42);
    ASSERT_TRUE(std::holds_alternative<RunSettings>(got));
    const RunSettings& s = std::get<RunSettings>(got);
    EXPECT_EQ(s.intervals, 42);
    EXPECT_EQ(s.transient, 7);
    EXPECT_EQ(s.initial, (Triple{-0.5, 0.0, 3.25}));
    EXPECT_EQ(s.step, 0.002);
    EXPECT_EQ(s.stepsPerInterval, 3);
    EXPECT_TRUE(s.errors);
    EXPECT_EQ(s.batch, 11);
    EXPECT_EQ(s.targetError, 0.0);
}

TEST(ResearchRules, ATargetErrorImpliesErrorBars) {
    ResearchValues v;
    v.targetError = 0.25;
    const auto got = settingsOf(v);
    ASSERT_TRUE(std::holds_alternative<RunSettings>(got));
    EXPECT_TRUE(std::get<RunSettings>(got).errors);
    EXPECT_EQ(std::get<RunSettings>(got).targetError, 0.25);
}

// Every option at and just past each end of its range, with the message
// that names it.
TEST(ResearchRules, EachOptionIsCheckedAtTheEndsOfItsRange) {
    struct Case {
        const char* what;
        ResearchValues values;
        const char* message;  // nullptr: accepted
    };
    const auto with = [](auto member, auto value) {
        ResearchValues v;
        v.*member = value;
        return v;
    };
    const Case cases[] = {
        {"transient 0", with(&ResearchValues::transient, std::int64_t{0}), nullptr},
        {"transient most", with(&ResearchValues::transient, kMost), nullptr},
        {"transient -1", with(&ResearchValues::transient, std::int64_t{-1}),
         "--transient t?: K must be a whole number from 0 to 1000000000"},
        {"transient most+1", with(&ResearchValues::transient, kMost + 1),
         "--transient t?: K must be a whole number from 0 to 1000000000"},
        {"steps 1", with(&ResearchValues::stepsPerInterval, std::int64_t{1}), nullptr},
        {"steps most", with(&ResearchValues::stepsPerInterval, kMost), nullptr},
        {"steps 0", with(&ResearchValues::stepsPerInterval, std::int64_t{0}),
         "--steps-per-interval s?: S must be a whole number from 1 to 1000000000"},
        {"steps most+1", with(&ResearchValues::stepsPerInterval, kMost + 1),
         "--steps-per-interval s?: S must be a whole number from 1 to 1000000000"},
        {"batch 1", with(&ResearchValues::batch, std::int64_t{1}), nullptr},
        {"batch most", with(&ResearchValues::batch, kMost), nullptr},
        {"batch 0", with(&ResearchValues::batch, std::int64_t{0}),
         "--batch m?: M must be a whole number from 1 to 1000000000"},
        {"batch most+1", with(&ResearchValues::batch, kMost + 1),
         "--batch m?: M must be a whole number from 1 to 1000000000"},
        {"step least", with(&ResearchValues::step, std::numeric_limits<double>::denorm_min()), nullptr},
        {"step largest", with(&ResearchValues::step, std::numeric_limits<double>::max()), nullptr},
        {"step 0", with(&ResearchValues::step, 0.0), "--step h?: H must be a decimal number above 0"},
        {"step -0", with(&ResearchValues::step, -0.0), "--step h?: H must be a decimal number above 0"},
        {"step negative", with(&ResearchValues::step, -0.01), "--step h?: H must be a decimal number above 0"},
        {"step inf", with(&ResearchValues::step, kInf), "--step h?: H must be a decimal number above 0"},
        {"step nan", with(&ResearchValues::step, kNaN), "--step h?: H must be a decimal number above 0"},
        {"target least", with(&ResearchValues::targetError, std::numeric_limits<double>::denorm_min()), nullptr},
        {"target 0", with(&ResearchValues::targetError, 0.0),
         "--target-error e?: E must be a decimal number above 0"},
        {"target negative", with(&ResearchValues::targetError, -1.0),
         "--target-error e?: E must be a decimal number above 0"},
        {"target inf", with(&ResearchValues::targetError, kInf),
         "--target-error e?: E must be a decimal number above 0"},
        {"target nan", with(&ResearchValues::targetError, kNaN),
         "--target-error e?: E must be a decimal number above 0"},
        {"initial any finite", with(&ResearchValues::initial, Triple{-1e308, 0.0, 1e308}), nullptr},
        {"initial inf last", with(&ResearchValues::initial, Triple{1, 1, kInf}),
         "--initial i?: expected X,Y,Z, three decimal numbers (digits, at most one point, a leading minus)"},
        {"initial nan first", with(&ResearchValues::initial, Triple{kNaN, 1, 1}),
         "--initial i?: expected X,Y,Z, three decimal numbers (digits, at most one point, a leading minus)"},
        {"initial -inf middle", with(&ResearchValues::initial, Triple{1, -kInf, 1}),
         "--initial i?: expected X,Y,Z, three decimal numbers (digits, at most one point, a leading minus)"},
    };
    for (const Case& c : cases) EXPECT_EQ(refusal(c.values), c.message ? c.message : "(accepted)") << c.what;
}

TEST(ResearchRules, AWindowsFieldIsRefusedByTheCommandLinesRuleInEitherLanguage) {
    const auto numbers = [](std::string_view text) {  // the bounds a rule names, in order
        std::vector<std::string> found;
        for (std::size_t i = text.find_first_of("0123456789"); i != std::string_view::npos;) {
            const std::size_t end = std::min(text.find_first_not_of("0123456789", i), text.size());
            found.emplace_back(text.substr(i, end - i));
            i = text.find_first_of("0123456789", end);
        }
        return found;
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
    ResearchValues v;
    v.targetError = 0.0;
    v.batch = 0;
    v.stepsPerInterval = 0;
    v.step = 0.0;
    v.initial = Triple{kNaN, 0, 0};
    v.transient = -1;
    const char* const expected[] = {"--transient", "--initial", "--step", "--steps-per-interval", "--batch",
                                    "--target-error"};
    for (const char* name : expected) {
        const std::string message = refusal(v);
        EXPECT_EQ(message.substr(0, message.find(' ')), name);
        // Mend the option just named; the next one is named then.
        if (v.transient) v.transient.reset();
        else if (v.initial) v.initial.reset();
        else if (v.step) v.step.reset();
        else if (v.stepsPerInterval) v.stepsPerInterval.reset();
        else if (v.batch) v.batch.reset();
        else v.targetError.reset();
    }
    EXPECT_EQ(refusal(v), "(accepted)");
}

TEST(ResearchRules, NMustLieFromOneToTheMostIntervals) {
    const std::pair<std::int64_t, std::string_view> cases[] = {
        {std::numeric_limits<std::int64_t>::min(), kMessageN},
        {-1, kMessageN},
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
    EXPECT_EQ(kMessageResearchRange, "Deve essere N <= 1000000000");
}

TEST(ResearchRules, EveryAndThreadsHaveTheirRanges) {
    const std::tuple<std::int64_t, bool> every[] = {{0, false}, {1, true}, {kMost, true}, {kMost + 1, false}, {-5, false}};
    for (const auto& [k, ok] : every) {
        const auto got = everyOf(k, "x");
        if (ok) {
            ASSERT_TRUE(std::holds_alternative<std::int64_t>(got)) << k;
            EXPECT_EQ(std::get<std::int64_t>(got), k);
        } else {
            EXPECT_EQ(std::get<std::string>(got), "--every x: K must be a whole number from 1 to 1000000000") << k;
        }
    }
    const std::tuple<std::int64_t, bool> threads[] = {{0, false}, {1, true}, {kMaxThreads, true}, {kMaxThreads + 1, false},
                                                      {-1, false}};
    for (const auto& [t, ok] : threads) {
        const auto got = threadCount(t, "y");
        if (ok) {
            ASSERT_TRUE(std::holds_alternative<int>(got)) << t;
            EXPECT_EQ(std::get<int>(got), t);
        } else {
            EXPECT_EQ(std::get<std::string>(got), "--threads y: T must be a whole number from 1 to 4096") << t;
        }
    }
    const auto all = threadCount(std::nullopt, "");
    ASSERT_TRUE(std::holds_alternative<int>(all));
    EXPECT_EQ(std::get<int>(all), static_cast<int>(std::max(1U, std::thread::hardware_concurrency())));
}

TEST(ResearchRules, ShardsNumberFromOneToTheirCount) {
    const std::tuple<std::int64_t, std::int64_t, bool> cases[] = {
        {1, 1, true},           {3, 3, true},         {1, 100000000, true}, {100000000, 100000000, true},
        {0, 1, false},          {2, 1, false},        {-1, 3, false},       {1, 100000001, false},
        {1, 0, false},
    };
    for (const auto& [k, m, ok] : cases) EXPECT_EQ(shardInRange(k, m), ok) << k << "/" << m;
}

TEST(ResearchRules, AGridPastTheMostPointsIsRefusedWithItsExactSize) {
    const auto refused = [](std::initializer_list<std::int64_t> lengths) {
        return refusedGridSize(std::span<const std::int64_t>(lengths.begin(), lengths.size())).value_or("");
    };
    EXPECT_EQ(refused({}), "");
    EXPECT_EQ(refused({100000000}), "");
    EXPECT_EQ(refused({10000, 10000}), "");
    EXPECT_EQ(refused({100000001}), "the grid has 100000001 points; a sweep has at most 100000000");
    EXPECT_EQ(refused({10001, 10000}), "the grid has 100010000 points; a sweep has at most 100000000");
    EXPECT_EQ(refused({2, 3, 20000000}), "the grid has 120000000 points; a sweep has at most 100000000");
    // Past what a 64-bit count holds: the product is still written in full.
    EXPECT_EQ(refused({4294967296, 4294967296, 10}),
              "the grid has 184467440737095516160 points; a sweep has at most 100000000");
    EXPECT_EQ(refused({std::numeric_limits<std::int64_t>::max(), 99, 1000}),
              "the grid has 913113831648622804893000 points; a sweep has at most 100000000");
    // An empty axis makes no points, however long the others.
    EXPECT_EQ(refused({std::numeric_limits<std::int64_t>::max(), 0, 7}), "");
    EXPECT_EQ(refused({0, 100000001}), "");
}
