#pragma once

#include <cmath>
#include <cstddef>
#include <type_traits>

#include "lorentz.h"

namespace veltrano {

// Constants, sin and cos for every value type a flow is written for: a double
// goes to the standard library, and a packed vector of doubles (GCC's vector
// extension) lane by lane through the same function, so that every lane
// holds exactly the double its point would have alone.
namespace lanes {

template <class T, double (*F)(double)>
VELTRANO_ALWAYS_INLINE T apply(const T& v) {
    if constexpr (std::is_floating_point_v<T>) {
        return F(v);
    } else {
        T r = v;
        for (std::size_t i = 0; i < sizeof(T) / sizeof(double); ++i) r[i] = F(v[i]);
        return r;
    }
}

inline double sinOf(double v) {
    return std::sin(v);
}
inline double cosOf(double v) {
    return std::cos(v);
}

}  // namespace lanes

// The constant c in every lane.
template <class T>
VELTRANO_ALWAYS_INLINE T broadcast(double c) {
    return T{} + c;
}

template <class T>
VELTRANO_ALWAYS_INLINE T sine(const T& v) {
    return lanes::apply<T, lanes::sinOf>(v);
}

template <class T>
VELTRANO_ALWAYS_INLINE T cosine(const T& v) {
    return lanes::apply<T, lanes::cosOf>(v);
}

}  // namespace veltrano
