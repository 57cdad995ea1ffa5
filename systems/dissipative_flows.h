#pragma once

#include <cstddef>

#include "elementary_functions.h"
#include "flow_system.h"

// Classic dissipative chaotic flows in the engine's form (flow_system.h).
// Each field is written in the parenthesisation of its equation text in
// catalogue.cpp (left to right, products before sums), so that the text,
// evaluated in its own order, gives the same doubles. The tangents are the
// Jacobians worked out by hand, applied to one vector.
namespace veltrano {

// Rössler: a, b, c.
struct RosslerSystem {
    static constexpr std::size_t kDimension = 3;
    static constexpr std::size_t kParameters = 3;
    [[nodiscard]] constexpr std::size_t dimension() const { return kDimension; }

    template <class T>
    VELTRANO_ALWAYS_INLINE void flow(const T* s, const T* p, T* dsdt) const {
        const T &x = s[0], &y = s[1], &z = s[2], &a = p[0], &b = p[1], &c = p[2];
        dsdt[0] = -y - z;
        dsdt[1] = x + a * y;
        dsdt[2] = b + z * (x - c);
    }
    template <class T, class C>
    VELTRANO_ALWAYS_INLINE void tangent(const C* s, const C* p, const T* u, T* du, std::size_t stride) const {
        const C &x = s[0], &z = s[2], &a = p[0], &c = p[2];
        const T &u0 = u[0], &u1 = u[stride], &u2 = u[2 * stride];
        du[0] = -u1 - u2;
        du[stride] = u0 + a * u1;
        du[2 * stride] = z * u0 + (x - c) * u2;
    }
    template <class T>
    VELTRANO_ALWAYS_INLINE T divergence(const T* s, const T* p) const {
        return p[0] + (s[0] - p[2]);
    }
};

// Chen: a, b, c.
struct ChenSystem {
    static constexpr std::size_t kDimension = 3;
    static constexpr std::size_t kParameters = 3;
    [[nodiscard]] constexpr std::size_t dimension() const { return kDimension; }

    template <class T>
    VELTRANO_ALWAYS_INLINE void flow(const T* s, const T* p, T* dsdt) const {
        const T &x = s[0], &y = s[1], &z = s[2], &a = p[0], &b = p[1], &c = p[2];
        dsdt[0] = a * (y - x);
        dsdt[1] = (c - a) * x - x * z + c * y;
        dsdt[2] = x * y - b * z;
    }
    template <class T, class C>
    VELTRANO_ALWAYS_INLINE void tangent(const C* s, const C* p, const T* u, T* du, std::size_t stride) const {
        const C &x = s[0], &y = s[1], &z = s[2], &a = p[0], &b = p[1], &c = p[2];
        const T &u0 = u[0], &u1 = u[stride], &u2 = u[2 * stride];
        du[0] = a * (u1 - u0);
        du[stride] = ((c - a) - z) * u0 + c * u1 - x * u2;
        du[2 * stride] = y * u0 + x * u1 - b * u2;
    }
    template <class T>
    VELTRANO_ALWAYS_INLINE T divergence(const T*, const T* p) const {
        return (p[2] - p[0]) - p[1];
    }
};

// Lü: a, b, c.
struct LuSystem {
    static constexpr std::size_t kDimension = 3;
    static constexpr std::size_t kParameters = 3;
    [[nodiscard]] constexpr std::size_t dimension() const { return kDimension; }

    template <class T>
    VELTRANO_ALWAYS_INLINE void flow(const T* s, const T* p, T* dsdt) const {
        const T &x = s[0], &y = s[1], &z = s[2], &a = p[0], &b = p[1], &c = p[2];
        dsdt[0] = a * (y - x);
        dsdt[1] = -x * z + c * y;
        dsdt[2] = x * y - b * z;
    }
    template <class T, class C>
    VELTRANO_ALWAYS_INLINE void tangent(const C* s, const C* p, const T* u, T* du, std::size_t stride) const {
        const C &x = s[0], &y = s[1], &z = s[2], &a = p[0], &b = p[1], &c = p[2];
        const T &u0 = u[0], &u1 = u[stride], &u2 = u[2 * stride];
        du[0] = a * (u1 - u0);
        du[stride] = c * u1 - z * u0 - x * u2;
        du[2 * stride] = y * u0 + x * u1 - b * u2;
    }
    template <class T>
    VELTRANO_ALWAYS_INLINE T divergence(const T*, const T* p) const {
        return (p[2] - p[0]) - p[1];
    }
};

// Thomas' cyclically symmetric flow: b.
struct ThomasSystem {
    static constexpr std::size_t kDimension = 3;
    static constexpr std::size_t kParameters = 1;
    [[nodiscard]] constexpr std::size_t dimension() const { return kDimension; }

