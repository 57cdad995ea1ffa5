#include "attractor_trace.h"

#include <algorithm>

namespace veltrano::point_panel {

AttractorTrace::AttractorTrace(std::size_t capacity) : capacity_(std::max<std::size_t>(2, capacity + capacity % 2)) {
    states_.reserve(capacity_);
}

void AttractorTrace::add(const Triple& xyz) {
    ++steps_;
    if (--untilKept_ > 0) return;
    untilKept_ = stride_;
    if (states_.size() == capacity_) {
        // States at odd indices lie at even multiples of the stride.
        std::size_t kept = 0;
        for (std::size_t i = 1; i < states_.size(); i += 2) states_[kept++] = states_[i];
        states_.resize(kept);
        stride_ *= 2;
        ++thinnings_;
        // This step is an odd multiple of the old stride: the next to keep
        // lies one old stride on.
        if (steps_ % stride_ != 0) {
            untilKept_ = stride_ / 2;
            return;
        }
        untilKept_ = stride_;
    }
    states_.push_back(xyz);
}

}  // namespace veltrano::point_panel
