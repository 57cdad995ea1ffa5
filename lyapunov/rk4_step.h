#pragma once

#include <array>
#include <cstddef>

#include "lorentz.h"

namespace veltrano {

// One classical fourth-order Runge-Kutta step of length h from `s` into
// `next`, for a state of any value type with the double operators (doubles,
// packed lanes, the lanes of a batch). `field(x, dxdt)` writes the
// derivative at x. The expressions are the evaluation order of the method:
//   trial = (k1 h)/2 + s,  (k2 h)/2 + s,  k3 h + s
//   next  = ((((k3 + k2) 2) + (k4 + k1)) h)/6 + s
// (k3 + k2) 2 is formed as soon as k3 is known, so that k2 and k3 need not
// be kept; the operations and their order are the same.
template <class V, std::size_t N, class Field>
VELTRANO_ALWAYS_INLINE void rk4Step(const std::array<V, N>& s, std::array<V, N>& next, double h, Field&& field) {
    std::array<V, N> k1, k23, k, trial;
    field(s, k1);
    for (std::size_t i = 0; i < N; ++i) trial[i] = (k1[i] * h) / 2 + s[i];
    field(trial, k23);  // k2
    for (std::size_t i = 0; i < N; ++i) trial[i] = (k23[i] * h) / 2 + s[i];
    field(trial, k);  // k3
    for (std::size_t i = 0; i < N; ++i) {
        trial[i] = k[i] * h + s[i];
        k23[i] = (k[i] + k23[i]) * 2;
    }
    field(trial, k);  // k4
    for (std::size_t i = 0; i < N; ++i) next[i] = ((k23[i] + (k[i] + k1[i])) * h) / 6 + s[i];
}

// The same step for a state whose size is chosen at run time: the stage
// values live in `scratch` (four buffers of the state's size, kept by the
// caller from step to step), the operations and their order are the same.
template <class Buffer, class Field>
VELTRANO_ALWAYS_INLINE void rk4Step(const Buffer& s, Buffer& next, double h, Field&& field,
                                    std::array<Buffer, 4>& scratch) {
    auto& [k1, k23, k, trial] = scratch;
    const std::size_t n = s.size();
    field(s, k1);
    for (std::size_t i = 0; i < n; ++i) trial[i] = (k1[i] * h) / 2 + s[i];
    field(trial, k23);  // k2
    for (std::size_t i = 0; i < n; ++i) trial[i] = (k23[i] * h) / 2 + s[i];
    field(trial, k);  // k3
    for (std::size_t i = 0; i < n; ++i) {
        trial[i] = k[i] * h + s[i];
        k23[i] = (k[i] + k23[i]) * 2;
    }
    field(trial, k);  // k4
    for (std::size_t i = 0; i < n; ++i) next[i] = ((k23[i] + (k[i] + k1[i])) * h) / 6 + s[i];
}

}  // namespace veltrano
