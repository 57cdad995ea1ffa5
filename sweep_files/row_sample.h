#pragma once

#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace veltrano {

// Rows spread evenly over all the rows offered, however many there turn out
// to be, in a bounded space: every row while fewer than kLeast have come,
// then at least kLeast and at most 2 kLeast of them, the first included, a
// fixed stride apart; and always the last row offered.
template <class Row>
class RowSample {
public:
    static constexpr std::int64_t kLeast = 17;

    void offer(Row row) {
        if (offered_ % stride_ == 0) {
            kept_.emplace_back(offered_, row);
            if (static_cast<std::int64_t>(kept_.size()) > 2 * kLeast) thin();
        }
        // Assigned, not made anew: the last row's storage is reused.
        if (last_) {
            last_->first = offered_;
            last_->second = std::move(row);
        } else {
            last_.emplace(offered_, std::move(row));
        }
        ++offered_;
    }

    // The sampled rows in the order offered, the last one included.
    [[nodiscard]] std::vector<Row> rows() const {
        std::vector<Row> out;
        for (const auto& [at, row] : kept_) out.push_back(row);
        if (last_ && (kept_.empty() || kept_.back().first != last_->first)) out.push_back(last_->second);
        return out;
    }

private:
    // Twice the stride: every second kept row goes.
    void thin() {
        stride_ *= 2;
        std::vector<std::pair<std::int64_t, Row>> kept;
        for (auto& entry : kept_)
            if (entry.first % stride_ == 0) kept.push_back(std::move(entry));
        kept_ = std::move(kept);
    }

    std::int64_t offered_ = 0;
    std::int64_t stride_ = 1;
    std::vector<std::pair<std::int64_t, Row>> kept_;
    std::optional<std::pair<std::int64_t, Row>> last_;
};

}  // namespace veltrano
