#include "heat_map_picture.h"

#include <QScatterSeries>
#include <cmath>

#include "colour_bar.h"
#include "colour_map.h"

namespace veltrano::drawing {

QImage cellImage(const pictures::HeatMap& map, double limit) {
    QImage cells(std::max(1, map.columns), std::max(1, map.rows), QImage::Format_RGB32);
    cells.fill(emptyColour());
    const auto columns = static_cast<std::size_t>(std::max(0, map.columns));
    for (int r = 0; r < map.rows; ++r)
        for (int c = 0; c < map.columns; ++c) {
            const std::size_t i = static_cast<std::size_t>(r) * columns + static_cast<std::size_t>(c);
            if (i >= map.values.size()) return cells;
            cells.setPixelColor(c, map.rows - 1 - r, markColour(map.markAt(i), map.values[i], limit));
        }
    return cells;
}

void paintCells(QPainter& painter, const QImage& cells, const QRectF& area, const QRectF& clip) {
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatioF() : 1.0;
    painter.save();
    painter.setClipRect(clip);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    // Scaled here, cell edges kept sharp, so that SVG viewers need not.
    QImage scaled = cells.scaled((area.size() * ratio).toSize(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
    scaled.setDevicePixelRatio(ratio);
    painter.drawImage(area.topLeft(), scaled);
    painter.restore();
}

HeatMapPicture::HeatMapPicture(const pictures::HeatMap& map, QSize size)
    : map_(map), size_(size), canvas_(text(map.title), size) {
    QChart* chart = canvas_.chart;
    chart->setMargins(QMargins(10, 10, 150, 10));  // room for the colour bar
    QValueAxis* x = canvas_.axis(text(map.xTitle), Qt::AlignBottom, map.xFrom, map.xTo);
    QValueAxis* y = canvas_.axis(text(map.yTitle), Qt::AlignLeft, map.yFrom, map.yTo);
    x->setGridLineVisible(false);
    y->setGridLineVisible(false);
    // The axes are drawn for a series; this one shows nothing.
    auto* corners = new QScatterSeries;
    corners->append(map.xFrom, map.yFrom);
    corners->append(map.xTo, map.yTo);
    corners->setMarkerSize(0);
    corners->setColor(Qt::transparent);
    corners->setBorderColor(Qt::transparent);
    attach(chart, corners, x, y);
    chart->legend()->hide();
    chart->setPlotAreaBackgroundVisible(false);
    canvas_.layOut();

    limit_ = scaleLimit(map);
    cells_ = cellImage(map, limit_);
    // The axes run from the first to the last value: cells are centred on
    // their values, so the picture spans half a cell more on each side.
    area_ = chart->plotArea();
    const double cw = map.columns > 1 ? area_.width() / (map.columns - 1) : area_.width();
    const double rh = map.rows > 1 ? area_.height() / (map.rows - 1) : area_.height();
    cellsArea_ = map.columns > 1 || map.rows > 1
                     ? area_.adjusted(map.columns > 1 ? -cw / 2 : 0, map.rows > 1 ? -rh / 2 : 0,
                                      map.columns > 1 ? cw / 2 : 0, map.rows > 1 ? rh / 2 : 0)
                     : area_;
}

void HeatMapPicture::paint(QPainter& p) {
    paintCells(p, cells_, cellsArea_, area_);
    canvas_.scene.render(&p);

    const QRectF bar(area_.right() + 40, area_.top(), 22, area_.height());
    QFont font = canvas_.chart->titleFont();
    font.setPointSizeF(font.pointSizeF() / 1.4);
    font.setBold(false);
    paintColourBar(p, bar, limit_, text(map_.valueTitle), legendOf(map_), font);
}

QImage HeatMapPicture::image(qreal ratio) {
    QImage picture((QSizeF(size_) * ratio).toSize(), QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    picture.fill(Qt::white);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    painter.end();
    return picture;
}

}  // namespace veltrano::drawing
