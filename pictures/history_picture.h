#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "line_chart.h"
#include "gram_schmidt.h"

namespace veltrano::pictures {

// The rows of a history that its picture shows, in a bounded space however
// long the run: every interval up to 1000, then about a thousand rows for
// each tenfold of t (the axis of t is logarithmic), and always the last.
// Its k exponents are those of the first row; every row has as many.
class HistoryPicture {
public:
    void add(std::int64_t interval, double t, const Triple& expo, const std::optional<Triple>& halfWidth);
    // A row of k estimates; `halfWidth` holds their k half-widths, or is
    // empty while they are unknown.
    void add(std::int64_t interval, double t, std::span<const double> expo, std::span<const double> halfWidth);
    // `context` follows the title (the parameters and the run, where known).
    // `only` = 1 .. k draws that exponent alone (with error bars, where they
    // are known); 0 draws all k.
    [[nodiscard]] LineChart chart(const std::string& context, int only = 0) const;
    [[nodiscard]] bool empty() const { return t_.empty() && !pending_; }
    [[nodiscard]] std::int64_t lastInterval() const { return lastInterval_; }

private:
    struct Row {
        double t = 0;
        std::vector<double> expo, halfWidth;  // halfWidth empty: unknown
    };
    void keep(const Row& row);
    std::vector<double> t_;
    std::vector<std::vector<double>> expo_, low_, high_;
    bool anyErrors_ = false;
    std::int64_t lastBucket_ = -1;
    std::int64_t lastInterval_ = 0;
    Row newest_;            // the newest row, reused from row to row
    bool pending_ = false;  // whether newest_ is not kept yet
};

// The picture of the history of the flow named `system` in its files
// (rossler, lorenz96:8): titled with the flow and the last interval, as
// the file alone tells them.
[[nodiscard]] LineChart flowHistoryChart(const HistoryPicture& history, const std::string& system, int only = 0);

}  // namespace veltrano::pictures
