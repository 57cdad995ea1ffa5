#pragma once

#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "finite_check.h"
#include "gram_schmidt.h"

namespace veltrano {

// The 0.975 quantile of Student's t distribution with nu >= 1 degrees of
// freedom.
[[nodiscard]] double studentQuantile975(std::int64_t nu);

// Batch means: the measured intervals are cut into consecutive batches, each
// batch gives its own estimate of the exponents, and the spread of those
// estimates bounds the error of their mean. Estimates of batches long
// against the correlation time are nearly independent, so
//   half-width = t(0.975, B - 1) * s / sqrt(B)
// over B batches with sample standard deviation s is the half-width of a
// 95 % confidence interval. Known from kMinBatches batches on.
//
// For the first `exponents` of at most N exponents (N by default); each is
// computed alone, so the first k come out the same whatever the count.
template <std::size_t N>
class BatchMeansOf {
public:
    static constexpr std::int64_t kMinBatches = 10;
    using Values = std::array<double, N>;

    BatchMeansOf() = default;
    explicit BatchMeansOf(std::size_t exponents) : exponents_(exponents) {}

    // One batch's estimates (Welford's update, in this order for every
    // exponent: d = e - mean; mean = mean + d / B; m2 = m2 + d (e - mean)).
    void add(const Values& estimate) {
        ++count_;
        const double b = static_cast<double>(count_);
        for (std::size_t k = 0; k < exponents_; ++k) {
            const double d = estimate[k] - mean_[k];
            mean_[k] = mean_[k] + d / b;
            m2_[k] = m2_[k] + d * (estimate[k] - mean_[k]);
        }
    }

    [[nodiscard]] std::int64_t count() const { return count_; }
    [[nodiscard]] std::size_t exponents() const { return exponents_; }
    // The half-widths (0 beyond the exponents counted), or nullopt with
    // fewer than kMinBatches batches or a spread that is not a finite
    // number.
    [[nodiscard]] std::optional<Values> halfWidths() const {
        if (count_ < kMinBatches) return std::nullopt;
        const double q = studentQuantile975(count_ - 1);
        const double b = static_cast<double>(count_);
        Values h{};
        for (std::size_t k = 0; k < exponents_; ++k) {
            h[k] = (q * std::sqrt(m2_[k] / (b - 1))) / std::sqrt(b);
            if (!isFinite(h[k])) return std::nullopt;
        }
        return h;
    }

private:
    std::size_t exponents_ = N;
    std::int64_t count_ = 0;
    Values mean_{};
    Values m2_{};
};

// The three exponents of Lorenz.
using BatchMeans = BatchMeansOf<kDim>;

}  // namespace veltrano
