#pragma once

#include <functional>
#include <istream>
#include <string>
#include <variant>

#include "sweep_examination.h"
#include "system_sweep_rows.h"

namespace veltrano {

// As examineSweepFile, for a sweep of a flow (of the catalogue, or typed
// equations computed from their text): the header of
// its form, then rows of this flow at their places in `sweep.grid`, each with
// its status, of one run, the sampled ones as computed again. A file of
// another flow, of the Lorenz form without a system column, or of other
// columns (parameters, K, error bars) is refused naming both.
[[nodiscard]] std::variant<ExaminedFile, ExaminationRefusal> examineSystemSweepFile(
    std::istream& in, const std::string& shown, const SystemSweep& sweep, IndexRange range,
    const std::function<void(const SystemSweepPoint&)>& accepted = {},
    const std::function<void(std::int64_t)>& progress = {});

// What a first line other than the header of `form` is, told against this
// sweep (`second`: the line after it, whose second field names the flow).
[[nodiscard]] std::string otherSweepFile(const SystemSweepForm& form, const std::string& first,
                                         const std::string& second);

}  // namespace veltrano
