#pragma once

#include <string>
#include <vector>

namespace veltrano::plot {

// Pictures of results, written without a display as PNG or SVG (by the
// file's extension). Texts are UTF-8 and may use Greek letters.

struct Curve {
    std::string name;
    std::vector<double> x, y;
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

// True for the file names the writers accept (".png" or ".svg").
bool supportedFile(const std::string& path);

// Return an empty text on success, else what went wrong.
std::string write(const LineChart& chart, const std::string& path);
std::string write(const HeatMap& map, const std::string& path);

}  // namespace veltrano::plot
