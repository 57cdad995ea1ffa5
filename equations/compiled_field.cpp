#include "compiled_field.h"

#include <libgccjit.h>

#include <map>
#include <mutex>
#include <stdexcept>
#include <utility>
#include <vector>

#include "function_values.h"

namespace veltrano::equations {

namespace {

using Op = Instruction::Op;

// Writes one function, "field", for W lanes.
class Writer {
public:
    Writer(gcc_jit_context* c, const FieldProgram& program, int width) : c_(c), p_(program), w_(width) {
        double_ = gcc_jit_context_get_type(c_, GCC_JIT_TYPE_DOUBLE);
        long_ = gcc_jit_context_get_type(c_, GCC_JIT_TYPE_LONG);
        gcc_jit_type* in = gcc_jit_type_get_pointer(gcc_jit_type_get_const(double_));
        gcc_jit_type* out = gcc_jit_type_get_pointer(double_);
        params_[0] = gcc_jit_context_new_param(c_, nullptr, in, "x");
        params_[1] = gcc_jit_context_new_param(c_, nullptr, in, "p");
        params_[2] = gcc_jit_context_new_param(c_, nullptr, out, "dxdt");
        params_[3] = gcc_jit_context_new_param(c_, nullptr, out, "divergence");
        params_[4] = gcc_jit_context_new_param(c_, nullptr, long_, "k");
        f_ = gcc_jit_context_new_function(c_, nullptr, GCC_JIT_FUNCTION_EXPORTED,
                                          gcc_jit_context_get_type(c_, GCC_JIT_TYPE_VOID), "field", 5, params_, 0);
        for (int n = 1; n <= 4; n *= 2) {
            std::vector<gcc_jit_type*> args(static_cast<std::size_t>(n), double_);
            calls_[n] = gcc_jit_context_new_function_ptr_type(c_, nullptr, double_, n, args.data(), 0);
        }
        registers_.resize(static_cast<std::size_t>(p_.registers) * static_cast<std::size_t>(w_), nullptr);
    }

    void write() {
        gcc_jit_block* entry = gcc_jit_function_new_block(f_, "entry");
        gcc_jit_block* test = gcc_jit_function_new_block(f_, "test");
        gcc_jit_block* body = gcc_jit_function_new_block(f_, "body");
        gcc_jit_block* done = gcc_jit_function_new_block(f_, "done");
        const long d = static_cast<long>(p_.dimension);
        gcc_jit_rvalue* k = gcc_jit_param_as_rvalue(params_[4]);

        run(entry, p_.values, nullptr);
        for (long i = 0; i < d; ++i) store(entry, 2, constant(i * w_), p_.flowOut[static_cast<std::size_t>(i)]);
        run(entry, p_.divergence, nullptr);
        store(entry, 3, constant(0), p_.divergenceOut);

        gcc_jit_lvalue* j = gcc_jit_function_new_local(f_, nullptr, long_, "j");
        gcc_jit_block_add_assignment(entry, nullptr, j, constant(0));
        gcc_jit_block_end_with_jump(entry, nullptr, test);
        gcc_jit_block_end_with_conditional(
            test, nullptr,
            gcc_jit_context_new_comparison(c_, nullptr, GCC_JIT_COMPARISON_LT, gcc_jit_lvalue_as_rvalue(j), k), body,
            done);

        // The first of vector j's components, in doubles: (d + j) * W;
        // component c is c * k * W further.
        gcc_jit_rvalue* first = times(plus(constant(d), gcc_jit_lvalue_as_rvalue(j)), constant(w_));
        gcc_jit_rvalue* row = times(k, constant(w_));
        run(body, p_.tangent, [&](int c) { return plus(first, times(constant(c), row)); });
        for (long i = 0; i < d; ++i)
            store(body, 2, plus(first, times(constant(i), row)), p_.tangentOut[static_cast<std::size_t>(i)]);
        gcc_jit_block_add_assignment_op(body, nullptr, j, GCC_JIT_BINARY_OP_PLUS, constant(1));
        gcc_jit_block_end_with_jump(body, nullptr, test);
        gcc_jit_block_end_with_void_return(done, nullptr);
    }

private:
    gcc_jit_rvalue* constant(long v) { return gcc_jit_context_new_rvalue_from_long(c_, long_, v); }
    gcc_jit_rvalue* plus(gcc_jit_rvalue* a, gcc_jit_rvalue* b) {
        return gcc_jit_context_new_binary_op(c_, nullptr, GCC_JIT_BINARY_OP_PLUS, long_, a, b);
    }
    gcc_jit_rvalue* times(gcc_jit_rvalue* a, gcc_jit_rvalue* b) {
        return gcc_jit_context_new_binary_op(c_, nullptr, GCC_JIT_BINARY_OP_MULT, long_, a, b);
    }
    // Parameter `param`'s double at index `at` + l.
    gcc_jit_lvalue* element(int param, gcc_jit_rvalue* at, int l) {
        return gcc_jit_context_new_array_access(c_, nullptr, gcc_jit_param_as_rvalue(params_[param]),
                                                plus(at, constant(l)));
    }
    gcc_jit_lvalue*& reg(int r, int l) {
        return registers_[static_cast<std::size_t>(r) * static_cast<std::size_t>(w_) + static_cast<std::size_t>(l)];
    }
    gcc_jit_rvalue* use(int r, int l) { return gcc_jit_lvalue_as_rvalue(reg(r, l)); }

