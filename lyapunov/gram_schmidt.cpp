#include "gram_schmidt.h"

#include <cmath>

#include "finite_check.h"

namespace veltrano {

namespace {

// Tangent vector j as the three components it occupies in the state.
double& component(StateVector& s, std::size_t vector, std::size_t c) {
    return s[tangentIndex(c, vector)];
}

double square(double v) {
    return v * v;
}  // the exact power with exponent 2

}  // namespace

bool orthonormalise(StateVector& state, Triple& norms, Triple& proj) {
    StateVector s = state;
    Triple newNorms{};
    Triple newProj = proj;
    bool ok = true;

    for (std::size_t j = 0; j < kDim; ++j) {
        if (j > 0) {
            for (std::size_t m = 0; m < j; ++m) {
                double sum = 0.0;
                for (std::size_t c = 0; c < kDim; ++c) sum = sum + component(s, m, c) * component(s, j, c);
                newProj[m] = sum;
                ok &= isFinite(sum);
            }
            for (std::size_t c = 0; c < kDim; ++c) {
                for (std::size_t m = 0; m < j; ++m) {
                    double& v = component(s, j, c);
                    v = v - newProj[m] * component(s, m, c);
                    ok &= isFinite(v);
                }
            }
        }
        double sumSquares = 0.0;
        for (std::size_t c = 0; c < kDim; ++c) sumSquares = sumSquares + square(component(s, j, c));
        ok &= isFinite(sumSquares);
        newNorms[j] = std::sqrt(sumSquares);
        ok &= isFinite(newNorms[j]);
        for (std::size_t c = 0; c < kDim; ++c) {
            double& v = component(s, j, c);
            v = v / newNorms[j];
            ok &= isFinite(v);
        }
    }
    if (!ok) return false;
    state = s;
    norms = newNorms;
    proj = newProj;
    return true;
}

}  // namespace veltrano
