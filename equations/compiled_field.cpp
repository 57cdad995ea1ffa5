#include "compiled_field.h"

#include <signal.h>

#include <array>
#include <map>
#include <mutex>
#include <stdexcept>
#include <tuple>
#include <utility>
#include <vector>

#include "function_values.h"
#include "gcc_jit_library.h"

namespace veltrano::equations {

namespace {

using Op = Instruction::Op;

// Writes one function, "step", for W lanes: one Runge-Kutta step of the
// whole state, in the order of rk4Step (rk4_step.h) component by
// component. Every register holds the W lanes in one vector of the
// compiler's (an operation on it is the operation lane by lane); a
// function is called on each lane. The state's first d components go
// through the four stages first, the values of each stage kept; then each
// tangent vector goes through its four stages with those values. The same
// operations on the same doubles as the engine's step over the field.
class Writer {
public:
    Writer(const GccJit& jit, gcc_jit_context* c, const FieldProgram& program, int width)
        : jit_(jit), c_(c), p_(program), w_(width) {
        double_ = jit_.context_get_type(c_, GCC_JIT_TYPE_DOUBLE);
        long_ = jit_.context_get_type(c_, GCC_JIT_TYPE_LONG);
        vector_ = jit_.type_get_vector(double_, static_cast<std::size_t>(w_));
        // In memory the lanes are aligned as doubles only.
        memory_ = jit_.type_get_pointer(jit_.type_get_aligned(vector_, sizeof(double)));
        gcc_jit_type* in = jit_.type_get_pointer(jit_.type_get_const(double_));
        gcc_jit_type* out = jit_.type_get_pointer(double_);
        params_[0] = jit_.context_new_param(c_, nullptr, in, "s");
        params_[1] = jit_.context_new_param(c_, nullptr, out, "next");
        params_[2] = jit_.context_new_param(c_, nullptr, in, "p");
        params_[3] = jit_.context_new_param(c_, nullptr, out, "slopes");
        params_[4] = jit_.context_new_param(c_, nullptr, double_, "h");
        params_[5] = jit_.context_new_param(c_, nullptr, long_, "k");
        f_ = jit_.context_new_function(c_, nullptr, GCC_JIT_FUNCTION_EXPORTED,
                                       jit_.context_get_type(c_, GCC_JIT_TYPE_VOID), "step", 6, params_, 0);
        for (int n = 1; n <= 4; n *= 2) {
            std::vector<gcc_jit_type*> args(static_cast<std::size_t>(n), double_);
            calls_[n] = jit_.context_new_function_ptr_type(c_, nullptr, double_, n, args.data(), 0);
        }
    }

