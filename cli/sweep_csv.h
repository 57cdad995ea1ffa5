#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sweep_runner.h"

namespace veltrano::cli {

inline constexpr std::string_view kSweepHeader =
    "index,sigma,R,b,t,lambda1,lambda2,lambda3,kaplan_yorke,status";

// One line of a sweep's CSV, without its newline: the index, the point's
// parameters, t and the three exponents with 17 significant digits, the
// Kaplan-Yorke dimension and "ok"; or, for a point stopped by an arithmetic
// fault, the time reached, four empty fields and "error".
[[nodiscard]] std::string sweepRow(const SweepPoint& point);

// Reads a line written by sweepRow back; nullopt when it is not one.
[[nodiscard]] std::optional<SweepPoint> parseSweepRow(std::string_view line);

}  // namespace veltrano::cli
