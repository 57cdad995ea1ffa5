#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sweep_runner.h"

namespace veltrano {

inline constexpr std::string_view kSweepHeader = "index,sigma,R,b,t,lambda1,lambda2,lambda3,kaplan_yorke,status";
// Appended to the header with error bars.
inline constexpr std::string_view kSweepErrorColumns = ",intervals,lambda1_err,lambda2_err,lambda3_err";

[[nodiscard]] std::string sweepHeader(bool errors);

// The last field of a row: what became of the point.
[[nodiscard]] std::string_view statusWord(const SweepPoint& point, const RunSettings& settings);

// One line of a sweep's CSV, without its newline: the index, the point's
// parameters, t and the three exponents with 17 significant digits, the
// Kaplan-Yorke dimension and the status; or, for a point stopped by an
// arithmetic fault, the time reached, four empty fields and "error". With
// error bars, then the measured intervals and the three half-widths (empty
// while fewer than ten batches are complete).
[[nodiscard]] std::string sweepRow(const SweepPoint& point, const RunSettings& settings);

// Reads a line back; nullopt unless it is exactly what sweepRow writes for
// the point it describes with some run's settings (every number finite, in
// the same digits, the Kaplan-Yorke dimension that of the exponents, a
// status that fits them). Whether the status is the one of this run's
// settings, sweepRow tells.
// `status`, if given, receives the status as written.
[[nodiscard]] std::optional<SweepPoint> parseSweepRow(std::string_view line, bool errors,
                                                      std::string_view* status = nullptr);

}  // namespace veltrano