    void write() {
        gcc_jit_block* entry = jit_.function_new_block(f_, "entry");
        gcc_jit_block* any = jit_.function_new_block(f_, "any");
        gcc_jit_block* test = jit_.function_new_block(f_, "test");
        gcc_jit_block* body = jit_.function_new_block(f_, "body");
        gcc_jit_block* done = jit_.function_new_block(f_, "done");
        const long d = static_cast<long>(p_.dimension);
        gcc_jit_rvalue* k = jit_.param_as_rvalue(params_[5]);
        h_ = fresh();
        std::vector<gcc_jit_rvalue*> hs(static_cast<std::size_t>(w_), jit_.param_as_rvalue(params_[4]));
        jit_.block_add_assignment(entry, nullptr, h_,
                                  jit_.context_new_rvalue_from_vector(c_, nullptr, vector_, hs.size(), hs.data()));

        // With all d vectors of a small system, every stage of the state and
        // of each vector in one stretch of code, as the engine's own step
        // goes (the vectors' chains of operations side by side, not one
        // after another); else the state, then a loop over the vectors.
        if (d <= kSideBySide) {
            gcc_jit_block* all = jit_.function_new_block(f_, "all");
            jit_.block_end_with_conditional(
                entry, nullptr, jit_.context_new_comparison(c_, nullptr, GCC_JIT_COMPARISON_EQ, k, constant(d)), all,
                any);
            sideBySide(all, d);
            jit_.block_end_with_void_return(all, nullptr);
        } else {
            jit_.block_end_with_jump(entry, nullptr, any);
        }

        // The state: its stages, with the values of each kept for the
        // tangent vectors and the divergence as each stage's slope.
        Group x = group(any, [&](long c) { return constant(c * w_); });
        for (int m = 0; m < 4; ++m) {
            stage_ = m;
            inputs_ = &x.now;
            run(any, p_.values);
            update(any, x, p_.flowOut, m);
        }
        for (int m = 0; m < 4; ++m) {
            stage_ = m;
            run(any, p_.divergence);
            store(any, 3, constant(m * w_), p_.divergenceOut < 0 ? zero() : use(p_.divergenceOut));
        }
        for (long i = 0; i < d; ++i)
            store(any, 1, constant(i * w_), jit_.lvalue_as_rvalue(x.now[static_cast<std::size_t>(i)]));

        gcc_jit_lvalue* j = jit_.function_new_local(f_, nullptr, long_, "j");
        jit_.block_add_assignment(any, nullptr, j, constant(0));
        jit_.block_end_with_jump(any, nullptr, test);
        jit_.block_end_with_conditional(
            test, nullptr, jit_.context_new_comparison(c_, nullptr, GCC_JIT_COMPARISON_LT, jit_.lvalue_as_rvalue(j), k),
            body, done);

        // Component c of vector j, in doubles: (d + j) * W + c * k * W.
        gcc_jit_rvalue* first = times(plus(constant(d), jit_.lvalue_as_rvalue(j)), constant(w_));
        gcc_jit_rvalue* row = times(k, constant(w_));
        const auto at = [&](long c) { return plus(first, times(constant(c), row)); };
        Group u = group(body, at);
        for (int m = 0; m < 4; ++m) {
            stage_ = m;
            inputs_ = &u.now;
            run(body, p_.tangent);
            update(body, u, p_.tangentOut, m);
        }
        for (long i = 0; i < d; ++i) store(body, 1, at(i), jit_.lvalue_as_rvalue(u.now[static_cast<std::size_t>(i)]));
        jit_.block_add_assignment_op(body, nullptr, j, GCC_JIT_BINARY_OP_PLUS, constant(1));
        jit_.block_end_with_jump(body, nullptr, test);
        jit_.block_end_with_void_return(done, nullptr);
    }

    // The largest dimension whose step with all d vectors is written out
    // whole (d + d * d components, four stages each).
    static constexpr long kSideBySide = 8;

private:
    // d components going through the four stages: the start s, the slopes
    // kept, and `now`, the input of the stage under way (after the fourth,
    // the components after the step).
    struct Group {
        std::vector<gcc_jit_lvalue*> s, k1, k23, now;
    };

    // The components read at `at(c)` of s.
    template <class At>
    Group group(gcc_jit_block* b, At at) {
        const std::size_t d = p_.dimension;
        Group g{std::vector<gcc_jit_lvalue*>(d), std::vector<gcc_jit_lvalue*>(d), std::vector<gcc_jit_lvalue*>(d), {}};
        for (std::size_t c = 0; c < d; ++c) g.s[c] = assign(b, load(0, at(static_cast<long>(c))));
        g.now = g.s;
        return g;
    }

    // Stage m of g, its derivatives in registers `outs` (-1: zero) of the
    // stage: the trial states and the update as rk4Step forms them:
    //   trial = (k1 h)/2 + s, (k2 h)/2 + s, k3 h + s;  k23 = (k3 + k2) 2
    //   next = ((k23 + (k4 + k1)) h)/6 + s
    void update(gcc_jit_block* b, Group& g, const std::vector<int>& outs, int m) {
        gcc_jit_rvalue* h = jit_.lvalue_as_rvalue(h_);
        std::vector<gcc_jit_lvalue*> made(g.s.size());
        for (std::size_t c = 0; c < g.s.size(); ++c) {
            gcc_jit_rvalue* sv = jit_.lvalue_as_rvalue(g.s[c]);
            gcc_jit_rvalue* kv = outs[c] < 0 ? zero() : use(outs[c]);
            if (m == 0) {
                g.k1[c] = assign(b, kv);
                made[c] = assign(b, add(div(mul(kv, h), number(2)), sv));
            } else if (m == 1) {
                g.k23[c] = assign(b, kv);
                made[c] = assign(b, add(div(mul(kv, h), number(2)), sv));
            } else if (m == 2) {
                made[c] = assign(b, add(mul(kv, h), sv));
                jit_.block_add_assignment(b, nullptr, g.k23[c],
                                          mul(add(kv, jit_.lvalue_as_rvalue(g.k23[c])), number(2)));
            } else {
                gcc_jit_rvalue* sum = add(jit_.lvalue_as_rvalue(g.k23[c]), add(kv, jit_.lvalue_as_rvalue(g.k1[c])));
                made[c] = assign(b, add(div(mul(sum, h), number(6)), sv));
            }
        }
        g.now = made;
    }

