#pragma once

#include "fault_reporter.h"
#include "finite_check.h"
#include "state_vector.h"

namespace veltrano {

// The Lorenz equations and their linearisation, written once for any value
// type that has the double operators: plain doubles, the packed pairs of
// lanes of the single run, and the lanes of a batch of independent points.
// The parenthesisation is the evaluation order: with contraction off it
// reproduces the same doubles on every IEEE machine, lane by lane.
//
// Always inlined: the batched integrator is compiled for several instruction
// sets, and each copy must carry its own code for the equations.
#define VELTRANO_ALWAYS_INLINE inline __attribute__((always_inline))

template <class T>
struct FlowDerivative {
    T dx, dy, dz;
};

template <class T>
VELTRANO_ALWAYS_INLINE FlowDerivative<T> lorenzFlow(const T& x, const T& y, const T& z, const T& sv, const T& rv,
                                                    const T& bv) {
    return {sv * (y - x), (rv * x - y) - x * z, (-bv) * z + x * y};
}

template <class T>
struct TangentDerivative {
    T du, dv, dw;
};

// The Jacobian at (x, y, z) applied to the tangent vector (u, v, w); rz is
// rv - z, the same for every vector. The coefficients may be plain doubles
// while the vector is packed.
template <class T, class C>
VELTRANO_ALWAYS_INLINE TangentDerivative<T> lorenzTangent(const T& u, const T& v, const T& w, const C& x, const C& y,
                                                          const C& rz, const C& sv, const C& bv) {
    return {sv * (v - u), (rz * u - v) - x * w, (y * u + x * v) - bv * w};
}

// The whole vector field on a state laid out as StateVector, for one value
// type throughout (doubles, or the lanes of a batch).
template <class T>
VELTRANO_ALWAYS_INLINE void lorenzField(const std::array<T, kComponents>& X, std::array<T, kComponents>& dxdt,
                                        const T& sv, const T& rv, const T& bv) {
    const T x = X[0], y = X[1], z = X[2];
    const FlowDerivative<T> f = lorenzFlow(x, y, z, sv, rv, bv);
    dxdt[0] = f.dx;
    dxdt[1] = f.dy;
    dxdt[2] = f.dz;
    const T rz = rv - z;
    for (std::size_t j = 0; j < kDim; ++j) {
        const auto d =
            lorenzTangent(X[tangentIndex(0, j)], X[tangentIndex(1, j)], X[tangentIndex(2, j)], x, y, rz, sv, bv);
        dxdt[tangentIndex(0, j)] = d.du;
        dxdt[tangentIndex(1, j)] = d.dv;
        dxdt[tangentIndex(2, j)] = d.dw;
    }
}

// The vector field on the whole state: dxdt receives the time derivative of
// X for the parameters sv (sigma), rv (R) and bv (b). On an arithmetic fault
// the fault is reported once through `reporter`, then ErroreOn becomes
// true; dxdt must not be used in that case.
inline void Lorentz(const StateVector& X, StateVector& dxdt, double sv, double rv, double bv, bool& ErroreOn,
                    FaultReporter& reporter) {
    ErroreOn = false;
    lorenzField(X, dxdt, sv, rv, bv);
    if (!allFinite(dxdt)) [[unlikely]] {
        reporter.reportFault();
        ErroreOn = true;
    }
}

}  // namespace veltrano
