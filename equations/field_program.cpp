#include "field_program.h"

#include <bit>
#include <map>
#include <tuple>

#include "function_values.h"

namespace veltrano::equations {

namespace {

using Op = Instruction::Op;

// A derivative: known zero, known one, or in a register.
struct Slope {
    enum class Kind { Zero, One, Register } kind = Kind::Zero;
    int r = -1;
    static Slope zero() { return {}; }
    static Slope one() { return {Kind::One, -1}; }
    static Slope in(int r) { return {Kind::Register, r}; }
    bool isZero() const { return kind == Kind::Zero; }
};

class Builder {
public:
    Builder(const Equations& e, FieldProgram& p) : e_(e), p_(p), valueOf_(e.nodes.size(), -1) {}

    // The register of node n's value (emitted once).
    int value(int n) {
        int& known = valueOf_[static_cast<std::size_t>(n)];
        if (known < 0) known = lowerValue(e_.nodes[static_cast<std::size_t>(n)]);
        return known;
    }

    // Node n's derivative along the direction of `seed` (the slope of each
    // state), its instructions appended to `section`.
    template <class Seed>
    Slope slope(int n, std::vector<Instruction>& section, const Seed& seed) {
        section_ = &section;
        return derive(n, seed);
    }

    int constant(double c) { return emit(p_.values, valueMemo_, Instruction{.op = Op::Constant, .constant = c}); }
    int direction(std::vector<Instruction>& section, int c) {
        section_ = &section;
        return local(Instruction{.op = Op::Direction, .index = c});
    }
    void newSection() { localMemo_.clear(); }
    int registerOf(Slope s) { return s.kind == Slope::Kind::One ? constant(1.0) : s.r; }

private:
    using Key = std::tuple<Op, Function, int, int, int, int, std::uint64_t, int>;

    int emit(std::vector<Instruction>& code, std::map<Key, int>& memo, Instruction ins) {
        // Equal operations on equal registers give equal doubles: each is
        // computed once.
        const Key key{ins.op,   ins.function, ins.a, ins.b, ins.c, ins.d, std::bit_cast<std::uint64_t>(ins.constant),
                      ins.index};
        if (const auto it = memo.find(key); it != memo.end()) return it->second;
        ins.out = p_.registers++;
        code.push_back(ins);
        memo.emplace(key, ins.out);
        return ins.out;
    }
    // In the values: depends on x and p only.
    int op(Op o, int a, int b = -1) { return emit(p_.values, valueMemo_, Instruction{.op = o, .a = a, .b = b}); }
    int call(Function f, int a, int b = -1) {
        return emit(p_.values, valueMemo_, Instruction{.op = Op::Call, .function = f, .a = a, .b = b});
    }
    // In the section under way.
    int local(Instruction ins) { return emit(*section_, localMemo_, ins); }
    int localOp(Op o, int a, int b = -1) { return local(Instruction{.op = o, .a = a, .b = b}); }

    // a^n multiplied out from the left: ((a*a)*a)..., 1/that for n < 0.
    int power(int a, int n) {
        if (n == 0) return constant(1.0);
        const int m = n < 0 ? -n : n;
        int r = a;
        for (int i = 1; i < m; ++i) r = op(Op::Multiply, r, a);
        return n < 0 ? op(Op::Divide, constant(1.0), r) : r;
    }

    int lowerValue(const Node& n) {
        switch (n.kind) {
            case Node::Kind::Number:
                return constant(n.value);
            case Node::Kind::State:
                return emit(p_.values, valueMemo_, Instruction{.op = Op::State, .index = n.index});
            case Node::Kind::Parameter:
                return emit(p_.values, valueMemo_, Instruction{.op = Op::Parameter, .index = n.index});
            case Node::Kind::Negate:
                return op(Op::Negate, value(n.a));
            case Node::Kind::Add:
                return op(Op::Add, value(n.a), value(n.b));
            case Node::Kind::Subtract:
                return op(Op::Subtract, value(n.a), value(n.b));
            case Node::Kind::Multiply:
                return op(Op::Multiply, value(n.a), value(n.b));
            case Node::Kind::Divide:
                return op(Op::Divide, value(n.a), value(n.b));
            case Node::Kind::Power:
                return power(value(n.a), n.index);
            case Node::Kind::Call:
                return call(n.function, value(n.a), arity(n.function) > 1 ? value(n.b) : -1);
        }
        return -1;
    }

