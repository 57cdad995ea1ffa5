#pragma once

#include <QChart>
#include <QGraphicsScene>
#include <QSize>
#include <QString>
#include <QValueAxis>
#include <string>

namespace veltrano::drawing {

// Text of a picture (UTF-8, may hold Greek letters) for Qt.
[[nodiscard]] QString text(const std::string& s);

// A value axis from `from` to `to` (reversed when from > to) on a sane
// scale: round ticks, a handful of them, for any range (one value, a few
// ulps, ±1e308, NaN).
[[nodiscard]] QValueAxis* valueAxis(const QString& title, double from, double to);

// A chart on a scene of its own, laid out at `size`, titled in a large bold
// face. The chart belongs to the scene.
struct ChartCanvas {
    QGraphicsScene scene;
    QChart* chart = new QChart;

    ChartCanvas(const QString& title, QSize size);
    QValueAxis* axis(const QString& title, Qt::Alignment where, double from, double to);
    // Lays out the axes and the plot area for the final size.
    void layOut();
};

void attach(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y);

}  // namespace veltrano::drawing
