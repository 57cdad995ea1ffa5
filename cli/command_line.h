#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "parameter_check.h"
#include "report.h"
#include "rk4_integrator.h"
#include "sweep_grid.h"

namespace veltrano::cli {

// Command-line arguments arrive as UTF-8; the entry checks count UTF-16
// units as the window's text fields do. Malformed bytes become U+FFFD.
[[nodiscard]] std::u16string toUtf16(std::string_view s);

// The option parser reads any argument that starts with a single '-' as an
// option. Texts such as "-3.5", "-", "-." or "-x" are values here (the
// entries judge them), so they are marked before parsing and unmarked when
// read. "-h" stays the help option. "--name=" becomes "--name" and an
// empty value, which the forms refuse.
[[nodiscard]] std::vector<std::string> markValues(int argc, char** argv);
[[nodiscard]] std::string unmarked(std::string_view argument);
// A message of the option parser that may quote marked arguments, as the
// user wrote them.
[[nodiscard]] std::string withoutMarks(std::string_view message);

// The four entries N SIGMA R B checked as the window checks them.
[[nodiscard]] std::variant<Parameters, EntryError> checkEntryTexts(const std::vector<std::string>& entries);

// The entries of history, sweep and join: N a whole number from 1 to
// 10^9, SIGMA R B as the window checks them, in the window's order and
// with its messages.
struct ResearchEntries {
    std::int64_t n = 0;
    FlowParameters parameters{};
};
[[nodiscard]] std::variant<ResearchEntries, std::string> checkResearchEntries(const std::vector<std::string>& entries);

// A whole number written in digits only, at least `minimum` and at most
// `maximum`; nullopt for anything else. With kAnyWholeNumber as the most,
// digits alone are asked for (as many as a whole number can hold), and the
// rules of the run judge the value.
inline constexpr std::int64_t kAnyWholeNumber = std::numeric_limits<std::int64_t>::max();
[[nodiscard]] std::optional<std::int64_t> wholeNumber(std::string_view text, std::int64_t minimum,
                                                      std::int64_t maximum);

// NAME=FROM:TO:COUNT as typed, its NAME judged by `refusedName` (the empty
// text for a name it takes); the message says what is wrong otherwise.
// With `digitsRequired` an end without a digit ("-", ".") is refused, as a
// flow's entries refuse it; Lorenz's ends read as its entries do.
struct AxisText {
    std::string name;
    double from = 0.0;
    double to = 0.0;
    std::int64_t count = 1;
};
[[nodiscard]] std::variant<AxisText, std::string> parseAxisText(
    std::string_view text, const std::function<std::string(std::string_view)>& refusedName,
    bool digitsRequired = false);

// NAME=FROM:TO:COUNT of Lorenz; the message says what is wrong otherwise.
[[nodiscard]] std::variant<SweepAxis, std::string> parseVary(std::string_view text);

// K/M with 1 <= K <= M <= SweepGrid::kMaxPoints.
[[nodiscard]] std::optional<std::pair<std::int64_t, std::int64_t>> parseShard(std::string_view text);

}  // namespace veltrano::cli
