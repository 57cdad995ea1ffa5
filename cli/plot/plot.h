#pragma once

#include <string>
#include <vector>

namespace veltrano::plot {

// Pictures of results, written without a display as PNG or SVG (by the
// file's extension). Texts are UTF-8 and may use Greek letters.

// A curve; where `low` and `high` are given (as many as x), a band between
// them is drawn around it (an error bar).
struct Curve {
    std::string name;
    std::vector<double> x, y;
    std::vector<double> low, high;
};

// Curves against one variable; `marks` are points drawn as markers of their
// own under the name `marksName` (for example points without a result).
struct LineChart {
    std::string title, xTitle, yTitle;
    bool logX = false;  // a logarithmic axis for x (all x > 0)
    std::vector<Curve> curves;
    std::string marksName;
    std::vector<double> marksX, marksY;
};

// Values on a rectangle of cells, `columns` across and `rows` up, cell (c, r)
// at values[r * columns + c]; NaN marks a cell without a value. Coloured on
// a diverging scale centred on 0 (warm above, cool below), with a colour bar.
struct HeatMap {
    std::string title, xTitle, yTitle, valueTitle, missingName;
    double xFrom = 0, xTo = 1, yFrom = 0, yTo = 1;
    int columns = 0, rows = 0;
    std::vector<double> values;
};

// The writers live in a plugin of their own (they need Qt), opened only when
// a picture is drawn. Each writes the picture to `path` and returns 0, or
// copies what went wrong into `error` and returns 1.
extern "C" {
using WriteLineChart = int(const LineChart* chart, const char* path, char* error, unsigned long errorSize);
using WriteHeatMap = int(const HeatMap* map, const char* path, char* error, unsigned long errorSize);
}
inline constexpr const char* kWriteLineChartSymbol = "veltrano_plot_line_chart";
inline constexpr const char* kWriteHeatMapSymbol = "veltrano_plot_heat_map";
inline constexpr const char* kPluginFile = "veltrano-plot.so";

}  // namespace veltrano::plot
