#pragma once

#include <cstdio>
#include <string_view>

namespace veltrano::cli {

// Exit statuses of veltrano-cli.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;      // one run: bad usage; other forms: a file could not be written
inline constexpr int kExitRefused = 2;     // an entry was refused, or (other forms) bad usage
inline constexpr int kExitArithmetic = 3;  // an arithmetic fault stopped the computation

// Says "veltrano-cli FORM: MESSAGE" on standard error (without the form's
// name when `form` is empty) and returns `status`, so that a form ends with
// `return fail("sweep", why, kExitRefused);`.
int fail(std::string_view form, std::string_view message, int status);

// Writes the whole text to `out` and flushes it; false when any of it could
// not be written (a full disk, a closed pipe).
[[nodiscard]] bool writeAll(std::FILE* out, std::string_view text);

}  // namespace veltrano::cli
