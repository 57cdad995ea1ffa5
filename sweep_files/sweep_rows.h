#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sweep_runner.h"
#include "trace_check.h"

namespace veltrano {

inline constexpr std::string_view kSweepHeader = "index,sigma,R,b,t,lambda1,lambda2,lambda3,kaplan_yorke,status";
// Appended to the header with error bars.
inline constexpr std::string_view kSweepErrorColumns = ",intervals,lambda1_err,lambda2_err,lambda3_err";

[[nodiscard]] std::string sweepHeader(bool errors);

// The status field of a row: "ok", "error" or "inconsistent" (a completed
// point whose exponents miss the flow's trace; its row keeps its numbers).
[[nodiscard]] std::string_view statusWord(PointStatus status);

// One line of a sweep's CSV, without its newline: the index, the point's
// parameters, t and the three exponents with 17 significant digits, the
// Kaplan-Yorke dimension and the status of the point with `settings`; or,
// for a point stopped by an arithmetic fault, the time reached, four empty
// fields and "error". With
// error bars, then the measured intervals and the three half-widths (empty
// while fewer than ten batches are complete).
[[nodiscard]] std::string sweepRow(const SweepPoint& point, const RunSettings& settings);

// Reads a line back; nullopt unless it is exactly what sweepRow writes for
// the point it describes with some run's settings (every number finite, in
// the same digits, the Kaplan-Yorke dimension that of the exponents, a
// status that fits them: "error" without exponents, "ok" or "inconsistent"
// with). `status`, if given, receives the status as written; whether it is
// the status of this run's settings, statusOf tells.
[[nodiscard]] std::optional<SweepPoint> parseSweepRow(std::string_view line, bool errors,
                                                      PointStatus* status = nullptr);

}  // namespace veltrano
