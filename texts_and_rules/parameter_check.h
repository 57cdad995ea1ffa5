#pragma once

#include <array>
#include <optional>
#include <string_view>
#include <variant>

#include "parameters.h"

namespace veltrano {

// Texts longer than this cannot be examined by the character tests (their
// counters are 16-bit) and are rejected.
inline constexpr std::size_t kMaxEntryLength = 32766;

// True when `inp` is a non-empty run of the digits 0-9.
[[nodiscard]] bool controllo1(std::u16string_view inp);

// True when `inp` is non-empty and made of digits, at most one point and at
// most one minus sign, standing first. No digit is required: "-", "." and
// "-." pass.
[[nodiscard]] bool controllo2(std::u16string_view inp);

// The value of a text that passed controllo1; nullopt when it is 10000 or
// more, however many digits it has (leading zeros count for nothing).
[[nodiscard]] std::optional<std::int16_t> iterationsValue(std::u16string_view digits);

// The value of a text that passed controllo2, read with the point as the
// decimal separator: missing digits before or after the point count as none,
// a leading minus negates. nullopt when the value lies beyond the double
// range; a value below it reads as the nearest subnormal or zero.
[[nodiscard]] std::optional<double> decimalValue(std::u16string_view text);

enum class Entry { N, Sigma, R, B };

inline constexpr std::string_view kMessageN = "Valore Errato: il valore deve essere un intero positivo";
inline constexpr std::string_view kMessageSigma = "Valore Errato: il valore di sigma deve essere un numero reale";
inline constexpr std::string_view kMessageR = "Valore Errato: il valore di R deve essere un numero reale";
inline constexpr std::string_view kMessageB = "Valore Errato: il valore di b deve essere un numero reale";
inline constexpr std::string_view kMessageRange = "Deve essere n < 10000";

struct EntryError {
    Entry entry;
    std::string_view message;
    friend bool operator==(const EntryError&, const EntryError&) = default;
};

// The four entry texts in the order n, sigma, R, b.
using EntryTexts = std::array<std::u16string_view, 4>;

// Tests the four texts in the fixed order (n, sigma, R, b, then the range of
// n) and yields the parameters or the first failing entry with its message.
// n must be positive: zero iterations would compute nothing.
[[nodiscard]] std::variant<Parameters, EntryError> checkEntries(const EntryTexts& texts);

}  // namespace veltrano
