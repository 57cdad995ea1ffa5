#pragma once

#include <cstdint>
#include <optional>

#include "gram_schmidt.h"

namespace veltrano {

// Batch means: the measured intervals are cut into consecutive batches, each
// batch gives its own estimate of the three exponents, and the spread of
// those estimates bounds the error of their mean. Estimates of batches long
// against the correlation time are nearly independent, so
//   half-width = t(0.975, B - 1) * s / sqrt(B)
// over B batches with sample standard deviation s is the half-width of a
// 95 % confidence interval. Known from kMinBatches batches on.
class BatchMeans {
public:
    static constexpr std::int64_t kMinBatches = 10;

    // One batch's estimates (Welford's update, in this order for every
    // exponent: d = e - mean; mean = mean + d / B; m2 = m2 + d (e - mean)).
    void add(const Triple& estimate);

    [[nodiscard]] std::int64_t count() const { return count_; }
    // The half-widths, or nullopt with fewer than kMinBatches batches or a
    // spread that is not a finite number.
    [[nodiscard]] std::optional<Triple> halfWidths() const;

private:
    std::int64_t count_ = 0;
    Triple mean_{};
    Triple m2_{};
};

// The 0.975 quantile of Student's t distribution with nu >= 1 degrees of
// freedom.
[[nodiscard]] double studentQuantile975(std::int64_t nu);

}  // namespace veltrano
