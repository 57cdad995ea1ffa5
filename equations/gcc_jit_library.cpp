#include "gcc_jit_library.h"

#include <dlfcn.h>

#include <mutex>
#include <stdexcept>
#include <string>
#include <type_traits>

namespace veltrano::equations {

GccJit openGccJit(const char* file) {
    void* library = dlopen(file, RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* why = dlerror();
        throw std::runtime_error(std::string("typed equations need GCC's JIT library (Debian's libgccjit0), which "
                                             "could not be opened: ") +
                                 (why ? why : file));
    }
    GccJit jit;
    const auto find = [&](auto& member, const char* name) {
        member = reinterpret_cast<std::remove_reference_t<decltype(member)>>(dlsym(library, name));
        if (!member) {
            dlclose(library);
            throw std::runtime_error(std::string("typed equations need GCC's JIT library (Debian's libgccjit0): ") +
                                     file + " has no " + name);
        }
    };
#define VELTRANO_GCC_JIT_FIND(name) find(jit.name, "gcc_jit_" #name);
    VELTRANO_GCC_JIT_FUNCTIONS(VELTRANO_GCC_JIT_FIND)
#undef VELTRANO_GCC_JIT_FIND
    return jit;  // the library stays open: its code and its compiler's state live as long as the process
}

const GccJit& gccJit() {
    // Never destroyed: compiled code kept in a static cache is released
    // through the table by destructors that run at the process's end, maybe
    // after this function's own objects would have been.
    static std::mutex& mutex = *new std::mutex;
    static const GccJit* jit = nullptr;
    const std::lock_guard lock(mutex);
    if (!jit) jit = new GccJit(openGccJit("libgccjit.so.0"));
    return *jit;
}

}  // namespace veltrano::equations
