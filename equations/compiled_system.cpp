#include "compiled_system.h"

#include "field_program.h"

namespace veltrano::equations {

CompiledStep::CompiledStep(const Equations& equations, SimdPath path)
    : dimension_(equations.dimension()), width_(lanesOf(path)) {
    field_ = compiledField(compileProgram(equations), equations.digest, width_);
    code_ = field_->code();
}

std::array<double, kMaxParameters> defaultParameters(const Equations& equations) {
    std::array<double, kMaxParameters> p{};
    for (std::size_t i = 0; i < equations.defaults.size(); ++i) p[i] = equations.defaults[i];
    return p;
}

}  // namespace veltrano::equations
