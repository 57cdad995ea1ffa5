#include "attractor_trace.h"

#include <algorithm>

namespace veltrano::point_panel {

AttractorTrace::AttractorTrace(std::size_t capacity) : capacity_(std::max<std::size_t>(2, capacity + capacity % 2)) {
    states_.reserve(capacity_);
}

void AttractorTrace::add(const Triple& xyz) {
    ++steps_;
    if (steps_ % stride_ != 0) return;
    if (states_.size() == capacity_) {
        // States at odd indices lie at even multiples of the stride.
        std::size_t kept = 0;
        for (std::size_t i = 1; i < states_.size(); i += 2) states_[kept++] = states_[i];
        states_.resize(kept);
        stride_ *= 2;
        ++thinnings_;
        if (steps_ % stride_ != 0) return;
    }
    states_.push_back(xyz);
}

}  // namespace veltrano::point_panel