    template <class T>
    VELTRANO_ALWAYS_INLINE void flow(const T* s, const T* p, T* dsdt) const {
        const T &x = s[0], &y = s[1], &z = s[2], &b = p[0];
        dsdt[0] = sine(y) - b * x;
        dsdt[1] = sine(z) - b * y;
        dsdt[2] = sine(x) - b * z;
    }
    template <class T, class C>
    VELTRANO_ALWAYS_INLINE void tangent(const C* s, const C* p, const T* u, T* du, std::size_t stride) const {
        const C& b = p[0];
        const T &u0 = u[0], &u1 = u[stride], &u2 = u[2 * stride];
        du[0] = cosine(s[1]) * u1 - b * u0;
        du[stride] = cosine(s[2]) * u2 - b * u1;
        du[2 * stride] = cosine(s[0]) * u0 - b * u2;
    }
    // The sine and cosine of each coordinate from one call of the library
    // (the doubles of sin and cos, see sineAndCosine), for the flow and all
    // k vectors: those calls cost more than the rest of the stage.
    template <class T>
    VELTRANO_ALWAYS_INLINE void flowAndTangents(const T* s, const T* p, T* dsdt, const T* u, T* du,
                                                std::size_t k) const {
        const T &x = s[0], &y = s[1], &z = s[2], &b = p[0];
        T sx, cx, sy, cy, sz, cz;
        sineAndCosine(x, sx, cx);
        sineAndCosine(y, sy, cy);
        sineAndCosine(z, sz, cz);
        dsdt[0] = sy - b * x;
        dsdt[1] = sz - b * y;
        dsdt[2] = sx - b * z;
        for (std::size_t j = 0; j < k; ++j) {
            const T &u0 = u[j], &u1 = u[k + j], &u2 = u[2 * k + j];
            du[j] = cy * u1 - b * u0;
            du[k + j] = cz * u2 - b * u1;
            du[2 * k + j] = cx * u0 - b * u2;
        }
    }
    template <class T>
    VELTRANO_ALWAYS_INLINE T divergence(const T*, const T* p) const {
        return p[0] * -3.0;
    }
};

// Halvorsen's cyclically symmetric flow: a.
struct HalvorsenSystem {
    static constexpr std::size_t kDimension = 3;
    static constexpr std::size_t kParameters = 1;
    [[nodiscard]] constexpr std::size_t dimension() const { return kDimension; }

    template <class T>
    VELTRANO_ALWAYS_INLINE void flow(const T* s, const T* p, T* dsdt) const {
        const T &x = s[0], &y = s[1], &z = s[2], &a = p[0];
        dsdt[0] = -a * x - 4.0 * y - 4.0 * z - y * y;
        dsdt[1] = -a * y - 4.0 * z - 4.0 * x - z * z;
        dsdt[2] = -a * z - 4.0 * x - 4.0 * y - x * x;
    }
    template <class T, class C>
    VELTRANO_ALWAYS_INLINE void tangent(const C* s, const C* p, const T* u, T* du, std::size_t stride) const {
        const C &x = s[0], &y = s[1], &z = s[2], &a = p[0];
        const T &u0 = u[0], &u1 = u[stride], &u2 = u[2 * stride];
        du[0] = -a * u0 - (y * 2.0 + 4.0) * u1 - 4.0 * u2;
        du[stride] = -4.0 * u0 - a * u1 - (z * 2.0 + 4.0) * u2;
        du[2 * stride] = -(x * 2.0 + 4.0) * u0 - 4.0 * u1 - a * u2;
    }
    template <class T>
    VELTRANO_ALWAYS_INLINE T divergence(const T*, const T* p) const {
        return p[0] * -3.0;
    }
};

// Sprott's case B, without parameters.
struct SprottBSystem {
    static constexpr std::size_t kDimension = 3;
    static constexpr std::size_t kParameters = 0;
    [[nodiscard]] constexpr std::size_t dimension() const { return kDimension; }

    template <class T>
    VELTRANO_ALWAYS_INLINE void flow(const T* s, const T*, T* dsdt) const {
        const T &x = s[0], &y = s[1], &z = s[2];
        dsdt[0] = y * z;
        dsdt[1] = x - y;
        dsdt[2] = 1.0 - x * y;
    }
    template <class T, class C>
    VELTRANO_ALWAYS_INLINE void tangent(const C* s, const C*, const T* u, T* du, std::size_t stride) const {
        const C &x = s[0], &y = s[1], &z = s[2];
        const T &u0 = u[0], &u1 = u[stride], &u2 = u[2 * stride];
        du[0] = z * u1 + y * u2;
        du[stride] = u0 - u1;
        du[2 * stride] = -y * u0 - x * u1;
    }
    template <class T>
    VELTRANO_ALWAYS_INLINE T divergence(const T*, const T*) const {
        return broadcast<T>(-1.0);
    }
};

// Sprott's simplest dissipative jerk flow x''' = -A x'' + x'^2 - x: A.
struct SprottJerkSystem {
    static constexpr std::size_t kDimension = 3;
    static constexpr std::size_t kParameters = 1;
    [[nodiscard]] constexpr std::size_t dimension() const { return kDimension; }

