#pragma once

#include <memory>
#include <string>

#include "field_program.h"

namespace veltrano::equations {

// A field program compiled to native code for `width` lanes, with GCC's JIT
// library, from the program's instructions only (the text never reaches
// the compiler). The code computes for a block of W points side by side,
// laid out as the lane engine keeps them (component i of lane l at
// i * W + l; the state holds x, then the k tangent vectors as the columns
// of a d by k matrix stored row by row):
//
//   dxdt = f(x; p), then J(x; p) u_j for j < k, and div = trace J(x; p).
//
// Every instruction becomes one IEEE operation per lane, in the program's
// order, with contraction off and for a named instruction set (SSE2 for 2
// lanes, AVX2 for 4, AVX-512F for 8 on x86-64; the baseline elsewhere);
// functions are called through their addresses (function_values.h), lane
// by lane. So the compiled code gives the interpreter's doubles.
using LaneField = void (*)(const double* x, const double* p, double* dxdt, double* divergence, long k);

class CompiledField {
public:
    CompiledField(void* result, LaneField code) : result_(result), code_(code) {}
    CompiledField(const CompiledField&) = delete;
    CompiledField& operator=(const CompiledField&) = delete;
    ~CompiledField();
    [[nodiscard]] LaneField code() const { return code_; }

private:
    void* result_;  // the library's result, which owns the code
    LaneField code_;
};

// The program compiled for `width` lanes (2, 4 or 8), once per process for
// each digest and width: later calls return the same code. Throws
// std::runtime_error with the compiler's message if it fails.
[[nodiscard]] std::shared_ptr<const CompiledField> compiledField(const FieldProgram& program, const std::string& digest,
                                                                 int width);

}  // namespace veltrano::equations
