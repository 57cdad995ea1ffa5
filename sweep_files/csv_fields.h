#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace veltrano {

// The fields of one line of a CSV file this program writes: split at every
// comma, no quoting (no field holds a comma).
[[nodiscard]] std::vector<std::string_view> csvFields(std::string_view line);

// A whole number in exactly the digits std::to_string writes for it;
// nullopt for anything else ("+1", "01", " 1", "", beyond 64 bits).
[[nodiscard]] std::optional<std::int64_t> wholeField(std::string_view field);

// A finite double in any digits from_chars reads; nullopt for anything
// else. For a field whose line is compared whole with what this program
// writes.
[[nodiscard]] std::optional<double> finiteField(std::string_view field);

// A finite double in exactly the digits preciseText writes for it (17
// significant digits, the shortest form); nullopt for anything else.
[[nodiscard]] std::optional<double> numberField(std::string_view field);

}  // namespace veltrano
