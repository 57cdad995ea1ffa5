#pragma once

#include <string>

#include "equation_text.h"
#include "system_description.h"

namespace veltrano {

// A flow typed as text, described as the catalogue describes its flows:
// named by the text's digest, "equations:" and the 64 hex digits of its
// SHA-256 (the name its files carry), titled "your equations", its
// variables, its parameters with their defaults, each ranging over half to
// one and a half times its default (-1 to 1 for a default of 0; the ends
// to 12 digits, so that 1.5 * 0.2 is 0.3), its start and its text.
[[nodiscard]] SystemDescription typedFlowDescription(const equations::Equations& parsed);

// The same from the text alone; throws equations::EquationError for a text
// that does not parse.
[[nodiscard]] SystemDescription typedFlowDescription(const std::string& text);

}  // namespace veltrano
