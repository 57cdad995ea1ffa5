#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "equation_text.h"

namespace veltrano::equations {

// One operation of a field program: register `out` receives the result of
// `op` on registers a, b, c, d (or the constant, or the input `index`).
struct Instruction {
    enum class Op : std::uint8_t {
        Constant,
        State,
        Parameter,
        Direction,
        Negate,
        Add,
        Subtract,
        Multiply,
        Divide,
        Call
    };
    Op op = Op::Constant;
    Function function = Function::Sin;  // Call
    int out = 0;
    int a = -1, b = -1, c = -1, d = -1;
    double constant = 0.0;  // Constant
    int index = 0;          // State, Parameter, Direction: which component
};

// The field of a system, its tangent and its divergence as straight-line
// code over registers, in three parts run in this order:
//
//   values      x and p in, f(x; p) and every quantity of x alone that
//               the tangent and the divergence need (cos a for sin a, ...)
//   tangent     one tangent vector u in (Direction c reads u[c]), J u out;
//               run once per vector after `values`
//   divergence  the trace of J, after `values`
//
// The interpreter (interpreted_system.h) and the compiled code
// (compiled_field.h) run these same instructions, so they give the same
// doubles.
//
// The tangent is derived by forward-mode differentiation over the parsed
// tree: each node carries its value and its derivative along u, built from
// the operands' by the rules of + - * / and the chain rule. Forward mode
// was chosen over symbolic differentiation because it never grows the
// expressions (a product of n factors gives n terms, not a tree per
// factor), needs no simplifier to be exact in its order, and shares every
// value with the field. Derivatives known to be zero (of a constant, of a
// parameter, of a variable the direction does not move) are never computed,
// and one as a factor is dropped, so that R*x gives R*u and not
// 0*x + R*u. The divergence is the sum, over i in order, of df_i/dx_i,
// each the same differentiation along the unit vector e_i (a term known to
// be zero is left out; a trace with no term is 0).
//
// Rules (a, b values; da, db their derivatives; v the node's value):
//   -a: -da   a+b: da+db   a-b: da-db   a*b: da*b + a*db
//   a/b: (da - v*db)/b   a^n: (n*a^(n-1))*da
//   sin: cos(a)*da   cos: (-sin(a))*da   tan: (1 + v*v)*da
//   asin: (1/sqrt(1 - a*a))*da   acos: (-(1/sqrt(1 - a*a)))*da
//   atan: (1/(1 + a*a))*da   sinh: cosh(a)*da   cosh: sinh(a)*da
//   tanh: (1 - v*v)*da   exp: v*da   log: (1/a)*da   sqrt: (0.5/v)*da
//   atan2(a, b): (b/r)*da - (a/r)*db with r = b*b + a*a
//   abs: da where a > 0, -da where a < 0, and 0 at a = 0
//   min, max: the derivative of the argument taken (the first at a tie)
struct FieldProgram {
    std::size_t dimension = 0;
    std::size_t parameters = 0;
    int registers = 0;
    std::vector<Instruction> values, tangent, divergence;
    std::vector<int> flowOut;     // the register of f_i
    std::vector<int> tangentOut;  // the register of (J u)_i; -1: identically 0
    int divergenceOut = -1;       // -1: identically 0
};

[[nodiscard]] FieldProgram compileProgram(const Equations& equations);

// Runs `code` over `r` (sized to the program's registers) with x, p and u.
void runInstructions(const std::vector<Instruction>& code, double* r, const double* x, const double* p, const double* u,
                     std::size_t stride);

}  // namespace veltrano::equations
