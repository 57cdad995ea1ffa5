#pragma once

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSize>

#include "chart_canvas.h"
#include "heat_map.h"

namespace veltrano::drawing {

// The size of a map as veltrano-cli writes it.
inline constexpr QSize kHeatMapSize(960, 760);

// One pixel for each cell, row 0 at the bottom, coloured by its mark and
// value on the scale from -limit to +limit.
[[nodiscard]] QImage cellImage(const pictures::HeatMap& map, double limit);

// Paints the cells into `area` (the cells' outer edges), edges kept sharp,
// at the device pixel ratio of the painter's device, clipped to `clip`.
void paintCells(QPainter& painter, const QImage& cells, const QRectF& area, const QRectF& clip);

// The whole picture of a map at a size, as veltrano-cli draws it: title,
// axes through the cells' centres, the cells, the colour bar and the legend
// of the special colours that occur. For a window: paint it into an image
// of size() times the screen's device pixel ratio (QImage::setDevicePixelRatio)
// or into the widget itself.
class HeatMapPicture {
public:
    explicit HeatMapPicture(const pictures::HeatMap& map, QSize size = kHeatMapSize);
    [[nodiscard]] QSize size() const { return size_; }
    // The plot area: where the axes run from the first value to the last.
    [[nodiscard]] QRectF plotArea() const { return area_; }
    // Where the cells lie (half a cell beyond the plot area on each side).
    [[nodiscard]] QRectF cellArea() const { return cellsArea_; }
    [[nodiscard]] double limit() const { return limit_; }
    void paint(QPainter& painter);
    // The picture in an image at `ratio` device pixels per logical pixel.
    [[nodiscard]] QImage image(qreal ratio = 1.0);

private:
    pictures::HeatMap map_;
    QSize size_;
    ChartCanvas canvas_;
    QRectF area_, cellsArea_;
    double limit_ = 1;
    QImage cells_;
};

}  // namespace veltrano::drawing
