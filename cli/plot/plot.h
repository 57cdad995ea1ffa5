#pragma once

#include "heat_map.h"
#include "line_chart.h"

namespace veltrano::plot {

// The face of the plotting plugin, which veltrano-cli opens only when it
// draws (the writers need Qt; the tool links none). The pictures cross the
// boundary as C++ objects, so the tool takes only a plugin built from the
// same descriptions: kAbiVersion goes up whenever pictures::LineChart,
// pictures::HeatMap (or anything in them) or these signatures change.
inline constexpr int kAbiVersion = 2;

// Each writer writes the picture to `path` (PNG, or SVG by the extension)
// and returns 0, or copies what went wrong into `error` and returns 1.
extern "C" {
using AbiVersion = int();
using WriteLineChart = int(const pictures::LineChart* chart, const char* path, char* error, unsigned long errorSize);
using WriteHeatMap = int(const pictures::HeatMap* map, const char* path, char* error, unsigned long errorSize);
}
inline constexpr const char* kAbiVersionSymbol = "veltrano_plot_abi_version";
inline constexpr const char* kWriteLineChartSymbol = "veltrano_plot_line_chart";
inline constexpr const char* kWriteHeatMapSymbol = "veltrano_plot_heat_map";
inline constexpr const char* kPluginFile = "veltrano-plot.so";

}  // namespace veltrano::plot
