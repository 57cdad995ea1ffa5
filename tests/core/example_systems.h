#pragma once

#include <cstddef>

#include "flow_system.h"
#include "system_exponents.h"

// Two flows written in the engine's form for its tests and benchmarks
// (the program's own catalogue lives elsewhere): one of a fixed dimension
// whose divergence changes along the orbit, one whose dimension is chosen
// at run time.
namespace veltrano::examples {

// Roessler: x' = -y - z, y' = x + a y, z' = b + z (x - c), with a, b, c
// (p[0], p[1], p[2]); the trace of the Jacobian is a + (x - c).
struct Roessler {
    static constexpr std::size_t kDimension = 3;
    static constexpr std::size_t kParameters = 3;
    [[nodiscard]] constexpr std::size_t dimension() const { return kDimension; }

    template <class T>
    VELTRANO_ALWAYS_INLINE void flow(const T* x, const T* p, T* dxdt) const {
        dxdt[0] = (-x[1]) - x[2];
        dxdt[1] = x[0] + p[0] * x[1];
        dxdt[2] = p[1] + x[2] * (x[0] - p[2]);
    }

    template <class T, class C>
    VELTRANO_ALWAYS_INLINE void tangent(const C* x, const C* p, const T* u, T* du, std::size_t stride) const {
        du[0] = (-u[stride]) - u[2 * stride];
        du[stride] = u[0] + p[0] * u[stride];
        du[2 * stride] = x[2] * u[0] + (x[0] - p[2]) * u[2 * stride];
    }

    template <class T>
    VELTRANO_ALWAYS_INLINE T divergence(const T* x, const T* p) const {
        return p[0] + (x[0] - p[2]);
    }
};

// Lorenz-96 on a ring of d sites: x_i' = (x_{i+1} - x_{i-2}) x_{i-1} - x_i + F,
// indices modulo d, with the forcing F (p[0]); the trace is -d.
struct Lorenz96 {
    static constexpr std::size_t kDimension = 0;
    static constexpr std::size_t kParameters = 1;
    std::size_t d = 4;
    [[nodiscard]] std::size_t dimension() const { return d; }

    // The sites i+1, i-1 and i-2 around the ring.
    struct Around {
        std::size_t next, previous, second;
    };
    [[nodiscard]] VELTRANO_ALWAYS_INLINE Around around(std::size_t i) const {
        return {i + 1 == d ? 0 : i + 1, i >= 1 ? i - 1 : d - 1, i >= 2 ? i - 2 : (i + 2 * d - 2) % d};
    }

    template <class T>
    VELTRANO_ALWAYS_INLINE void flow(const T* x, const T* p, T* dxdt) const {
        for (std::size_t i = 0; i < d; ++i) {
            const Around a = around(i);
            dxdt[i] = ((x[a.next] - x[a.second]) * x[a.previous] - x[i]) + p[0];
        }
    }

    template <class T, class C>
    VELTRANO_ALWAYS_INLINE void tangent(const C* x, const C*, const T* u, T* du, std::size_t stride) const {
        for (std::size_t i = 0; i < d; ++i) {
            const Around a = around(i);
            du[i * stride] = ((u[a.next * stride] - u[a.second * stride]) * x[a.previous] +
                              (x[a.next] - x[a.second]) * u[a.previous * stride]) -
                             u[i * stride];
        }
    }

    template <class T>
    VELTRANO_ALWAYS_INLINE T divergence(const T*, const T*) const {
        return T{} - static_cast<double>(d);
    }
};

}  // namespace veltrano::examples
