#pragma once

#include <map>
#include <string>

// The value of one right-hand side of an equation text (numbers, names,
// + - * /, unary minus, parentheses, sin and cos), evaluated left to right
// with products before sums and unary minus binding tightest: the order of
// the compiled fields, so equal texts and fields give equal doubles. Throws
// std::invalid_argument on anything else.
namespace plain {

double expressionValue(const std::string& text, const std::map<std::string, double>& names);

}  // namespace plain