    // The step with k = d vectors, every stage of the state and then of
    // each vector before the next stage, in straight-line code. The state's
    // next trial comes first: the next stage waits on it alone.
    void sideBySide(gcc_jit_block* b, long d) {
        Group x = group(b, [&](long c) { return constant(c * w_); });
        std::vector<Group> u;
        for (long j = 0; j < d; ++j) u.push_back(group(b, [&](long c) { return constant((d + d * c + j) * w_); }));
        for (int m = 0; m < 4; ++m) {
            stage_ = m;
            inputs_ = &x.now;
            run(b, p_.values);
            update(b, x, p_.flowOut, m);
            run(b, p_.divergence);
            store(b, 3, constant(m * w_), p_.divergenceOut < 0 ? zero() : use(p_.divergenceOut));
            for (Group& g : u) {
                inputs_ = &g.now;
                run(b, p_.tangent);
                update(b, g, p_.tangentOut, m);
            }
        }
        for (long c = 0; c < d; ++c) {
            store(b, 1, constant(c * w_), jit_.lvalue_as_rvalue(x.now[static_cast<std::size_t>(c)]));
            for (long j = 0; j < d; ++j)
                store(b, 1, constant((d + d * c + j) * w_),
                      jit_.lvalue_as_rvalue(u[static_cast<std::size_t>(j)].now[static_cast<std::size_t>(c)]));
        }
    }

    gcc_jit_rvalue* constant(long v) { return jit_.context_new_rvalue_from_long(c_, long_, v); }
    // v in every lane.
    gcc_jit_rvalue* number(double v) {
        std::vector<gcc_jit_rvalue*> lanes(static_cast<std::size_t>(w_),
                                           jit_.context_new_rvalue_from_double(c_, double_, v));
        return jit_.context_new_rvalue_from_vector(c_, nullptr, vector_, lanes.size(), lanes.data());
    }
    gcc_jit_rvalue* zero() { return number(0.0); }
    gcc_jit_rvalue* plus(gcc_jit_rvalue* a, gcc_jit_rvalue* b) {
        return jit_.context_new_binary_op(c_, nullptr, GCC_JIT_BINARY_OP_PLUS, long_, a, b);
    }
    gcc_jit_rvalue* times(gcc_jit_rvalue* a, gcc_jit_rvalue* b) {
        return jit_.context_new_binary_op(c_, nullptr, GCC_JIT_BINARY_OP_MULT, long_, a, b);
    }
    gcc_jit_rvalue* binary(gcc_jit_binary_op o, gcc_jit_rvalue* a, gcc_jit_rvalue* b) {
        return jit_.context_new_binary_op(c_, nullptr, o, vector_, a, b);
    }
    gcc_jit_rvalue* add(gcc_jit_rvalue* a, gcc_jit_rvalue* b) { return binary(GCC_JIT_BINARY_OP_PLUS, a, b); }
    gcc_jit_rvalue* mul(gcc_jit_rvalue* a, gcc_jit_rvalue* b) { return binary(GCC_JIT_BINARY_OP_MULT, a, b); }
    gcc_jit_rvalue* div(gcc_jit_rvalue* a, gcc_jit_rvalue* b) { return binary(GCC_JIT_BINARY_OP_DIVIDE, a, b); }
    gcc_jit_lvalue* fresh() {
        std::string name = "t";
        name += std::to_string(locals_++);
        return jit_.function_new_local(f_, nullptr, vector_, name.c_str());
    }
    gcc_jit_lvalue* assign(gcc_jit_block* b, gcc_jit_rvalue* v) {
        gcc_jit_lvalue* local = fresh();
        jit_.block_add_assignment(b, nullptr, local, v);
        return local;
    }
    // The W lanes of parameter `param` from index `at`.
    gcc_jit_lvalue* lanesAt(int param, gcc_jit_rvalue* at) {
        gcc_jit_lvalue* first = jit_.context_new_array_access(c_, nullptr, jit_.param_as_rvalue(params_[param]), at);
        return jit_.rvalue_dereference(
            jit_.context_new_cast(c_, nullptr, jit_.lvalue_get_address(first, nullptr), memory_), nullptr);
    }
    gcc_jit_rvalue* load(int param, gcc_jit_rvalue* at) { return jit_.lvalue_as_rvalue(lanesAt(param, at)); }
    void store(gcc_jit_block* b, int param, gcc_jit_rvalue* at, gcc_jit_rvalue* v) {
        jit_.block_add_assignment(b, nullptr, lanesAt(param, at), v);
    }
    // Register r of the stage under way.
    gcc_jit_lvalue* reg(int r) {
        auto& slot = registers_[{stage_, r}];
        if (!slot) slot = fresh();
        return slot;
    }
    gcc_jit_rvalue* use(int r) { return jit_.lvalue_as_rvalue(reg(r)); }
    // Lane l of a register.
    gcc_jit_lvalue* lane(gcc_jit_lvalue* v, int l) {
        gcc_jit_rvalue* doubles =
            jit_.context_new_cast(c_, nullptr, jit_.lvalue_get_address(v, nullptr), jit_.type_get_pointer(double_));
        return jit_.context_new_array_access(c_, nullptr, doubles, constant(l));
    }

