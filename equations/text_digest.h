#pragma once

#include <string>
#include <string_view>

namespace veltrano::equations {

// The SHA-256 digest of `text`, as 64 lowercase hexadecimal digits.
[[nodiscard]] std::string sha256Hex(std::string_view text);

}  // namespace veltrano::equations
