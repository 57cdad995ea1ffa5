#pragma once

#include <string_view>

#include "compiled_system.h"
#include "equation_text.h"
#include "simd_path.h"
#include "system_description.h"
#include "visit_system.h"

namespace veltrano {

// Calls visit(system) with the flow `description` as its own type: typed
// equations (a description with a text) compiled for the lanes of `path`,
// else the flow of the catalogue (visitSystem). Returns false, calling
// nothing, for a name or dimension the catalogue does not have; a text the
// parser refuses throws equations::EquationError.
template <class Visit>
bool visitFlow(const SystemDescription& description, SimdPath path, Visit&& visit) {
    if (description.text.empty()) return visitSystem(description.name, description.dimension, visit);
    equations::visitCompiled(equations::parseEquations(description.text), path, visit);
    return true;
}

}  // namespace veltrano