    Slope add(Slope x, Slope y) {
        if (x.isZero()) return y;
        if (y.isZero()) return x;
        return Slope::in(localOp(Op::Add, registerOf(x), registerOf(y)));
    }
    Slope subtract(Slope x, Slope y) {
        if (y.isZero()) return x;
        if (x.isZero()) return Slope::in(localOp(Op::Negate, registerOf(y)));
        return Slope::in(localOp(Op::Subtract, registerOf(x), registerOf(y)));
    }
    // The slope s times the value in register v (s first).
    Slope times(Slope s, int v) {
        if (s.isZero()) return s;
        if (s.kind == Slope::Kind::One) return Slope::in(v);
        return Slope::in(localOp(Op::Multiply, s.r, v));
    }
    // The value in register v times the slope s (v first).
    Slope scaled(int v, Slope s) {
        if (s.isZero()) return s;
        if (s.kind == Slope::Kind::One) return Slope::in(v);
        return Slope::in(localOp(Op::Multiply, v, s.r));
    }

    template <class Seed>
    Slope derive(int index, const Seed& seed) {
        const Node& n = e_.nodes[static_cast<std::size_t>(index)];
        switch (n.kind) {
            case Node::Kind::Number:
            case Node::Kind::Parameter:
                return Slope::zero();
            case Node::Kind::State:
                return seed(n.index);
            case Node::Kind::Negate: {
                const Slope a = derive(n.a, seed);
                return a.isZero() ? a : Slope::in(localOp(Op::Negate, registerOf(a)));
            }
            case Node::Kind::Add: {
                const Slope a = derive(n.a, seed);
                return add(a, derive(n.b, seed));
            }
            case Node::Kind::Subtract: {
                const Slope a = derive(n.a, seed);
                return subtract(a, derive(n.b, seed));
            }
            case Node::Kind::Multiply: {
                const Slope a = derive(n.a, seed);
                const Slope b = derive(n.b, seed);
                const Slope left = times(a, value(n.b));
                return add(left, scaled(value(n.a), b));
            }
            case Node::Kind::Divide: {
                const Slope a = derive(n.a, seed);
                const Slope b = derive(n.b, seed);
                if (a.isZero() && b.isZero()) return a;
                const Slope top = subtract(a, scaled(value(index), b));
                return Slope::in(localOp(Op::Divide, registerOf(top), value(n.b)));
            }
            case Node::Kind::Power: {
                const Slope a = derive(n.a, seed);
                if (a.isZero() || n.index == 0) return Slope::zero();
                if (n.index == 1) return a;
                const int coefficient = op(Op::Multiply, constant(n.index), power(value(n.a), n.index - 1));
                return scaled(coefficient, a);
            }
            case Node::Kind::Call:
                return deriveCall(index, n, seed);
        }
        return Slope::zero();
    }

    template <class Seed>
    Slope deriveCall(int index, const Node& n, const Seed& seed) {
        const Slope a = derive(n.a, seed);
        const Slope b = arity(n.function) > 1 ? derive(n.b, seed) : Slope::zero();
        if (a.isZero() && b.isZero()) return a;
        const int x = value(n.a);
        const int v = value(index);
        const int one = constant(1.0);
        const auto reciprocalRoot = [&] {
            return op(Op::Divide, one, call(Function::Sqrt, op(Op::Subtract, one, op(Op::Multiply, x, x))));
        };
        int coefficient = -1;
        switch (n.function) {
            case Function::Sin:
                coefficient = call(Function::Cos, x);
                break;
            case Function::Cos:
                coefficient = op(Op::Negate, call(Function::Sin, x));
                break;
            case Function::Tan:
                coefficient = op(Op::Add, one, op(Op::Multiply, v, v));
                break;
            case Function::Asin:
                coefficient = reciprocalRoot();
                break;
            case Function::Acos:
                coefficient = op(Op::Negate, reciprocalRoot());
                break;
            case Function::Atan:
                coefficient = op(Op::Divide, one, op(Op::Add, one, op(Op::Multiply, x, x)));
                break;
            case Function::Sinh:
                coefficient = call(Function::Cosh, x);
                break;
            case Function::Cosh:
                coefficient = call(Function::Sinh, x);
                break;
            case Function::Tanh:
                coefficient = op(Op::Subtract, one, op(Op::Multiply, v, v));
                break;
            case Function::Exp:
                coefficient = v;
                break;
            case Function::Log:
                coefficient = op(Op::Divide, one, x);
                break;
            case Function::Sqrt:
                coefficient = op(Op::Divide, constant(0.5), v);
                break;
            case Function::Abs:
                return Slope::in(
                    local(Instruction{.op = Op::Call, .function = Function::AbsSlope, .a = x, .b = registerOf(a)}));
            case Function::Atan2: {
                const int y2 = value(n.b);
                const int r = op(Op::Add, op(Op::Multiply, y2, y2), op(Op::Multiply, x, x));
                return subtract(scaled(op(Op::Divide, y2, r), a), scaled(op(Op::Divide, x, r), b));
            }
            case Function::Min:
            case Function::Max: {
                const int zero = constant(0.0);
                return Slope::in(
                    local(Instruction{.op = Op::Call,
                                      .function = n.function == Function::Min ? Function::MinSlope : Function::MaxSlope,
                                      .a = x,
                                      .b = value(n.b),
                                      .c = a.isZero() ? zero : registerOf(a),
                                      .d = b.isZero() ? zero : registerOf(b)}));
            }
            default:
                return Slope::zero();
        }
        return scaled(coefficient, a);
    }

