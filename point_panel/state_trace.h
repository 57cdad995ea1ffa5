#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace veltrano::point_panel {

// The states of a flow of d coordinates a run passes through after its
// transient, in bounded memory, by the rule of AttractorTrace: the state of
// every step whose number is a multiple of stride(), the stride doubling
// (and every other state dropped) whenever `capacity` states are held.
// state(i) is the state after step (i + 1) * stride().
class StateTrace {
public:
    // The states of a flow of dimension `width`, at most `capacity` (even,
    // at least 2) of them: by default as many doubles as AttractorTrace holds.
    explicit StateTrace(std::size_t width, std::size_t capacity = 0);

    void add(std::span<const double> x);

    [[nodiscard]] std::size_t width() const { return width_; }
    [[nodiscard]] std::size_t size() const { return values_.size() / width_; }
    [[nodiscard]] std::span<const double> state(std::size_t i) const {
        return std::span(values_).subspan(i * width_, width_);
    }
    [[nodiscard]] std::int64_t stride() const { return stride_; }
    [[nodiscard]] std::int64_t thinnings() const { return thinnings_; }

private:
    std::size_t width_;
    std::size_t capacity_;
    std::vector<double> values_;
    std::int64_t stride_ = 1;
    std::int64_t steps_ = 0;
    std::int64_t untilKept_ = 1;
    std::int64_t thinnings_ = 0;
};

}  // namespace veltrano::point_panel
