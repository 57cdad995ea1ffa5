#pragma once

#include <string>
#include <vector>

#include "point_mark.h"

namespace veltrano::pictures {

// A curve; where `low` and `high` are given (as many as x), a band between
// them is drawn around it (an error bar). A NaN in low or high leaves a gap
// in the band: it is never bridged.
struct Curve {
    std::string name;
    std::vector<double> x, y;
    std::vector<double> low, high;
};

// Points drawn as markers of their own, in the colour of their mark, under
// `name` in the legend (points stopped by a fault, points not ok).
struct MarkedPoints {
    PointMark mark = PointMark::Fault;
    std::string name;
    std::vector<double> x, y;
};

// Curves against one variable, then the marked points over them.
struct LineChart {
    std::string title, xTitle, yTitle;
    bool logX = false;  // a logarithmic axis for x (all x > 0)
    std::vector<Curve> curves;
    std::vector<MarkedPoints> marks;
};

}  // namespace veltrano::pictures
