#include "computation_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "number_text.h"

using namespace veltrano;

namespace {

const char* name(ResultField f) {
    switch (f) {
        case ResultField::Time:
            return "t";
        case ResultField::Lambda1:
            return "l1";
        case ResultField::Lambda2:
            return "l2";
        case ResultField::Lambda3:
            return "l3";
        case ResultField::Seconds:
            return "s";
    }
    return "";
}

// Records every request of the run as one line, in order.
class ScriptView final : public ResultView {
public:
    explicit ScriptView(std::string separator = ".") : separator_(std::move(separator)) {}
    void reportError(std::string_view message) override { log.push_back("error " + std::string(message)); }
    void setField(ResultField f, std::string_view text, bool repaintNow) override {
        log.push_back(std::string(name(f)) + (repaintNow ? "! " : " ") + std::string(text));
    }
    void setBusyPointer(bool busy) override { log.push_back(busy ? "busy" : "idle"); }
    std::string decimalSeparator() const override { return separator_; }
    std::vector<std::string> log;

private:
    std::string separator_;
};

// Gives the readings in turn and counts them.
class ScriptClock final : public Clock {
public:
    explicit ScriptClock(std::vector<double> readings) : readings_(std::move(readings)) {}
    double seconds() const override { return readings_.at(reads++); }
    mutable std::size_t reads = 0;

private:
    std::vector<double> readings_;
};

const std::vector<std::string> kBusyStart = {"busy", "t! WHITE   ", "l1! WHITE   ", "l2! WHITE   ", "l3! WHITE   "};

std::vector<std::string> tail(const std::vector<std::string>& log) {
    return {log.begin() + static_cast<std::ptrdiff_t>(kBusyStart.size()), log.end()};
}

}  // namespace

TEST(SpectrumRun, CompletedRunShowsBusyThenTheRoundedResultsAndTheTime) {
    Spectrum spectrum;
    ScriptView view;
    ScriptClock clock({86399.5, 86400.5625});
    const RunOutcome out = computeAndShow(spectrum, {1, 10, 28, 2.6667}, view, clock);
    ASSERT_TRUE(out.completed);
    ASSERT_GE(view.log.size(), kBusyStart.size());
    EXPECT_EQ(std::vector<std::string>(view.log.begin(), view.log.begin() + 5), kBusyStart);
    const std::vector<std::string> expected = {"t 0.2",
                                               "l1 " + numberText(spectrum.expo()[0], 4),
                                               "l2 " + numberText(spectrum.expo()[1], 4),
                                               "l3 " + numberText(spectrum.expo()[2], 4),
                                               "s 1.062",
                                               "idle"};
    EXPECT_EQ(tail(view.log), expected);
    EXPECT_EQ(clock.reads, 2U);
    EXPECT_EQ(*out.seconds, 1.0625);
    // n = 1 gives about 10.7, -18.4 and -6.02, each with four decimals.
    const std::pair<std::string, std::string> prefixes[] = {
        {view.log[6], "l1 10.7"}, {view.log[7], "l2 -18."}, {view.log[8], "l3 -6.0"}};
    for (const auto& [line, prefix] : prefixes) {
        EXPECT_EQ(line.substr(0, prefix.size()), prefix);
        EXPECT_EQ(line.size() - line.find('.'), 5U) << line;
    }
}

TEST(SpectrumRun, DefaultEntriesWithACommaSeparator) {
    Spectrum spectrum;
    ScriptView view(",");
    ScriptClock clock({5, 5.25});
    computeAndShow(spectrum, {100, 10, 28, 2.6667}, view, clock);
    const auto lines = tail(view.log);
    ASSERT_EQ(lines.size(), 6U);
    EXPECT_EQ(lines[0], "t 20");
    EXPECT_EQ(lines[1].substr(0, 7), "l1 0,38");
    EXPECT_EQ(lines[2].substr(0, 6), "l2 -0,");
    EXPECT_EQ(lines[3].substr(0, 9), "l3 -14,03");
    EXPECT_EQ(lines[3].size(), 3 + 7U) << "three decimals, the trailing zero dropped: " << lines[3];
    EXPECT_EQ(lines[4], "s 0,25");
}

TEST(SpectrumRun, FlowErrorShowsTheTimeReachedAndQuestionMarksWithoutReadingTheClockAgain) {
    Spectrum spectrum;
    ScriptView view;
    ScriptClock clock({1.0});
    const RunOutcome out = computeAndShow(spectrum, {100, 1e200, 28, 2.6667}, view, clock);
    EXPECT_FALSE(out.completed);
    EXPECT_FALSE(out.seconds.has_value());
    const std::vector<std::string> expected = {
        "error ERRORE NELLA ELABORAZIONE", "t 0", "l1 ?", "l2 ?", "l3 ?", "idle"};
    EXPECT_EQ(tail(view.log), expected);
    EXPECT_EQ(clock.reads, 1U);
}

