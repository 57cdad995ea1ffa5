#pragma once

#include <libgccjit.h>

namespace veltrano::equations {

// The functions of GCC's JIT library that compiling equations calls. The
// library is opened when equations are first compiled, not when a program
// starts: loading it (and the compiler it holds) was most of the start of
// every program that links the equations, most of which never compile one.
#define VELTRANO_GCC_JIT_FUNCTIONS(F)          \
    F(block_add_assignment)                    \
    F(block_add_assignment_op)                 \
    F(block_end_with_conditional)              \
    F(block_end_with_jump)                     \
    F(block_end_with_void_return)              \
    F(context_acquire)                         \
    F(context_add_command_line_option)         \
    F(context_add_driver_option)               \
    F(context_compile)                         \
    F(context_get_first_error)                 \
    F(context_get_type)                        \
    F(context_new_array_access)                \
    F(context_new_binary_op)                   \
    F(context_new_call_through_ptr)            \
    F(context_new_cast)                        \
    F(context_new_comparison)                  \
    F(context_new_function)                    \
    F(context_new_function_ptr_type)           \
    F(context_new_param)                       \
    F(context_new_rvalue_from_double)          \
    F(context_new_rvalue_from_long)            \
    F(context_new_rvalue_from_ptr)             \
    F(context_new_rvalue_from_vector)          \
    F(context_new_unary_op)                    \
    F(context_release)                         \
    F(context_set_bool_print_errors_to_stderr) \
    F(context_set_bool_use_external_driver)    \
    F(context_set_int_option)                  \
    F(function_new_block)                      \
    F(function_new_local)                      \
    F(lvalue_as_rvalue)                        \
    F(lvalue_get_address)                      \
    F(param_as_rvalue)                         \
    F(result_get_code)                         \
    F(result_release)                          \
    F(rvalue_dereference)                      \
    F(type_get_aligned)                        \
    F(type_get_const)                          \
    F(type_get_pointer)                        \
    F(type_get_vector)

// gcc_jit_NAME as the member NAME.
struct GccJit {
#define VELTRANO_GCC_JIT_MEMBER(name) decltype(&::gcc_jit_##name) name = nullptr;
    VELTRANO_GCC_JIT_FUNCTIONS(VELTRANO_GCC_JIT_MEMBER)
#undef VELTRANO_GCC_JIT_MEMBER
};

// The library's functions, the library opened at the first call (by its
// Debian name, libgccjit.so.0) and kept open. Throws std::runtime_error,
// saying what to install, where it cannot be opened or lacks a function;
// a later call tries again.
[[nodiscard]] const GccJit& gccJit();

// The same from the library `file` (a name the dynamic loader searches for,
// or a path), opened anew: what gccJit() does, for any file.
[[nodiscard]] GccJit openGccJit(const char* file);

}  // namespace veltrano::equations