    template <class T>
    VELTRANO_ALWAYS_INLINE void flow(const T* s, const T* p, T* dsdt) const {
        const T &x = s[0], &y = s[1], &z = s[2], &A = p[0];
        dsdt[0] = y;
        dsdt[1] = z;
        dsdt[2] = -x + y * y - A * z;
    }
    template <class T, class C>
    VELTRANO_ALWAYS_INLINE void tangent(const C* s, const C* p, const T* u, T* du, std::size_t stride) const {
        const C &y = s[1], &A = p[0];
        const T &u0 = u[0], &u1 = u[stride], &u2 = u[2 * stride];
        du[0] = u1;
        du[stride] = u2;
        du[2 * stride] = (y * 2.0) * u1 - u0 - A * u2;
    }
    template <class T>
    VELTRANO_ALWAYS_INLINE T divergence(const T*, const T* p) const {
        return -p[0];
    }
};

// Rabinovich-Fabrikant: alpha, gamma.
struct RabinovichFabrikantSystem {
    static constexpr std::size_t kDimension = 3;
    static constexpr std::size_t kParameters = 2;
    [[nodiscard]] constexpr std::size_t dimension() const { return kDimension; }

    template <class T>
    VELTRANO_ALWAYS_INLINE void flow(const T* s, const T* p, T* dsdt) const {
        const T &x = s[0], &y = s[1], &z = s[2], &alpha = p[0], &gamma = p[1];
        dsdt[0] = y * (z - 1.0 + x * x) + gamma * x;
        dsdt[1] = x * (3.0 * z + 1.0 - x * x) + gamma * y;
        dsdt[2] = -2.0 * z * (alpha + x * y);
    }
    template <class T, class C>
    VELTRANO_ALWAYS_INLINE void tangent(const C* s, const C* p, const T* u, T* du, std::size_t stride) const {
        const C &x = s[0], &y = s[1], &z = s[2], &alpha = p[0], &gamma = p[1];
        const T &u0 = u[0], &u1 = u[stride], &u2 = u[2 * stride];
        const C xx = x * x, xy = x * y;
        du[0] = (xy * 2.0 + gamma) * u0 + (z - 1.0 + xx) * u1 + y * u2;
        du[stride] = (z * 3.0 + 1.0 - xx * 3.0) * u0 + gamma * u1 + (x * 3.0) * u2;
        du[2 * stride] = (z * y * -2.0) * u0 + (z * x * -2.0) * u1 + ((alpha + xy) * -2.0) * u2;
    }
    // 2 x y + gamma + gamma - 2 (alpha + x y): the products cancel.
    template <class T>
    VELTRANO_ALWAYS_INLINE T divergence(const T*, const T* p) const {
        return (p[1] - p[0]) * 2.0;
    }
};

// Hindmarsh-Rose, three variables: a, b, c, d, r, s, xR, I.
struct HindmarshRoseSystem {
    static constexpr std::size_t kDimension = 3;
    static constexpr std::size_t kParameters = 8;
    [[nodiscard]] constexpr std::size_t dimension() const { return kDimension; }

    template <class T>
    VELTRANO_ALWAYS_INLINE void flow(const T* v, const T* p, T* dvdt) const {
        const T &x = v[0], &y = v[1], &z = v[2];
        const T &a = p[0], &b = p[1], &c = p[2], &d = p[3], &r = p[4], &s = p[5], &xR = p[6], &I = p[7];
        dvdt[0] = y - a * x * x * x + b * x * x - z + I;
        dvdt[1] = c - d * x * x - y;
        dvdt[2] = r * (s * (x - xR) - z);
    }
    template <class T, class C>
    VELTRANO_ALWAYS_INLINE void tangent(const C* v, const C* p, const T* u, T* du, std::size_t stride) const {
        const C &x = v[0], &a = p[0], &b = p[1], &d = p[3], &r = p[4], &s = p[5];
        const T &u0 = u[0], &u1 = u[stride], &u2 = u[2 * stride];
        du[0] = ((b * 2.0) * x - ((a * 3.0) * x) * x) * u0 + u1 - u2;
        du[stride] = ((d * -2.0) * x) * u0 - u1;
        du[2 * stride] = (r * s) * u0 - r * u2;
    }
    template <class T>
    VELTRANO_ALWAYS_INLINE T divergence(const T* v, const T* p) const {
        const T &x = v[0], &a = p[0], &b = p[1], &r = p[4];
        return (b * 2.0) * x - ((a * 3.0) * x) * x - 1.0 - r;
    }
};

// Lorenz's 1984 model of the general circulation: a, b, F, G.
struct Lorenz84System {
    static constexpr std::size_t kDimension = 3;
    static constexpr std::size_t kParameters = 4;
    [[nodiscard]] constexpr std::size_t dimension() const { return kDimension; }

