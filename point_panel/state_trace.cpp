#include "state_trace.h"

#include <algorithm>

#include "attractor_trace.h"

namespace veltrano::point_panel {

StateTrace::StateTrace(std::size_t width, std::size_t capacity) : width_(std::max<std::size_t>(1, width)) {
    if (capacity == 0) capacity = AttractorTrace::kCapacity * 3 / width_;
    capacity_ = std::max<std::size_t>(2, capacity + capacity % 2);
    values_.reserve(capacity_ * width_);
}

void StateTrace::add(std::span<const double> x) {
    ++steps_;
    if (--untilKept_ > 0) return;
    untilKept_ = stride_;
    if (size() == capacity_) {
        // States at odd indices lie at even multiples of the stride.
        std::size_t kept = 0;
        for (std::size_t i = 1; i < capacity_; i += 2, ++kept)
            std::copy_n(values_.begin() + static_cast<std::ptrdiff_t>(i * width_), width_,
                        values_.begin() + static_cast<std::ptrdiff_t>(kept * width_));
        values_.resize(kept * width_);
        stride_ *= 2;
        ++thinnings_;
        if (steps_ % stride_ != 0) {
            untilKept_ = stride_ / 2;
            return;
        }
        untilKept_ = stride_;
    }
    values_.insert(values_.end(), x.begin(), x.begin() + static_cast<std::ptrdiff_t>(width_));
}

}  // namespace veltrano::point_panel
