#pragma once

#include "error_reporter.h"
#include "finite_check.h"
#include "state_vector.h"

namespace veltrano {

// The Lorenz equations and their linearisation, written once for any value
// type that has the double operators: plain doubles here, and packed pairs
// of lanes in the integrator. The parenthesisation is the evaluation order:
// with contraction off it reproduces the same doubles on every IEEE machine.

struct FlowDerivative {
    double dx, dy, dz;
};

inline FlowDerivative lorenzFlow(double x, double y, double z, double sv, double rv, double bv) {
    return {sv * (y - x), (rv * x - y) - x * z, (-bv) * z + x * y};
}

template <class T>
struct TangentDerivative {
    T du, dv, dw;
};

// The Jacobian at (x, y, z) applied to the tangent vector (u, v, w); rz is
// rv - z, the same for every vector.
template <class T>
inline TangentDerivative<T> lorenzTangent(const T& u, const T& v, const T& w, double x, double y, double rz, double sv,
                                          double bv) {
    return {sv * (v - u), (rz * u - v) - x * w, (y * u + x * v) - bv * w};
}

// The vector field on the whole state: dxdt receives the time derivative of
// X for the parameters sv (sigma), rv (R) and bv (b). On an arithmetic fault
// the message is reported once through `reporter`, then ErroreOn becomes
// true; dxdt must not be used in that case.
inline void Lorentz(const StateVector& X, StateVector& dxdt, double sv, double rv, double bv, bool& ErroreOn,
                    ErrorReporter& reporter) {
    ErroreOn = false;
    const double x = X[0], y = X[1], z = X[2];
    const FlowDerivative f = lorenzFlow(x, y, z, sv, rv, bv);
    dxdt[0] = f.dx;
    dxdt[1] = f.dy;
    dxdt[2] = f.dz;
    const double rz = rv - z;
    for (std::size_t j = 0; j < kDim; ++j) {
        const auto d =
            lorenzTangent(X[tangentIndex(0, j)], X[tangentIndex(1, j)], X[tangentIndex(2, j)], x, y, rz, sv, bv);
        dxdt[tangentIndex(0, j)] = d.du;
        dxdt[tangentIndex(1, j)] = d.dv;
        dxdt[tangentIndex(2, j)] = d.dw;
    }
    if (!allFinite(dxdt)) [[unlikely]] {
        reporter.reportError(kComputationErrorText);
        ErroreOn = true;
    }
}

}  // namespace veltrano
