#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace veltrano::equations {

// The functions a text may call. Each has one implementation for every
// path (elementary_functions.h of this folder).
enum class Function : std::uint8_t {
    Sin,
    Cos,
    Tan,
    Asin,
    Acos,
    Atan,
    Sinh,
    Cosh,
    Tanh,
    Exp,
    Log,
    Sqrt,
    Abs,  // one argument
    Atan2,
    Min,
    Max,  // two
    // Used by the derived tangent only (see field_program.h).
    AbsSlope,  // (a, da): da where a > 0, -da where a < 0, 0 at a = 0
    MinSlope,  // (a, b, da, db): the slope of the argument min(a, b) took
    MaxSlope,  // (a, b, da, db): the slope of the argument max(a, b) took
};

[[nodiscard]] int arity(Function f);
[[nodiscard]] std::string_view functionName(Function f);

// A node of a parsed expression. Children are indices into the same pool
// (never pointers): freeing a deep tree takes no recursion.
struct Node {
    enum class Kind : std::uint8_t { Number, State, Parameter, Negate, Add, Subtract, Multiply, Divide, Power, Call };
    Kind kind = Kind::Number;
    Function function = Function::Sin;  // Call
    double value = 0.0;                 // Number
    int index = 0;                      // State, Parameter: the variable's or parameter's index; Power: the exponent
    int a = -1, b = -1;                 // the operands (Negate, Power and one-argument calls use a)
    int line = 0, column = 0;           // where it starts in the text
};

// The largest depth of an expression (a sum of n terms is n deep): the
// parser and everything that walks a tree recurse at most this deep.
inline constexpr int kMaxDepth = 500;

// The largest |n| of a power x^n, multiplied out.
inline constexpr int kMaxPower = 64;

// The most parameters a text may declare.
inline constexpr std::size_t kMaxParameters = 64;

}  // namespace veltrano::equations
