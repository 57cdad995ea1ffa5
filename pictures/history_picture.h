#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "line_chart.h"
#include "gram_schmidt.h"

namespace veltrano::pictures {

// The rows of a history that its picture shows, in a bounded space however
// long the run: every interval up to 1000, then about a thousand rows for
// each tenfold of t (the axis of t is logarithmic), and always the last.
class HistoryPicture {
public:
    void add(std::int64_t interval, double t, const Triple& expo, const std::optional<Triple>& halfWidth);
    // `context` follows the title (the parameters and the run, where known).
    // `only` = 1, 2 or 3 draws that exponent alone (with error bars, where
    // they are known); 0 draws all three.
    [[nodiscard]] LineChart chart(const std::string& context, int only = 0) const;
    [[nodiscard]] bool empty() const { return t_.empty() && !last_; }
    [[nodiscard]] std::int64_t lastInterval() const { return lastInterval_; }

private:
    struct Row {
        double t;
        Triple expo;
        std::optional<Triple> halfWidth;
    };
    void keep(const Row& row);
    std::vector<double> t_;
    std::array<std::vector<double>, 3> expo_, low_, high_;
    bool anyErrors_ = false;
    std::int64_t lastBucket_ = -1;
    std::int64_t lastInterval_ = 0;
    std::optional<Row> last_;  // the newest row, if not kept yet
};

}  // namespace veltrano::pictures
