// compiledField for builds without GCC's JIT library (VELTRANO_JIT off):
// there visitCompiled runs typed systems through the interpreter, and a
// compiled system asked for by name is refused with this message.
#include <stdexcept>

#include "compiled_field.h"

namespace veltrano::equations {

CompiledField::~CompiledField() = default;

std::shared_ptr<const CompiledField> compiledField(const FieldProgram&, const std::string&, int) {
    throw std::runtime_error("this build has no JIT compiler for equations (VELTRANO_JIT is OFF): "
                             "typed systems run interpreted");
}

}  // namespace veltrano::equations
