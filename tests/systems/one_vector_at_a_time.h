#pragma once

#include <cstddef>

#include "flow_system.h"

// A flow of the catalogue with its `flowAndTangents` hidden: the engine then
// evaluates the flow and then each vector through `tangent`, the way
// it runs every flow without the hook.
namespace veltrano::testing {

template <class System>
struct OneVectorAtATime {
    static constexpr std::size_t kDimension = System::kDimension;
    static constexpr std::size_t kParameters = System::kParameters;
    System system;
    [[nodiscard]] constexpr std::size_t dimension() const { return system.dimension(); }

    template <class T>
    VELTRANO_ALWAYS_INLINE void flow(const T* x, const T* p, T* dxdt) const {
        system.flow(x, p, dxdt);
    }
    template <class T, class C>
    VELTRANO_ALWAYS_INLINE void tangent(const C* x, const C* p, const T* u, T* du, std::size_t stride) const {
        system.tangent(x, p, u, du, stride);
    }
    template <class T>
    VELTRANO_ALWAYS_INLINE T divergence(const T* x, const T* p) const {
        return system.divergence(x, p);
    }
};

}  // namespace veltrano::testing
