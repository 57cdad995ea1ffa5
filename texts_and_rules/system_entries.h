#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "system_description.h"

namespace veltrano {

// The flow called `name` at the dimension written in `dimension` (empty:
// its default), or why not: an unknown name (the message lists the
// catalogue), a dimension that is not a whole number, out of the flow's
// range, or given for a flow whose dimension is fixed.
[[nodiscard]] std::variant<SystemDescription, std::string> chooseSystem(std::string_view name,
                                                                       std::string_view dimension);

// The entries of a run of a catalogue flow: N, then NAME=VALUE for any of
// its parameters, in any order; the others keep their defaults. N is a
// whole number from 1 to RunSettings::kMaxIntervals; values are written as
// the entries are (digits, at most one point, a leading minus, no exponent).
struct SystemEntries {
    std::int64_t n = 0;
    std::vector<double> parameters;  // in the order of the flow's parameters
};

// The entries as checked, or the message of the first refused one: a
// missing N, an N out of range or not a whole number, an argument without
// '=', a name the flow does not have (the message lists its parameters),
// a parameter given twice, a value that is empty or not a number.
[[nodiscard]] std::variant<SystemEntries, std::string> checkSystemEntries(const SystemDescription& system,
                                                                         const std::vector<std::string>& entries);

// The number k of exponents computed, written in `given` (empty: all d),
// or why not: k must be a whole number from 1 to the flow's dimension.
[[nodiscard]] std::variant<std::size_t, std::string> exponentCount(const SystemDescription& system,
                                                                  std::string_view given);

// What a starting point of `system` must be: "3 finite numbers, one for
// each variable of rossler (x, y, z)".
[[nodiscard]] std::string initialRule(const SystemDescription& system);

// The starting point written in `given` as v1,v2,...,vd: exactly d values
// (the flow's dimension), each written as the entries are and finite; or
// why not, naming the option, what was given, d and the flow.
[[nodiscard]] std::variant<std::vector<double>, std::string> initialPointOf(const SystemDescription& system,
                                                                           std::string_view given);

// The flow's name in the field `system` of its files: the catalogue name
// for a flow of fixed dimension ("rossler"), NAME:D for one whose dimension
// is chosen ("lorenz96:8").
[[nodiscard]] std::string systemField(const SystemDescription& system);

// A value written as the entries are, with at least one digit, or nullopt.
[[nodiscard]] std::optional<double> entryNumber(std::string_view text);

// "the parameters of rossler are a, b, c" ("lorenz96 has no parameters" ...).
[[nodiscard]] std::string parametersOf(const SystemDescription& system);

}  // namespace veltrano
