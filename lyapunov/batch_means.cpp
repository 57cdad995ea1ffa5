#include "batch_means.h"

#include <array>
#include <atomic>
#include <bit>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>

#include "finite_check.h"

namespace veltrano {

void BatchMeans::add(const Triple& estimate) {
    ++count_;
    const double b = static_cast<double>(count_);
    for (std::size_t k = 0; k < kDim; ++k) {
        const double d = estimate[k] - mean_[k];
        mean_[k] = mean_[k] + d / b;
        m2_[k] = m2_[k] + d * (estimate[k] - mean_[k]);
    }
}

std::optional<Triple> BatchMeans::halfWidths() const {
    if (count_ < kMinBatches) return std::nullopt;
    const double q = studentQuantile975(count_ - 1);
    const double b = static_cast<double>(count_);
    Triple h{};
    for (std::size_t k = 0; k < kDim; ++k) {
        h[k] = (q * std::sqrt(m2_[k] / (b - 1))) / std::sqrt(b);
        if (!isFinite(h[k])) return std::nullopt;
    }
    return h;
}

double studentQuantile975(std::int64_t nu) {
    // Computed in double precision throughout; remembered for the small
    // degrees of freedom that target-error runs ask for again and again.
    using Policy = boost::math::policies::policy<boost::math::policies::promote_double<false>>;
    // The quantile is good to about 1e-11, and the last bits of what Boost
    // computes depend on the machine's mathematical library; rounded to
    // 1e-9 (above 1.96 for every nu), the same double on every machine.
    const auto compute = [](std::int64_t v) {
        const boost::math::students_t_distribution<double, Policy> t(static_cast<double>(v));
        return std::nearbyint(boost::math::quantile(t, 0.975) * 1e9) / 1e9;
    };
    static std::array<std::atomic<std::uint64_t>, 4096> known{};
    if (nu >= static_cast<std::int64_t>(known.size())) return compute(nu);
    auto& slot = known[static_cast<std::size_t>(nu)];
    std::uint64_t bits = slot.load(std::memory_order_relaxed);
    if (bits == 0) {
        bits = std::bit_cast<std::uint64_t>(compute(nu));
        slot.store(bits, std::memory_order_relaxed);
    }
    return std::bit_cast<double>(bits);
}

}  // namespace veltrano