    // The instructions of `code` for the stage under way; State and
    // Direction read the stage's inputs.
    void run(gcc_jit_block* b, const std::vector<Instruction>& code) {
        for (const Instruction& i : code) {
            gcc_jit_rvalue* v = nullptr;
            switch (i.op) {
                case Op::Constant:
                    v = number(i.constant);
                    break;
                case Op::State:
                case Op::Direction:
                    v = jit_.lvalue_as_rvalue((*inputs_)[static_cast<std::size_t>(i.index)]);
                    break;
                case Op::Parameter:
                    v = load(2, constant(static_cast<long>(i.index) * w_));
                    break;
                case Op::Negate:
                    v = jit_.context_new_unary_op(c_, nullptr, GCC_JIT_UNARY_OP_MINUS, vector_, use(i.a));
                    break;
                case Op::Add:
                    v = add(use(i.a), use(i.b));
                    break;
                case Op::Subtract:
                    v = binary(GCC_JIT_BINARY_OP_MINUS, use(i.a), use(i.b));
                    break;
                case Op::Multiply:
                    v = mul(use(i.a), use(i.b));
                    break;
                case Op::Divide:
                    v = div(use(i.a), use(i.b));
                    break;
                case Op::Call: {
                    // Lane by lane through the one implementation.
                    const int n = arity(i.function);
                    const int operands[4] = {i.a, i.b, i.c, i.d};
                    gcc_jit_lvalue* out = reg(i.out);
                    for (int l = 0; l < w_; ++l) {
                        gcc_jit_rvalue* args[4] = {};
                        for (int a = 0; a < n; ++a) args[a] = jit_.lvalue_as_rvalue(lane(reg(operands[a]), l));
                        gcc_jit_rvalue* code =
                            jit_.context_new_rvalue_from_ptr(c_, calls_[n], functionAddress(i.function));
                        jit_.block_add_assignment(b, nullptr, lane(out, l),
                                                  jit_.context_new_call_through_ptr(c_, nullptr, code, n, args));
                    }
                    continue;
                }
            }
            jit_.block_add_assignment(b, nullptr, reg(i.out), v);
        }
    }

