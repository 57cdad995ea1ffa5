#include "drawn_history_rows.h"

#include <cmath>

namespace veltrano::point_panel {

namespace {

// Rows of one slot are drawn as one: slot k <= kDense holds interval k;
// the later slots are computed as the pictures compute them, to the bit.
std::int64_t slotOf(std::int64_t interval) {
    if (interval <= HistoryRows::kDense) return interval;
    const double dense = HistoryRows::kDense;
    return HistoryRows::kDense +
           static_cast<std::int64_t>(std::log(static_cast<double>(interval) / dense) * HistoryRows::kPerDecade /
                                     std::log(10.0));
}

}  // namespace

void HistoryRows::add(const HistoryRow& row) {
    newest_ = row;
    const std::int64_t slot = slotOf(row.interval);
    if (slot <= lastSlot_) return;
    lastSlot_ = slot;
    kept_.push_back(row);
}

std::vector<HistoryRow> HistoryRows::shown() const {
    std::vector<HistoryRow> rows = kept_;
    if (newest_ && (rows.empty() || rows.back().interval != newest_->interval)) rows.push_back(*newest_);
    return rows;
}

}  // namespace veltrano::point_panel
