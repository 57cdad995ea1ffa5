#pragma once

#include "error_reporter.h"
#include "finite_check.h"
#include "state_vector.h"

namespace veltrano {

// The Lorenz vector field with its tangent equations: dxdt receives the time
// derivative of X for the parameters sv (sigma), rv (R) and bv (b). The
// tangent part is the Jacobian at (x, y, z) applied to each tangent vector.
//
// The evaluation order of every expression is part of the result: with
// contraction off it reproduces the same doubles on every IEEE machine.
//
// On an arithmetic fault the message is reported once through `reporter`,
// then ErroreOn becomes true; dxdt must not be used in that case.
inline void Lorentz(const StateVector& X, StateVector& dxdt, double sv, double rv, double bv,
                    bool& ErroreOn, ErrorReporter& reporter) {
    ErroreOn = false;
    const double x = X[0];
    const double y = X[1];
    const double z = X[2];
    dxdt[0] = sv * (y - x);
    dxdt[1] = (rv * x - y) - x * z;
    dxdt[2] = (-bv) * z + x * y;
    for (std::size_t i = 0; i < kDim; ++i) {
        const double u = X[3 + i];  // x-component of tangent vector i
        const double v = X[6 + i];  // y-component
        const double w = X[9 + i];  // z-component
        dxdt[3 + i] = sv * (v - u);
        dxdt[6 + i] = ((rv - z) * u - v) - x * w;
        dxdt[9 + i] = (y * u + x * v) - bv * w;
    }
    if (!allFinite(dxdt)) [[unlikely]] {
        reporter.reportError(kComputationErrorText);
        ErroreOn = true;
    }
}

}  // namespace veltrano