    // Register r (or 0 for -1) into parameter `param` at `at` + l, every lane.
    void store(gcc_jit_block* b, int param, gcc_jit_rvalue* at, int r) {
        for (int l = 0; l < w_; ++l)
            gcc_jit_block_add_assignment(b, nullptr, element(param, at, l),
                                         r < 0 ? gcc_jit_context_zero(c_, double_) : use(r, l));
    }

    // Each instruction for lane 0, 1, ...: W like statements side by side,
    // which the compiler may pack into one vector operation.
    template <class Direction>
    void run(gcc_jit_block* b, const std::vector<Instruction>& code, Direction direction) {
        for (const Instruction& i : code) {
            for (int l = 0; l < w_; ++l) {
                gcc_jit_rvalue* v = nullptr;
                const auto binary = [&](gcc_jit_binary_op o) {
                    return gcc_jit_context_new_binary_op(c_, nullptr, o, double_, use(i.a, l), use(i.b, l));
                };
                switch (i.op) {
                    case Op::Constant:
                        v = gcc_jit_context_new_rvalue_from_double(c_, double_, i.constant);
                        break;
                    case Op::State:
                        v = gcc_jit_lvalue_as_rvalue(element(0, constant(static_cast<long>(i.index) * w_), l));
                        break;
                    case Op::Parameter:
                        v = gcc_jit_lvalue_as_rvalue(element(1, constant(static_cast<long>(i.index) * w_), l));
                        break;
                    case Op::Direction:
                        if constexpr (std::is_same_v<Direction, std::nullptr_t>)
                            throw std::logic_error("no direction");
                        else
                            v = gcc_jit_lvalue_as_rvalue(element(0, direction(i.index), l));
                        break;
                    case Op::Negate:
                        v = gcc_jit_context_new_unary_op(c_, nullptr, GCC_JIT_UNARY_OP_MINUS, double_, use(i.a, l));
                        break;
                    case Op::Add:
                        v = binary(GCC_JIT_BINARY_OP_PLUS);
                        break;
                    case Op::Subtract:
                        v = binary(GCC_JIT_BINARY_OP_MINUS);
                        break;
                    case Op::Multiply:
                        v = binary(GCC_JIT_BINARY_OP_MULT);
                        break;
                    case Op::Divide:
                        v = binary(GCC_JIT_BINARY_OP_DIVIDE);
                        break;
                    case Op::Call: {
                        const int n = arity(i.function);
                        gcc_jit_rvalue* args[4] = {};
                        const int operands[4] = {i.a, i.b, i.c, i.d};
                        for (int a = 0; a < n; ++a) args[a] = use(operands[a], l);
                        gcc_jit_rvalue* code =
                            gcc_jit_context_new_rvalue_from_ptr(c_, calls_[n], functionAddress(i.function));
                        v = gcc_jit_context_new_call_through_ptr(c_, nullptr, code, n, args);
                        break;
                    }
                }
                gcc_jit_lvalue*& local = reg(i.out, l);
                if (!local) {
                    std::string name = "r";
                    name += std::to_string(i.out);
                    name += '_';
                    name += std::to_string(l);
                    local = gcc_jit_function_new_local(f_, nullptr, double_, name.c_str());
                }
                gcc_jit_block_add_assignment(b, nullptr, local, v);
            }
        }
    }

