#include <charconv>
#include <string>

#include "equation_text.h"
#include "function_values.h"

namespace veltrano::equations {

namespace {

// How tightly each kind binds (the grammar of equation_text.h).
int precedence(const Node& n) {
    switch (n.kind) {
        case Node::Kind::Add:
        case Node::Kind::Subtract:
            return 1;
        case Node::Kind::Multiply:
        case Node::Kind::Divide:
            return 2;
        case Node::Kind::Negate:
            return 3;
        case Node::Kind::Power:
            return 4;
        default:
            return 5;
    }
}

std::string number(double v) {
    char buffer[32];
    const auto [end, ec] = std::to_chars(buffer, buffer + sizeof buffer, v);
    return ec == std::errc{} ? std::string(buffer, end) : std::string("nan");
}

class Printer {
public:
    explicit Printer(const Equations& e) : e_(e) {}

    std::string print(int index) const {
        const Node& n = e_.nodes[static_cast<std::size_t>(index)];
        const auto operand = [&](int child, int least) {
            const std::string s = print(child);
            if (precedence(e_.nodes[static_cast<std::size_t>(child)]) >= least) return s;
            std::string wrapped = "(";
            wrapped += s;
            return wrapped += ")";
        };
        const auto binary = [&](const char* op) {
            // Left to right: the right operand of the same level keeps its
            // parentheses, a - (b - c) is not (a - b) - c.
            const int p = precedence(n);
            return operand(n.a, p) + op + operand(n.b, p + 1);
        };
        switch (n.kind) {
            case Node::Kind::Number:
                return number(n.value);
            case Node::Kind::State:
                return e_.variables[static_cast<std::size_t>(n.index)];
            case Node::Kind::Parameter:
                return e_.parameters[static_cast<std::size_t>(n.index)];
            case Node::Kind::Negate: {
                std::string s = "-";
                return s += operand(n.a, 3);
            }
            case Node::Kind::Add:
                return binary(" + ");
            case Node::Kind::Subtract:
                return binary(" - ");
            case Node::Kind::Multiply:
                return binary("*");
            case Node::Kind::Divide:
                return binary("/");
            case Node::Kind::Power:
                return operand(n.a, 5) + "^" + std::to_string(n.index);
            case Node::Kind::Call: {
                std::string s = std::string(functionName(n.function)) + "(" + print(n.a);
                if (arity(n.function) > 1) s += ", " + print(n.b);
                return s + ")";
            }
        }
        return {};
    }

private:
    const Equations& e_;
};

}  // namespace

std::string printEquations(const Equations& e) {
    const Printer printer(e);
    std::string s;
    for (std::size_t i = 0; i < e.dimension(); ++i) s += e.variables[i] + "' = " + printer.print(e.fields[i]) + "\n";
    for (std::size_t i = 0; i < e.parameters.size(); ++i) s += e.parameters[i] + " = " + number(e.defaults[i]) + "\n";
    for (std::size_t i = 0; i < e.dimension(); ++i) s += e.variables[i] + "(0) = " + number(e.initial[i]) + "\n";
    return s;
}

}  // namespace veltrano::equations
