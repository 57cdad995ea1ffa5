#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "equation_text.h"
#include "system_description.h"

namespace veltrano::cli {

// The text of an equations file, `-` for standard input, read whole; or,
// with `text` empty and `error` set, why not: the file cannot be opened or
// read, or it is longer than the parser takes (refused before the rest is
// read).
struct EquationFile {
    std::string text;
    std::string error;
};

[[nodiscard]] EquationFile readEquationFile(std::string_view path);

// The flow typed in the file at `path` (`-`: standard input), with its text
// and named as its files name it, "equations:" and the text's SHA-256; or
// why not (the file, or the parser's line and column).
[[nodiscard]] std::variant<SystemDescription, std::string> typedFlowOf(std::string_view path);

// The flow of a history, sweep or join: typed equations (`equationsPath`)
// or the flow `system` of the catalogue at `dimension` (chooseSystem);
// exactly one of the two, --dimension only with --system.
[[nodiscard]] std::variant<SystemDescription, std::string> chooseFlow(std::string_view system,
                                                                      std::string_view dimension,
                                                                      std::string_view equationsPath);

// The flow as picture titles name it: "your equations" for typed
// equations, else its name in files.
[[nodiscard]] std::string flowTitle(const SystemDescription& flow);

}  // namespace veltrano::cli
