#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "gram_schmidt.h"

namespace veltrano::point_panel {

// The states a run passes through after its transient, in bounded memory.
// Steps are numbered from 1; the trace holds the state (x, y, z) of every
// step whose number is a multiple of stride(), in order. The stride starts
// at 1; when the trace is full it doubles and every other state held is
// dropped, so that the states kept stay evenly spread over the whole run
// and never number more than the capacity: states()[i] is the state after
// step (i + 1) * stride().
class AttractorTrace {
public:
    // A few hundred thousand points fill a picture of the attractor densely;
    // 2.4 MB of doubles.
    static constexpr std::size_t kCapacity = 100'000;

    // `capacity` is even and at least 2 (otherwise the next even number above).
    explicit AttractorTrace(std::size_t capacity = kCapacity);

    void add(const Triple& xyz);

    [[nodiscard]] std::span<const Triple> states() const { return states_; }
    [[nodiscard]] std::int64_t stride() const { return stride_; }
    [[nodiscard]] std::int64_t steps() const { return steps_; }
    // How many times the stride has doubled: a reader that copied states
    // before a doubling must copy them all again.
    [[nodiscard]] std::int64_t thinnings() const { return thinnings_; }

private:
    std::size_t capacity_;
    std::vector<Triple> states_;
    std::int64_t stride_ = 1;
    std::int64_t steps_ = 0;
    std::int64_t untilKept_ = 1;  // steps to the next multiple of the stride
    std::int64_t thinnings_ = 0;
};

}  // namespace veltrano::point_panel
