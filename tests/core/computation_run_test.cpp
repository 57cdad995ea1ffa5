#include "computation_run.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "number_text.h"

using namespace veltrano;

namespace {

// Records every request of the run as one line, in order.
class ScriptView final : public ResultView {
public:
    explicit ScriptView(std::string separator) : separator_(std::move(separator)) {}
    void reportError(std::string_view message) override { log.push_back("error " + std::string(message)); }
    void setField(ResultField f, std::string_view text, bool repaintNow) override {
        static const char* const names[] = {"t", "l1", "l2", "l3", "s"};
        log.push_back(names[static_cast<int>(f)] + std::string(repaintNow ? "! " : " ") + std::string(text));
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

}  // namespace

// The fields go white at once, then show the results rounded to four
// decimals, the time to three, with the regional separator; a fault shows
// the time reached and question marks without reading the clock again.
TEST(SpectrumRun, ShowsBusyThenTheRoundedResultsAndTheTime) {
    const struct {
        Parameters p;
        const char* separator;
        std::vector<double> clock;
        std::vector<std::string> shown;
        std::size_t reads;
    } cases[] = {
        {{1, 10, 28, 2.6667}, ".", {86399.5, 86400.5625},
         {"t 0.2", "l1 10.7", "l2 -18.", "l3 -6.0", "s 1.062", "idle"}, 2},
        {{100, 10, 28, 2.6667}, ",", {5, 5.25}, {"t 20", "l1 0,38", "l2 -0,", "l3 -14,039", "s 0,25", "idle"}, 2},
        {{100, 1e200, 28, 2.6667}, ".", {1.0},
         {"error ERRORE NELLA ELABORAZIONE", "t 0", "l1 ?", "l2 ?", "l3 ?", "idle"}, 1},
    };
    for (const auto& c : cases) {
        Spectrum spectrum;
        ScriptView view(c.separator);
        ScriptClock clock(c.clock);
        const RunOutcome out = computeAndShow(spectrum, c.p, view, clock);
        ASSERT_EQ(view.log.size(), 11U);
        const std::vector<std::string> busy = {"busy", "t! WHITE   ", "l1! WHITE   ", "l2! WHITE   ", "l3! WHITE   "};
        EXPECT_EQ(std::vector<std::string>(view.log.begin(), view.log.begin() + 5), busy);
        for (std::size_t i = 0; i < c.shown.size(); ++i) EXPECT_EQ(view.log[5 + i].substr(0, c.shown[i].size()), c.shown[i]);
        EXPECT_EQ(clock.reads, c.reads);
        EXPECT_EQ(out.completed, c.reads == 2);
        if (!out.completed) {
            EXPECT_FALSE(out.seconds.has_value());
            continue;
        }
        EXPECT_EQ(*out.seconds, c.clock[1] - c.clock[0]);
        for (std::size_t k = 0; k < 3; ++k)
            EXPECT_EQ(view.log[6 + k].substr(3), numberText(spectrum.expo()[k], 4, c.separator)) << k;
    }
    // A run of no interval after a fault still shows the fault: nothing ran
    // that could clear it.
    Spectrum spectrum;
    ScriptView view(".");
    ScriptClock clock({0, 0, 1});
    computeAndShow(spectrum, {5, 1e200, 28, 2.6667}, view, clock);
    view.log.clear();
    EXPECT_TRUE(computeAndShow(spectrum, {0, 10, 28, 2.6667}, view, clock).completed);
    ASSERT_GE(view.log.size(), 2U);
    EXPECT_EQ(view.log[view.log.size() - 2], "l3 ?");
}
