#pragma once

#include <cstddef>

#include "lorentz.h"

namespace veltrano {

// What the engine needs of an autonomous flow dx/dt = f(x; p): its
// dimension, its number of parameters, the field, the field's linearisation
// applied to one tangent vector, and the divergence (the trace of the
// Jacobian). Every function is written once for any value type with the
// double operators (doubles, packed lanes, the lanes of a batch of points),
// and its parenthesisation is its evaluation order: with contraction off the
// same doubles come out on every IEEE machine, lane by lane.
//
// A system is a class with
//
//   static constexpr std::size_t kDimension;   // d; 0 when chosen at run time
//   static constexpr std::size_t kParameters;  // the number of parameters
//   std::size_t dimension() const;             // d
//
//   // dxdt[i] = f_i(x; p) for i < d.
//   template <class T> void flow(const T* x, const T* p, T* dxdt) const;
//
//   // du = J(x; p) u for one tangent vector u. Component c of u is
//   // u[c * stride] and of the result du[c * stride]: the engine keeps the
//   // vectors as the columns of a matrix stored row by row. x and p may be
//   // of another value type than u (plain doubles beside packed vectors).
//   template <class T, class C>
//   void tangent(const C* x, const C* p, const T* u, T* du, std::size_t stride) const;
//
//   // The trace of J(x; p).
//   template <class T> T divergence(const T* x, const T* p) const;
//
// All three are VELTRANO_ALWAYS_INLINE: the lane engine is compiled for
// several instruction sets and each copy carries its own code.
//
// A system may also give the flow and its linearisation applied to all k
// tangent vectors in one call, so that what depends on the state alone (a
// sine with its cosine, a difference of coordinates) is worked out once a
// stage rather than once a vector:
//
//   // flow(x, p, dxdt), and du = J(x; p) u for the k vectors u_j:
//   // component c of u_j is u[c * k + j] and of the result du[c * k + j].
//   template <class T>
//   void flowAndTangents(const T* x, const T* p, T* dxdt, const T* u, T* du, std::size_t k) const;
//
// Each value must be the double `flow` and `tangent` give, bit for bit.
// The engine uses it where it is there (HasFlowAndTangents).

template <class System, class T>
concept HasFlowAndTangents = requires(const System& system, const T* x, T* dx, std::size_t k) {
    system.flowAndTangents(x, x, dx, x, dx, k);
};

// A system whose code is made at run time for whole blocks of W points
// (W = 2, 4 or 8: the lanes of the path) has, instead of the three,
//
//   // One step of rk4Step (rk4_step.h) of length h for the W points of a
//   // block, component i of point l at i * W + l: s holds the state and
//   // the k tangent vectors after it as the columns of a d by k matrix
//   // stored row by row, next receives them after the step, slopes[m * W
//   // + l] the divergence at stage m (m < 4) -- the doubles the engine's
//   // step over flow, tangent and divergence would give.
//   void stepLanes(int W, const double* s, double* next, const double* p,
//                  double* slopes, double h, std::size_t k) const;
//
// and the engine calls it once per step.
template <class System>
concept LaneStepSystem = requires(const System& s, const double* in, double* out, double h, std::size_t k) {
    s.stepLanes(2, in, out, in, out, h, k);
};

// The Lorenz system, x, y, z with sigma, R, b (p[0], p[1], p[2]): the
// formulas of lorentz.h in their order.
struct LorenzSystem {
    static constexpr std::size_t kDimension = 3;
    static constexpr std::size_t kParameters = 3;
    [[nodiscard]] constexpr std::size_t dimension() const { return kDimension; }

    template <class T>
    VELTRANO_ALWAYS_INLINE void flow(const T* x, const T* p, T* dxdt) const {
        const FlowDerivative<T> f = lorenzFlow(x[0], x[1], x[2], p[0], p[1], p[2]);
        dxdt[0] = f.dx;
        dxdt[1] = f.dy;
        dxdt[2] = f.dz;
    }

    template <class T, class C>
    VELTRANO_ALWAYS_INLINE void tangent(const C* x, const C* p, const T* u, T* du, std::size_t stride) const {
        const C rz = p[1] - x[2];
        const TangentDerivative<T> d = lorenzTangent(u[0], u[stride], u[2 * stride], x[0], x[1], rz, p[0], p[2]);
        du[0] = d.du;
        du[stride] = d.dv;
        du[2 * stride] = d.dw;
    }

    // -(sigma + 1 + b), whatever the state.
    template <class T>
    VELTRANO_ALWAYS_INLINE T divergence(const T*, const T* p) const {
        return -((p[0] + 1) + p[2]);
    }
};

}  // namespace veltrano
