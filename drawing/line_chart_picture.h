#pragma once

#include <QChart>
#include <QPainter>
#include <QSize>

#include "chart_canvas.h"
#include "line_chart.h"

namespace veltrano::drawing {

// The size of a line chart as veltrano-cli writes it.
inline constexpr QSize kLineChartSize(960, 720);

// Puts the line chart on `chart` (empty, titled by the caller or not):
// its axes on sane scales, the bands first (each from the points that have
// both ends, never bridging a gap), the curves over them, then the marked
// points, with a legend below. For a window's QChartView as for a file.
void buildLineChart(QChart& chart, const pictures::LineChart& data);

// The whole picture of a line chart at a size, as veltrano-cli draws it.
class LineChartPicture {
public:
    explicit LineChartPicture(const pictures::LineChart& data, QSize size = kLineChartSize);
    [[nodiscard]] QSize size() const { return size_; }
    // Paints it onto a device of at least size() (logical pixels).
    void paint(QPainter& painter);

private:
    QSize size_;
    ChartCanvas canvas_;
};

}  // namespace veltrano::drawing
