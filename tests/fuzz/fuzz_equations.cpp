// Feeds arbitrary texts to the equations parser: nothing may crash or
// overflow the stack; a refusal names a place in the text; an accepted
// system prints back as a text that parses to the same print, and its
// field program runs.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "equation_text.h"
#include "field_program.h"

using namespace veltrano::equations;

namespace {

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "violated: %s\n", what);
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    try {
        const Equations e = parseEquations(text);
        const std::string printed = printEquations(e);
        check(printEquations(parseEquations(printed)) == printed, "the print parses to the same print");
        const FieldProgram p = compileProgram(e);
        check(p.flowOut.size() == e.dimension() && p.tangentOut.size() == e.dimension(), "an output per variable");
        std::vector<double> r(static_cast<std::size_t>(p.registers)), u(e.dimension(), 1.0);
        runInstructions(p.values, r.data(), e.initial.data(), e.defaults.data(), nullptr, 0);
        runInstructions(p.tangent, r.data(), nullptr, nullptr, u.data(), 1);
        runInstructions(p.divergence, r.data(), nullptr, nullptr, nullptr, 0);
    } catch (const EquationError& error) {
        int lines = 1;
        for (char c : text) lines += c == '\n';
        check(error.line() >= 1 && error.line() <= lines && error.column() >= 1, "a refusal names a place");
    }
    return 0;
}
