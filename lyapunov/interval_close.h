#pragma once

#include <array>
#include <cstddef>

#include "gram_schmidt.h"

namespace veltrano {

// The end of an interval, for any value type with the double operators (a
// double for the single run, the lanes of a batch): Gram-Schmidt on
// `count` tangent vectors of `dimension` components (see
// gramSchmidtVectors), then for each exponent k in order its logarithm
// added to its sum and the estimate sums[k] / t. `addLog(k, norm, sum)`
// adds ln(norm) to sum where norm > 0 (a norm that is not above 0 adds
// nothing); the lanes also keep the logarithms for their batches and add
// none for a lane in its transient. `unmeasured` marks where the sums do
// not count (false for a double, the lanes in their transient): there only
// Gram-Schmidt must stay finite.
//
// Returns where every stored value stayed finite; the caller commits the
// new vectors, sums and estimates only there.
template <class T, class At, class Values, class Sqrt, class AddLog, class Unmeasured>
VELTRANO_ALWAYS_INLINE auto closeIntervalVectors(At&& at, std::size_t dimension, std::size_t count, Values& norms,
                                                 Values& proj, Values& sums, Values& estimates, const T& t,
                                                 Sqrt&& sqrtOf, AddLog&& addLog, const Unmeasured& unmeasured) {
    auto ok = gramSchmidtVectors<T>(at, dimension, count, norms, proj, sqrtOf);
    for (std::size_t k = 0; k < count; ++k) {
        addLog(k, norms[k], sums[k]);
        estimates[k] = sums[k] / t;
        ok = ok & ((finiteMask(sums[k]) & finiteMask(estimates[k])) | unmeasured);
    }
    return ok;
}

// The three exponents of the Lorenz state.
template <class T, class At, class Sqrt, class AddLog, class Unmeasured>
VELTRANO_ALWAYS_INLINE auto closeInterval(At&& at, std::array<T, kDim>& norms, std::array<T, kDim>& proj,
                                          std::array<T, kDim>& sums, std::array<T, kDim>& estimates, const T& t,
                                          Sqrt&& sqrtOf, AddLog&& addLog, const Unmeasured& unmeasured) {
    return closeIntervalVectors<T>(at, kDim, kDim, norms, proj, sums, estimates, t, sqrtOf, addLog, unmeasured);
}

}  // namespace veltrano
