#include "batch_means.h"

#include <array>
#include <atomic>
#include <bit>
#include <boost/math/distributions/students_t.hpp>
#include <cmath>

namespace veltrano {

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
