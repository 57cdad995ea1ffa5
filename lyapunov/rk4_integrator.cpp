#include "rk4_integrator.h"

#include "exponents.h"
#include "rk4_step.h"

namespace veltrano {

namespace {

// The twelve components live in six pairs of lanes for the whole interval,
// so that every element-wise operation of the scheme is one instruction and
// nothing round-trips through memory:
//   p[0] = (x, y)    p[1] = (z, u3)   p[2] = (v3, w3)
//   p[3] = (u1, u2)  p[4] = (v1, v2)  p[5] = (w1, w2)
// where (uj, vj, wj) is tangent vector j. Lane-wise IEEE arithmetic gives
// exactly the doubles of the scalar evaluation.
using Lanes = double __attribute__((vector_size(16)));

using Packed = std::array<Lanes, 6>;

Packed pack(const StateVector& s) {
    return {Lanes{s[0], s[1]},
            Lanes{s[2], s[tangentIndex(0, 2)]},
            Lanes{s[tangentIndex(1, 2)], s[tangentIndex(2, 2)]},
            Lanes{s[tangentIndex(0, 0)], s[tangentIndex(0, 1)]},
            Lanes{s[tangentIndex(1, 0)], s[tangentIndex(1, 1)]},
            Lanes{s[tangentIndex(2, 0)], s[tangentIndex(2, 1)]}};
}

StateVector unpack(const Packed& q) {
    StateVector s;
    s[0] = q[0][0];
    s[1] = q[0][1];
    s[2] = q[1][0];
    s[tangentIndex(0, 2)] = q[1][1];
    s[tangentIndex(1, 2)] = q[2][0];
    s[tangentIndex(2, 2)] = q[2][1];
    for (std::size_t j = 0; j < 2; ++j) {
        s[tangentIndex(0, j)] = q[3][j];
        s[tangentIndex(1, j)] = q[4][j];
        s[tangentIndex(2, j)] = q[5][j];
    }
    return s;
}

// The vector field of Lorentz() on the packed state, without its check: the
// step checks once, see below.
VELTRANO_ALWAYS_INLINE void field(const Packed& X, Packed& d, const FlowParameters& p) {
    const double x = X[0][0], y = X[0][1], z = X[1][0];
    const FlowDerivative<double> f = lorenzFlow(x, y, z, p.sv, p.rv, p.bv);
    const double rz = p.rv - z;
    const auto t3 = lorenzTangent(X[1][1], X[2][0], X[2][1], x, y, rz, p.sv, p.bv);
    const auto t12 = lorenzTangent(X[3], X[4], X[5], x, y, rz, p.sv, p.bv);
    d = {Lanes{f.dx, f.dy}, Lanes{f.dz, t3.du}, Lanes{t3.dv, t3.dw}, t12.du, t12.dv, t12.dw};
}

// x - x is +0 for a finite x and NaN otherwise, and a NaN survives any sum.
inline bool allFinite(const Packed& q) {
    const Lanes s = ((q[0] - q[0]) + (q[1] - q[1])) + ((q[2] - q[2]) + (q[3] - q[3])) + ((q[4] - q[4]) + (q[5] - q[5]));
    return s[0] + s[1] == 0;
}

}  // namespace

// Every stored result of a step is tested through one test of the new state:
// an infinity or NaN anywhere in the step reaches it. A non-finite stage
// argument makes the next field evaluation non-finite (each of the twelve
// inputs enters some output through a subtraction or a product, and
// 0 * inf is NaN); a non-finite slope makes the update of its component
// non-finite (nothing divides by a computed value). Testing once per step
// instead of after every operation changes no result and no outcome.
int integrateRk4(StateVector& state, double& t, int steps, const FlowParameters& p) {
    constexpr double h = Spectrum::kStep;
    Packed s = pack(state);
    double time = t;
    int done = 0;
    for (; done < steps; ++done) {
        Packed next;
        rk4Step(s, next, h, [&p](const Packed& x, Packed& d) { field(x, d, p); });
        const double nextTime = h + time;
        if (!allFinite(next) || !isFinite(nextTime)) [[unlikely]]
            break;
        s = next;
        time = nextTime;
    }
    state = unpack(s);
    t = time;
    return done;
}

}  // namespace veltrano
