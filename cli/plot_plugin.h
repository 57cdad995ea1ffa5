#pragma once

#include <string>

#include "heat_map.h"
#include "line_chart.h"

namespace veltrano::cli {

// True for the picture names the writers accept (".png" or ".svg", any case).
[[nodiscard]] bool supportedPictureFile(const std::string& path);

// The plotting plugin at `path`, opened and checked: that it loads, is of
// this tool's version of the picture descriptions and has both writers.
// The empty text when it is fit to draw, else why not.
[[nodiscard]] std::string checkPlotPlugin(const std::string& path);

// Whether this build can draw at all: the plugin is found, opened and
// checked (once; the answer is kept). The empty text when it can, else why
// not. Asked before any work is done.
[[nodiscard]] std::string picturesUnavailable();

// Why a picture cannot be drawn into `plot`, the value of --plot ("--plot:
// ..." when this build cannot draw, "--plot FILE: ..." for a name of
// neither kind), or the empty text.
[[nodiscard]] std::string plotOptionRefusal(const std::string& plot);

// Draw with the plotting plugin; an empty text on success, else what went
// wrong.
[[nodiscard]] std::string drawPicture(const pictures::LineChart& chart, const std::string& path);
[[nodiscard]] std::string drawPicture(const pictures::HeatMap& map, const std::string& path);

}  // namespace veltrano::cli
