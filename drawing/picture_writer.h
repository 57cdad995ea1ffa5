#pragma once

#include <string>

#include "heat_map.h"
#include "line_chart.h"

namespace veltrano::drawing {

// Writes the picture to `path` as SVG (a name ending in .svg, any case) or
// else PNG, at the size veltrano-cli draws; the empty text on success,
// otherwise what went wrong. Needs a QGuiApplication (offscreen will do).
[[nodiscard]] std::string writePicture(const pictures::LineChart& chart, const std::string& path);
[[nodiscard]] std::string writePicture(const pictures::HeatMap& map, const std::string& path);

}  // namespace veltrano::drawing
