#pragma once

#include <memory>
#include <string>

#include "field_program.h"

namespace veltrano::equations {

// A field program compiled to native code for `width` lanes, with GCC's JIT
// library, from the program's instructions only (the text never reaches
// the compiler): one classical Runge-Kutta step of length h of a block of W
// points side by side, laid out as the lane engine keeps them (component i
// of lane l at i * W + l; the state holds x, then the k tangent vectors as
// the columns of a d by k matrix stored row by row):
//
//   next = the state after the step from s, with the field f(x; p) for x
//   and J(x; p) u for each tangent vector u; slopes[m * W + l] = trace J
//   at stage m of lane l (m < 4), for the engine to integrate.
//
// Every instruction becomes one IEEE operation per lane, in the program's
// order, and the stages are formed as rk4Step forms them (rk4_step.h), with
// contraction off and for a named instruction set (SSE2 for 2 lanes, AVX2
// for 4, AVX-512F for 8 on x86-64; the baseline elsewhere); functions are
// called through their addresses (function_values.h), lane by lane. So the
// step gives the doubles of the engine's step over the interpreter's field.
using LaneStep = void (*)(const double* s, double* next, const double* p, double* slopes, double h, long k);

class CompiledField {
public:
    CompiledField(void* result, LaneStep code) : result_(result), code_(code) {}
    CompiledField(const CompiledField&) = delete;
    CompiledField& operator=(const CompiledField&) = delete;
    ~CompiledField();
    [[nodiscard]] LaneStep code() const { return code_; }

private:
    void* result_;  // the library's result, which owns the code
    LaneStep code_;
};

// The program compiled for `width` lanes (2, 4 or 8), once per process for
// each digest and width: later calls return the same code. Throws
// std::runtime_error with the compiler's message if it fails.
[[nodiscard]] std::shared_ptr<const CompiledField> compiledField(const FieldProgram& program, const std::string& digest,
                                                                 int width);

}  // namespace veltrano::equations
