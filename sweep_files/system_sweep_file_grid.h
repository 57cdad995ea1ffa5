#pragma once

#include <functional>
#include <istream>
#include <string>
#include <variant>

#include "system_sweep_rows.h"

namespace veltrano {

// The grid of a whole sweep's file of a flow, found from its rows (`in`
// stands after the header and is read again from there, so it must be a
// file that can be read twice) when exactly two of its parameters vary over
// evenly spaced axes, the slow one first, as sweep makes them; then
// `found` is handed the grid and `each` every row with its status. The message says why there is none
// (a line, a single point, three varied parameters, rows off the grid).
[[nodiscard]] std::variant<SystemGrid, std::string> systemSweepFileMap(
    std::istream& in, const SystemSweepForm& form, const std::string& name,
    const std::function<void(const SystemGrid&)>& found,
    const std::function<void(const SystemSweepPoint&, PointStatus)>& each);

}  // namespace veltrano
