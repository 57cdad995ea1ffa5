#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "gram_schmidt.h"

namespace veltrano::point_panel {

// One row of a run's history: what a run of `interval` measured intervals
// gives, as `veltrano-cli history` writes it.
struct HistoryRow {
    std::int64_t interval = 0;
    double t = 0.0;
    Triple expo{};
    std::optional<Triple> halfWidth;  // with error bars, once enough batches are complete
    // Of a flow other than Lorenz: all k estimates (expo holds the first
    // three) and, where halfWidth is known, their k half-widths.
    std::vector<double> spectrum{};
    std::vector<double> spectrumHalfWidth{};
    friend bool operator==(const HistoryRow&, const HistoryRow&) = default;
};

// The rows of a history its picture draws, in bounded space however long the
// run (the axis of t is logarithmic): every interval up to kDense, then the
// first row of each of kPerDecade equal steps of log10(interval) per tenfold,
// the rule of the history pictures, so that these rows and the newest make
// the same picture as the whole history. The newest row is always at hand,
// kept or not.
class HistoryRows {
public:
    static constexpr std::int64_t kDense = 1000;
    static constexpr int kPerDecade = 1000;

    void add(const HistoryRow& row);

    [[nodiscard]] const std::vector<HistoryRow>& kept() const { return kept_; }
    [[nodiscard]] const std::optional<HistoryRow>& newest() const { return newest_; }
    // The kept rows and, after them, the newest where it was not kept.
    [[nodiscard]] std::vector<HistoryRow> shown() const;

private:
    std::vector<HistoryRow> kept_;
    std::optional<HistoryRow> newest_;
    std::int64_t lastSlot_ = -1;
};

}  // namespace veltrano::point_panel
