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

// GNU's sincos: in the GNU C library the same reductions and polynomials
// as sin and cos, so the same doubles (sine_cosine_test checks it), from
// one call.
inline void sinCosOf(double v, double& s, double& c) {
    ::sincos(v, &s, &c);
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

// sine(v) into s and cosine(v) into c, from one call a lane.
template <class T>
VELTRANO_ALWAYS_INLINE void sineAndCosine(const T& v, T& s, T& c) {
    if constexpr (std::is_floating_point_v<T>) {
        lanes::sinCosOf(v, s, c);
    } else {
        s = v;
        c = v;
        for (std::size_t i = 0; i < sizeof(T) / sizeof(double); ++i) {
            double si, ci;
            lanes::sinCosOf(v[i], si, ci);
            s[i] = si;
            c[i] = ci;
        }
    }
}

}  // namespace veltrano