    const GccJit& jit_;
    gcc_jit_context* c_;
    const FieldProgram& p_;
    int w_;
    gcc_jit_type* double_;
    gcc_jit_type* long_;
    gcc_jit_type* vector_;
    gcc_jit_type* memory_;
    gcc_jit_param* params_[6];
    gcc_jit_function* f_;
    gcc_jit_type* calls_[5] = {};
    std::map<std::pair<int, int>, gcc_jit_lvalue*> registers_;
    const std::vector<gcc_jit_lvalue*>* inputs_ = nullptr;
    gcc_jit_lvalue* h_ = nullptr;
    int stage_ = 0;
    long locals_ = 0;
};

// The instruction set named for W lanes.
void target(const GccJit& jit, gcc_jit_context* c, int width) {
#if defined(__x86_64__)
    jit.context_add_command_line_option(c, "-march=x86-64");
    if (width >= 4) jit.context_add_command_line_option(c, "-mavx2");
    if (width >= 8) jit.context_add_command_line_option(c, "-mavx512f");
    // 64-byte vectors where the lanes are 8, as the engine's own code.
    if (width >= 8) jit.context_add_command_line_option(c, "-mprefer-vector-width=512");
#else
    (void)jit, (void)c, (void)width;
#endif
}

// The handlers of every signal, put back as they were when this ends: the
// compiler run inside this process installs its driver's own (on SIGINT,
// SIGHUP, SIGTERM: kill the process), which would take Ctrl-C from the
// program that compiles (Python's KeyboardInterrupt, a window's close).
class SignalHandlersKept {
public:
    SignalHandlersKept() {
        for (int s = 1; s < NSIG; ++s) kept_[s].ok = sigaction(s, nullptr, &kept_[s].action) == 0;
    }
    ~SignalHandlersKept() {
        for (int s = 1; s < NSIG; ++s) {
            struct sigaction now {};
            if (!kept_[s].ok || sigaction(s, nullptr, &now) != 0) continue;
            const bool info = (now.sa_flags & SA_SIGINFO) != 0;
            const bool keptInfo = (kept_[s].action.sa_flags & SA_SIGINFO) != 0;
            const bool same = info == keptInfo && (info ? now.sa_sigaction == kept_[s].action.sa_sigaction
                                                        : now.sa_handler == kept_[s].action.sa_handler);
            if (!same) sigaction(s, &kept_[s].action, nullptr);
        }
    }
    SignalHandlersKept(const SignalHandlersKept&) = delete;
    SignalHandlersKept& operator=(const SignalHandlersKept&) = delete;

private:
    struct Kept {
        bool ok = false;
        struct sigaction action {};
    };
    std::array<Kept, NSIG> kept_{};
};

std::shared_ptr<const CompiledField> compile(const FieldProgram& program, int width) {
    const GccJit& jit = gccJit();
    const SignalHandlersKept handlers;
    const std::unique_ptr<gcc_jit_context, void (*)(gcc_jit_context*)> c(jit.context_acquire(), jit.context_release);
    if (!c) throw std::runtime_error("the compiler library could not start");
    // The driver that runs the assembler and linker runs as a program of its
    // own: inside this process it ends the whole process where it cannot
    // start them. Its errors come back here, and are reported once, by us.
    jit.context_set_bool_use_external_driver(c.get(), 1);
    jit.context_set_bool_print_errors_to_stderr(c.get(), 0);
    // A large system's step is one long stretch of code whose register
    // allocation takes most of the time at -O2: there the first level, and
    // allocation over the whole function at once (the doubles are the same
    // at every level: no level reorders or fuses them).
    const bool large = static_cast<long>(program.dimension) > Writer::kSideBySide;
    jit.context_set_int_option(c.get(), GCC_JIT_INT_OPTION_OPTIMIZATION_LEVEL, large ? 1 : 2);
    if (large) jit.context_add_command_line_option(c.get(), "-fira-region=one");
    // The same doubles as the interpreter's: no fused multiply-add, no
    // reassociation.
    jit.context_add_command_line_option(c.get(), "-ffp-contract=off");
    jit.context_add_command_line_option(c.get(), "-fno-fast-math");
    target(jit, c.get(), width);
    // The code calls nothing but the addresses it is given: the linker
    // need not search the C library and the start files.
    jit.context_add_driver_option(c.get(), "-nostdlib");
    Writer(jit, c.get(), program, width).write();
    gcc_jit_result* result = jit.context_compile(c.get());
    if (!result) {
        const char* why = jit.context_get_first_error(c.get());
        throw std::runtime_error(std::string("the equations could not be compiled: ") +
                                 (why ? why : "no reason given") +
                                 " (typed equations need GCC 12's driver, assembler and linker: "
                                 "Debian's gcc-12 and binutils)");
    }
    void* code = jit.result_get_code(result, "step");
    if (!code) {
        jit.result_release(result);
        throw std::runtime_error("the compiled equations have no code");
    }
    return std::make_shared<const CompiledField>(result, reinterpret_cast<LaneStep>(code));
}

}  // namespace

CompiledField::~CompiledField() {
    gccJit().result_release(static_cast<gcc_jit_result*>(result_));
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

#if defined(__SANITIZE_ADDRESS__)
#define VELTRANO_LEAK_CHECKED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define VELTRANO_LEAK_CHECKED 1
#endif
#endif
#ifdef VELTRANO_LEAK_CHECKED
// GCC's compiler, run inside this process, leaves some of its own
// allocations for the process's end: the leak checker passes over those,
// and only those.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libgccjit.so\n";
}
// Nor does it list them at the end, after a program's own messages.
extern "C" const char* __lsan_default_options() {
    return "print_suppressions=0";
}
#endif