    template <class T>
    VELTRANO_ALWAYS_INLINE void flow(const T* s, const T* p, T* dsdt) const {
        const T &x = s[0], &y = s[1], &z = s[2], &a = p[0], &b = p[1], &F = p[2], &G = p[3];
        dsdt[0] = -y * y - z * z - a * x + a * F;
        dsdt[1] = x * y - b * x * z - y + G;
        dsdt[2] = b * x * y + x * z - z;
    }
    template <class T, class C>
    VELTRANO_ALWAYS_INLINE void tangent(const C* s, const C* p, const T* u, T* du, std::size_t stride) const {
        const C &x = s[0], &y = s[1], &z = s[2], &a = p[0], &b = p[1];
        const T &u0 = u[0], &u1 = u[stride], &u2 = u[2 * stride];
        const C bx = b * x;
        du[0] = -a * u0 - (y * 2.0) * u1 - (z * 2.0) * u2;
        du[stride] = (y - b * z) * u0 + (x - 1.0) * u1 - bx * u2;
        du[2 * stride] = (b * y + z) * u0 + bx * u1 + (x - 1.0) * u2;
    }
    template <class T>
    VELTRANO_ALWAYS_INLINE T divergence(const T* s, const T* p) const {
        return (s[0] - 1.0) * 2.0 - p[0];
    }
};

// Rucklidge's model of double convection: kappa, lambda.
struct RucklidgeSystem {
    static constexpr std::size_t kDimension = 3;
    static constexpr std::size_t kParameters = 2;
    [[nodiscard]] constexpr std::size_t dimension() const { return kDimension; }

    template <class T>
    VELTRANO_ALWAYS_INLINE void flow(const T* s, const T* p, T* dsdt) const {
        const T &x = s[0], &y = s[1], &z = s[2], &kappa = p[0], &lambda = p[1];
        dsdt[0] = -kappa * x + lambda * y - y * z;
        dsdt[1] = x;
        dsdt[2] = -z + y * y;
    }
    template <class T, class C>
    VELTRANO_ALWAYS_INLINE void tangent(const C* s, const C* p, const T* u, T* du, std::size_t stride) const {
        const C &y = s[1], &z = s[2], &kappa = p[0], &lambda = p[1];
        const T &u0 = u[0], &u1 = u[stride], &u2 = u[2 * stride];
        du[0] = -kappa * u0 + (lambda - z) * u1 - y * u2;
        du[stride] = u0;
        du[2 * stride] = (y * 2.0) * u1 - u2;
    }
    template <class T>
    VELTRANO_ALWAYS_INLINE T divergence(const T*, const T* p) const {
        return -p[0] - 1.0;
    }
};

// Arneodo, Coullet and Tresser's jerk flow: a, b, c.
struct ArneodoSystem {
    static constexpr std::size_t kDimension = 3;
    static constexpr std::size_t kParameters = 3;
    [[nodiscard]] constexpr std::size_t dimension() const { return kDimension; }

    template <class T>
    VELTRANO_ALWAYS_INLINE void flow(const T* s, const T* p, T* dsdt) const {
        const T &x = s[0], &y = s[1], &z = s[2], &a = p[0], &b = p[1], &c = p[2];
        dsdt[0] = y;
        dsdt[1] = z;
        dsdt[2] = -a * x - b * y - z + c * x * x * x;
    }
    template <class T, class C>
    VELTRANO_ALWAYS_INLINE void tangent(const C* s, const C* p, const T* u, T* du, std::size_t stride) const {
        const C &x = s[0], &a = p[0], &b = p[1], &c = p[2];
        const T &u0 = u[0], &u1 = u[stride], &u2 = u[2 * stride];
        du[0] = u1;
        du[stride] = u2;
        du[2 * stride] = (((c * 3.0) * x) * x - a) * u0 - b * u1 - u2;
    }
    template <class T>
    VELTRANO_ALWAYS_INLINE T divergence(const T*, const T*) const {
        return broadcast<T>(-1.0);
    }
};

}  // namespace veltrano
