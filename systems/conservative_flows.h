#pragma once

#include <cstddef>

#include "elementary_functions.h"
#include "flow_system.h"

// Flows that keep phase-space volume on average or exactly, in the engine's
// form (flow_system.h); fields in the parenthesisation of their equation
// texts in catalogue.cpp.
namespace veltrano {

// The Nosé-Hoover oscillator in Sprott's form (his case A), without
// parameters: the divergence is z, whose time average vanishes on the
// chaotic sea, so the exponents sum to zero.
struct NoseHooverSystem {
    static constexpr std::size_t kDimension = 3;
    static constexpr std::size_t kParameters = 0;
    [[nodiscard]] constexpr std::size_t dimension() const { return kDimension; }

    template <class T>
    VELTRANO_ALWAYS_INLINE void flow(const T* s, const T*, T* dsdt) const {
        const T &x = s[0], &y = s[1], &z = s[2];
        dsdt[0] = y;
        dsdt[1] = -x + y * z;
        dsdt[2] = 1.0 - y * y;
    }
    template <class T, class C>
    VELTRANO_ALWAYS_INLINE void tangent(const C* s, const C*, const T* u, T* du, std::size_t stride) const {
        const C &y = s[1], &z = s[2];
        const T &u0 = u[0], &u1 = u[stride], &u2 = u[2 * stride];
        du[0] = u1;
        du[stride] = z * u1 + y * u2 - u0;
        du[2 * stride] = (y * -2.0) * u1;
    }
    template <class T>
    VELTRANO_ALWAYS_INLINE T divergence(const T* s, const T*) const {
        return s[2];
    }
};

// Hénon-Heiles: x, y and their momenta px, py, without parameters; the
// energy (px^2 + py^2 + x^2 + y^2) / 2 + x^2 y - y^3 / 3 is chosen by the
// start. Hamiltonian: the exponents come in pairs of opposite sign.
struct HenonHeilesSystem {
    static constexpr std::size_t kDimension = 4;
    static constexpr std::size_t kParameters = 0;
    [[nodiscard]] constexpr std::size_t dimension() const { return kDimension; }

    template <class T>
    VELTRANO_ALWAYS_INLINE void flow(const T* s, const T*, T* dsdt) const {
        const T &x = s[0], &y = s[1], &px = s[2], &py = s[3];
        dsdt[0] = px;
        dsdt[1] = py;
        dsdt[2] = -x - 2.0 * x * y;
        dsdt[3] = -y - x * x + y * y;
    }
    template <class T, class C>
    VELTRANO_ALWAYS_INLINE void tangent(const C* s, const C*, const T* u, T* du, std::size_t stride) const {
        const C &x = s[0], &y = s[1];
        const T &u0 = u[0], &u1 = u[stride], &u2 = u[2 * stride], &u3 = u[3 * stride];
        const C x2 = x * 2.0;
        du[0] = u2;
        du[stride] = u3;
        du[2 * stride] = -(y * 2.0 + 1.0) * u0 - x2 * u1;
        du[3 * stride] = (y * 2.0 - 1.0) * u1 - x2 * u0;
    }
    template <class T>
    VELTRANO_ALWAYS_INLINE T divergence(const T*, const T*) const {
        return broadcast<T>(0.0);
    }
};

}  // namespace veltrano
