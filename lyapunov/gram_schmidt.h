#pragma once

#include <array>
#include <cstddef>

#include "lorentz.h"
#include "state_vector.h"

namespace veltrano {

using Triple = std::array<double, kDim>;

// True where v is finite: x - x is +0 for every finite x and NaN for an
// infinity or a NaN. A bool for a double, a mask of lanes for packed lanes.
template <class T>
VELTRANO_ALWAYS_INLINE auto finiteMask(const T& v) {
    return (v - v) == 0;
}

// Classical Gram-Schmidt on `count` tangent vectors of `dimension`
// components, for any value type with the double operators (a double, or
// the lanes of a batch): every projection coefficient of a vector is taken
// before any subtraction from it, sums start at 0 and run over the
// components in order. `at(c, j)` is component c of vector j; `sqrtOf` the
// correctly rounded square root; `norms` and `proj` hold at least `count`
// values. Vector j sees only vectors 0..j-1, so the first k vectors come
// out the same whatever the count beyond them. Returns where every stored
// value stayed finite (no overflow, division by zero or invalid operation);
// the vectors are changed in place either way.
template <class T, class At, class Values, class Sqrt>
VELTRANO_ALWAYS_INLINE auto gramSchmidtVectors(At&& at, std::size_t dimension, std::size_t count, Values& norms,
                                               Values& proj, Sqrt&& sqrtOf) {
    auto ok = finiteMask(T{});
    for (std::size_t j = 0; j < count; ++j) {
        for (std::size_t m = 0; m < j; ++m) {
            T sum{};
            for (std::size_t c = 0; c < dimension; ++c) sum = sum + at(c, m) * at(c, j);
            proj[m] = sum;
            ok = ok & finiteMask(sum);
        }
        for (std::size_t c = 0; c < dimension; ++c) {
            for (std::size_t m = 0; m < j; ++m) {
                T& v = at(c, j);
                v = v - proj[m] * at(c, m);
                ok = ok & finiteMask(v);
            }
        }
        T sumSquares{};
        for (std::size_t c = 0; c < dimension; ++c) sumSquares = sumSquares + at(c, j) * at(c, j);  // exact squares
        ok = ok & finiteMask(sumSquares);
        norms[j] = sqrtOf(sumSquares);
        ok = ok & finiteMask(norms[j]);
        for (std::size_t c = 0; c < dimension; ++c) {
            T& v = at(c, j);
            v = v / norms[j];
            ok = ok & finiteMask(v);
        }
    }
    return ok;
}

// The three tangent vectors of the Lorenz state.
template <class T, class At, class Sqrt>
VELTRANO_ALWAYS_INLINE auto gramSchmidt(At&& at, std::array<T, kDim>& norms, std::array<T, kDim>& proj,
                                        Sqrt&& sqrtOf) {
    return gramSchmidtVectors<T>(at, kDim, kDim, norms, proj, sqrtOf);
}

// Gram-Schmidt on the tangent vectors of `state`; `norms` receives the
// lengths of the orthogonalised vectors and `proj` the last coefficients
// computed. The coordinates (x, y, z) are left alone.
//
// Returns false on an arithmetic fault (overflow, division by zero, invalid
// operation); `state`, `norms` and `proj` are then left as they were.
[[nodiscard]] bool orthonormalise(StateVector& state, Triple& norms, Triple& proj);

}  // namespace veltrano
