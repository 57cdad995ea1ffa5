#pragma once

#include <string>

#include "heat_map.h"
#include "line_chart.h"
#include "sweep_picture.h"

namespace veltrano::cli {

// Draws a picture into a temporary file beside `path` and only then gives
// it its name, never replacing a file that appeared there meanwhile. The
// temporary file is removed on every way out that can be caught: a failed
// draw, an exception, SIGINT, SIGTERM or SIGHUP while drawing. An empty text
// on success, else what went wrong.
[[nodiscard]] std::string writePictureFile(const pictures::LineChart& chart, const std::string& path);
[[nodiscard]] std::string writePictureFile(const pictures::HeatMap& map, const std::string& path);
// A line or a map; `only` picks the exponent drawn (1, 2 or 3; 0: all three
// on a line, λ1 on a map).
[[nodiscard]] std::string writePictureFile(const pictures::SweepPicture& picture, const std::string& path,
                                           int only = 0);

}  // namespace veltrano::cli