    gcc_jit_context* c_;
    const FieldProgram& p_;
    int w_;
    gcc_jit_type* double_;
    gcc_jit_type* long_;
    gcc_jit_param* params_[5];
    gcc_jit_function* f_;
    gcc_jit_type* calls_[5] = {};
    std::vector<gcc_jit_lvalue*> registers_;
};

// The instruction set named for W lanes.
void target(gcc_jit_context* c, int width) {
#if defined(__x86_64__)
    gcc_jit_context_add_command_line_option(c, "-march=x86-64");
    if (width >= 4) gcc_jit_context_add_command_line_option(c, "-mavx2");
    if (width >= 8) gcc_jit_context_add_command_line_option(c, "-mavx512f");
    // 64-byte vectors where the lanes are 8, as the engine's own code.
    if (width >= 8) gcc_jit_context_add_command_line_option(c, "-mprefer-vector-width=512");
#else
    (void)width;
#endif
}

std::shared_ptr<const CompiledField> compile(const FieldProgram& program, int width) {
    const std::unique_ptr<gcc_jit_context, void (*)(gcc_jit_context*)> c(gcc_jit_context_acquire(),
                                                                         gcc_jit_context_release);
    if (!c) throw std::runtime_error("the compiler library could not start");
    gcc_jit_context_set_int_option(c.get(), GCC_JIT_INT_OPTION_OPTIMIZATION_LEVEL, 3);
    // The same doubles as the interpreter's: no fused multiply-add, no
    // reassociation.
    gcc_jit_context_add_command_line_option(c.get(), "-ffp-contract=off");
    gcc_jit_context_add_command_line_option(c.get(), "-fno-fast-math");
    target(c.get(), width);
    Writer(c.get(), program, width).write();
    gcc_jit_result* result = gcc_jit_context_compile(c.get());
    if (!result) {
        const char* why = gcc_jit_context_get_first_error(c.get());
        throw std::runtime_error(std::string("the equations could not be compiled: ") +
                                 (why ? why : "no reason given"));
    }
    void* code = gcc_jit_result_get_code(result, "field");
    if (!code) {
        gcc_jit_result_release(result);
        throw std::runtime_error("the compiled equations have no code");
    }
    return std::make_shared<const CompiledField>(result, reinterpret_cast<LaneField>(code));
}

}  // namespace

CompiledField::~CompiledField() {
    gcc_jit_result_release(static_cast<gcc_jit_result*>(result_));
}

std::shared_ptr<const CompiledField> compiledField(const FieldProgram& program, const std::string& digest, int width) {
    if (width != 2 && width != 4 && width != 8)
        throw std::invalid_argument(std::string("a block has 2, 4 or 8 lanes, not ") += std::to_string(width));
    static std::mutex mutex;
    static std::map<std::pair<std::string, int>, std::shared_ptr<const CompiledField>> cache;
    const std::lock_guard lock(mutex);
    auto& slot = cache[{digest, width}];
    if (!slot) slot = compile(program, width);
    return slot;
}

}  // namespace veltrano::equations
