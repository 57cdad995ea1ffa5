#pragma once

#include <string>

#include "plot.h"
#include "plot_data.h"

namespace veltrano::cli {

// Draws a picture into a temporary file beside `path` and only then gives
// it its name, never replacing a file that appeared there meanwhile. An
// empty text on success, else what went wrong.
[[nodiscard]] std::string writePictureFile(const plot::LineChart& chart, const std::string& path);
[[nodiscard]] std::string writePictureFile(const plot::HeatMap& map, const std::string& path);
// A line or a map; `only` picks one exponent of a line (0: all three).
[[nodiscard]] std::string writePictureFile(const SweepPicture& picture, const std::string& path, int only = 0);

}  // namespace veltrano::cli
