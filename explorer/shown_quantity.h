#pragma once

#include <optional>
#include <span>

#include "point_class.h"
#include "run_settings.h"

namespace veltrano::explorer {

// What the map shows of each point.
enum class Shown { Lambda1, Lambda2, Lambda3, KaplanYorke, HalfWidth1, Classes };
inline constexpr Shown kAllShown[] = {Shown::Lambda1,     Shown::Lambda2,    Shown::Lambda3,
                                      Shown::KaplanYorke, Shown::HalfWidth1, Shown::Classes};

// The number shown for a point; nullopt where it has none (stopped by a
// fault; the half-width of a point without error bars; the classes, which
// are not numbers).
[[nodiscard]] std::optional<double> shownValue(const PointResult& r, Shown shown);
// Of a point of any flow: `r` holds its first three exponents and
// half-widths, `spectrum` all k it computed (λj beyond k is not known; the
// Kaplan-Yorke dimension is that of the k).
[[nodiscard]] std::optional<double> shownValue(const PointResult& r, std::span<const double> spectrum, Shown shown);
// Whether the quantity is never negative (its scale then runs from 0).
[[nodiscard]] bool neverNegative(Shown shown);

}  // namespace veltrano::explorer
