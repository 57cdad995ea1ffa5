#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "expression_tree.h"

namespace veltrano::equations {

// A flow typed as text, one statement a line or separated by ';', '#'
// starting a comment:
//
//   x' = -y - z        an equation: x is a variable, in the order of these lines
//   a = 0.2            a parameter and its default (a constant expression)
//   x(0) = 1           a starting value (a constant expression; default 1)
//
// Expressions: numbers (1, 2.5, 1e-3), + - * /, unary minus, ^, parentheses,
// pi and sin cos tan asin acos atan sinh cosh tanh exp log sqrt abs (one
// argument), atan2 min max (two). Precedence, tightest first: ^ (right to
// left, its exponent may carry a sign: x^-2), unary minus (-x^2 is -(x^2),
// -b*z is (-b)*z), * and / (left to right), + and - (left to right).
// The parenthesisation is the order of evaluation.
//
// x^n takes a whole-number constant n, |n| <= 64, multiplied out from the
// left: x^3 is (x*x)*x, x^-2 is 1/(x*x), x^0 is 1. Any other power is
// refused; write exp(y*log(x)).
struct Equations {
    std::vector<std::string> variables;   // in the order of their equations
    std::vector<std::string> parameters;  // in the order of their declarations
    std::vector<double> defaults;         // one per parameter
    std::vector<double> initial;          // one per variable
    std::vector<Node> nodes;              // every expression's nodes
    std::vector<int> fields;              // the root of each variable's equation
    std::string text;                     // the text parsed
    std::string digest;                   // its SHA-256, 64 hexadecimal digits

    [[nodiscard]] std::size_t dimension() const { return variables.size(); }
};

// A text refused: where (line and column from 1, the column counted in
// characters) and why. what() is the whole message: "line L, column C:
// why", then the line and a caret under the place.
class EquationError : public std::runtime_error {
public:
    EquationError(int line, int column, const std::string& reason, std::string_view text);
    [[nodiscard]] int line() const { return line_; }
    [[nodiscard]] int column() const { return column_; }
    [[nodiscard]] const std::string& reason() const { return reason_; }

private:
    int line_, column_;
    std::string reason_;
};

// The longest text accepted, in bytes.
inline constexpr std::size_t kMaxTextBytes = 1 << 20;

// The system of `text`, or EquationError for the first fault: a syntax
// error, an unknown name, a starting value of a name without an equation,
// a name declared twice, a parameter that is also a variable, a default,
// starting value or power that is not constant, a default or starting
// value that is not a finite number, a power that is not a
// whole number in range, no equation, more than 64 variables or
// parameters, a text over 1 MiB, an expression nested deeper than
// kMaxDepth.
[[nodiscard]] Equations parseEquations(std::string_view text);

// The value of a constant expression (no variable, no parameter), in the
// order of evaluation of the field.
[[nodiscard]] double constantValue(const std::vector<Node>& nodes, int root);

// The system written back as a text that parses to the same system: its
// equations, parameters with their defaults and starting values, with
// every operation in parentheses where the order needs them.
[[nodiscard]] std::string printEquations(const Equations& equations);

}  // namespace veltrano::equations
