#include "gram_schmidt.h"

#include <cmath>

namespace veltrano {

bool orthonormalise(StateVector& state, Triple& norms, Triple& proj) {
    StateVector s = state;
    Triple newNorms{};
    Triple newProj = proj;
    const bool ok = gramSchmidt<double>([&s](std::size_t c, std::size_t j) -> double& { return s[tangentIndex(c, j)]; },
                                        newNorms, newProj, [](double v) { return std::sqrt(v); });
    if (!ok) return false;
    state = s;
    norms = newNorms;
    proj = newProj;
    return true;
}

}  // namespace veltrano
