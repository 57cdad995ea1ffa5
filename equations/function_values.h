#pragma once

#include "expression_tree.h"

namespace veltrano::equations {

// The one implementation of every function a text may call, for the
// interpreter and the compiled code alike (which calls these very
// functions, lane by lane): the standard library's, so the same doubles as
// the catalogue's flows on this machine.
//
// min(a, b) is b where b < a, else a; max(a, b) is b where a < b, else a:
// at a tie (and where a comparison fails on a NaN) the first argument. The
// slopes follow the argument taken; abs takes the slope 0 at 0.
using Function1 = double (*)(double);
using Function2 = double (*)(double, double);
using Function4 = double (*)(double, double, double, double);

// The function's code, of the type of its arity (Function1, 2 or 4).
[[nodiscard]] void* functionAddress(Function f);

// f at (a, b, c, d), the arguments past its arity ignored.
[[nodiscard]] double functionValue(Function f, double a, double b = 0.0, double c = 0.0, double d = 0.0);

}  // namespace veltrano::equations
