#pragma once

#include <string>

#include "plot.h"

namespace veltrano::cli {

// True for the picture names the writers accept (".png" or ".svg", any case).
[[nodiscard]] bool supportedPictureFile(const std::string& path);

// Whether this build can draw at all; otherwise the text says why not.
[[nodiscard]] std::string picturesUnavailable();

// Draw with the plotting plugin, opened on first use; an empty text on
// success, else what went wrong.
[[nodiscard]] std::string drawPicture(const plot::LineChart& chart, const std::string& path);
[[nodiscard]] std::string drawPicture(const plot::HeatMap& map, const std::string& path);

}  // namespace veltrano::cli
