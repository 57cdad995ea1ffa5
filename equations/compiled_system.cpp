#include "compiled_system.h"

#include "field_program.h"

namespace veltrano::equations {

CompiledSystem::CompiledSystem(const Equations& equations, SimdPath path) : dimension_(equations.dimension()) {
    const FieldProgram program = compileProgram(equations);
    const int width = lanesOf(path);
    const auto slot = static_cast<std::size_t>(width / 4);
    fields_[slot] = compiledField(program, equations.digest, width);
    code_[slot] = fields_[slot]->code();
}

std::array<double, kMaxParameters> defaultParameters(const Equations& equations) {
    std::array<double, kMaxParameters> p{};
    for (std::size_t i = 0; i < equations.defaults.size(); ++i) p[i] = equations.defaults[i];
    return p;
}

}  // namespace veltrano::equations