    const Equations& e_;
    FieldProgram& p_;
    std::vector<int> valueOf_;
    std::map<Key, int> valueMemo_, localMemo_;
    std::vector<Instruction>* section_ = nullptr;
};

}  // namespace

FieldProgram compileProgram(const Equations& e) {
    FieldProgram p;
    p.dimension = e.dimension();
    p.parameters = e.parameters.size();
    Builder b(e, p);
    for (int root : e.fields) p.flowOut.push_back(b.value(root));

    b.newSection();
    std::vector<int> directions;
    for (std::size_t c = 0; c < p.dimension; ++c) directions.push_back(b.direction(p.tangent, static_cast<int>(c)));
    for (int root : e.fields) {
        const Slope s =
            b.slope(root, p.tangent, [&](int c) { return Slope::in(directions[static_cast<std::size_t>(c)]); });
        p.tangentOut.push_back(s.isZero() ? -1 : b.registerOf(s));
    }

    b.newSection();
    int trace = -1;
    for (std::size_t i = 0; i < p.dimension; ++i) {
        const Slope s = b.slope(e.fields[i], p.divergence,
                                [i](int c) { return static_cast<std::size_t>(c) == i ? Slope::one() : Slope::zero(); });
        if (s.isZero()) continue;
        const int term = b.registerOf(s);
        if (trace < 0) {
            trace = term;
        } else {
            Instruction sum{.op = Op::Add, .a = trace, .b = term};
            sum.out = p.registers++;
            p.divergence.push_back(sum);
            trace = sum.out;
        }
    }
    p.divergenceOut = trace;
    // Directions of the tangent that no equation reads are left to be read
    // anyway: harmless, and the tangent's inputs stay the d components.
    return p;
}

void runInstructions(const std::vector<Instruction>& code, double* r, const double* x, const double* p, const double* u,
                     std::size_t stride) {
    for (const Instruction& i : code) {
        double v = 0.0;
        switch (i.op) {
            case Op::Constant:
                v = i.constant;
                break;
            case Op::State:
                v = x[i.index];
                break;
            case Op::Parameter:
                v = p[i.index];
                break;
            case Op::Direction:
                v = u[static_cast<std::size_t>(i.index) * stride];
                break;
            case Op::Negate:
                v = -r[i.a];
                break;
            case Op::Add:
                v = r[i.a] + r[i.b];
                break;
            case Op::Subtract:
                v = r[i.a] - r[i.b];
                break;
            case Op::Multiply:
                v = r[i.a] * r[i.b];
                break;
            case Op::Divide:
                v = r[i.a] / r[i.b];
                break;
            case Op::Call:
                v = functionValue(i.function, r[i.a], i.b >= 0 ? r[i.b] : 0.0, i.c >= 0 ? r[i.c] : 0.0,
                                  i.d >= 0 ? r[i.d] : 0.0);
                break;
        }
        r[i.out] = v;
    }
}

}  // namespace veltrano::equations
