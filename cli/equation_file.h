#pragma once

#include <string>
#include <string_view>

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

}  // namespace veltrano::cli
