#pragma once

#include <cstddef>

#include "elementary_functions.h"
#include "flow_system.h"

namespace veltrano {

// Lorenz-96 on a ring of d sites, d chosen at run time (at least 4, so that
// the neighbours i - 2, i - 1, i + 1 of every site are distinct from it and
// from each other): x_i' = (x_{i+1} - x_{i-2}) x_{i-1} - x_i + F, indices
// modulo d.
class Lorenz96System {
public:
    static constexpr std::size_t kDimension = 0;
    static constexpr std::size_t kParameters = 1;
    static constexpr std::size_t kMinDimension = 4;

    // d >= kMinDimension; the catalogue refuses smaller ones before this.
    explicit constexpr Lorenz96System(std::size_t d) : d_(d) {}
    [[nodiscard]] constexpr std::size_t dimension() const { return d_; }

    template <class T>
    VELTRANO_ALWAYS_INLINE void flow(const T* x, const T* p, T* dxdt) const {
        const T& F = p[0];
        for (std::size_t i = 0; i < d_; ++i) dxdt[i] = (x[next(i)] - x[back2(i)]) * x[back1(i)] - x[i] + F;
    }
    template <class T, class C>
    VELTRANO_ALWAYS_INLINE void tangent(const C* x, const C*, const T* u, T* du, std::size_t stride) const {
        for (std::size_t i = 0; i < d_; ++i) {
            const std::size_t n = next(i), b1 = back1(i), b2 = back2(i);
            du[i * stride] = (u[n * stride] - u[b2 * stride]) * x[b1] + (x[n] - x[b2]) * u[b1 * stride] - u[i * stride];
        }
    }
    // The flow, then site by site all k vectors at once: the sites around i
    // and the difference x_{i+1} - x_{i-2} once a site rather than once a
    // vector, the vectors' components of a site side by side in memory, and
    // the neighbours of the sites away from the ring's seam without tests.
    template <class T>
    VELTRANO_ALWAYS_INLINE void flowAndTangents(const T* x, const T* p, T* dxdt, const T* u, T* du,
                                                std::size_t k) const {
        flow(x, p, dxdt);
        const auto site = [ x, u, du, k ](std::size_t i, std::size_t n, std::size_t b1, std::size_t b2)
            __attribute__((always_inline)) {
            const T xb1 = x[b1], dx = x[n] - x[b2];
            const T *un = u + n * k, *ub2 = u + b2 * k, *ub1 = u + b1 * k, *ui = u + i * k;
            T* dui = du + i * k;
            for (std::size_t j = 0; j < k; ++j) dui[j] = (un[j] - ub2[j]) * xb1 + dx * ub1[j] - ui[j];
        };
        site(0, 1, d_ - 1, d_ - 2);
        site(1, 2, 0, d_ - 1);
        for (std::size_t i = 2; i + 1 < d_; ++i) site(i, i + 1, i - 1, i - 2);
        site(d_ - 1, 0, d_ - 2, d_ - 3);
    }
    template <class T>
    VELTRANO_ALWAYS_INLINE T divergence(const T*, const T*) const {
        return broadcast<T>(-static_cast<double>(d_));
    }

private:
    [[nodiscard]] constexpr std::size_t next(std::size_t i) const { return i + 1 == d_ ? 0 : i + 1; }
    [[nodiscard]] constexpr std::size_t back1(std::size_t i) const { return i == 0 ? d_ - 1 : i - 1; }
    [[nodiscard]] constexpr std::size_t back2(std::size_t i) const { return i < 2 ? i + d_ - 2 : i - 2; }

    std::size_t d_;
};

}  // namespace veltrano
