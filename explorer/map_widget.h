#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>
#include <functional>
#include <optional>

#include "axis_ticks.h"
#include "map_geometry.h"

namespace veltrano::explorer {

// The map on screen: the cells' image drawn crisp at the screen's pixel
// ratio inside its axes; the cell under the mouse; a rectangle dragged to
// zoom; a keyboard cursor (arrows, Shift for ten cells, Home, Enter) whose
// position and value the accessible description carries.
class MapWidget : public QWidget {
    Q_OBJECT
public:
    explicit MapWidget(QWidget* parent = nullptr);

    // The settings the image belongs to (for the axes) and the image.
    void setMap(const MapSettings& settings, const QImage& cells);
    void setCells(const QImage& cells);
    // Says what a cell holds, for the accessible description and the tip.
    void setDescriber(std::function<QString(CellPosition)> describe);
    [[nodiscard]] CellPosition cursor() const { return cursor_; }
    void setCursor(CellPosition cell);
    // The rectangle the cells fill, in widget coordinates.
    [[nodiscard]] QRectF cellArea() const;
    [[nodiscard]] const MapSettings& settings() const { return settings_; }
    // The labelled ticks of an axis drawn `length` pixels long.
    [[nodiscard]] AxisLabels labels(const MapAxis& a, bool across, double length) const;

    [[nodiscard]] QSize sizeHint() const override { return {640, 480}; }
    [[nodiscard]] QSize minimumSizeHint() const override { return {240, 180}; }

signals:
    void hovered(std::optional<veltrano::explorer::CellPosition> cell);
    void zoomRequested(veltrano::explorer::CellPosition a, veltrano::explorer::CellPosition b);
    void cellChosen(veltrano::explorer::CellPosition cell);
    void cursorMoved(veltrano::explorer::CellPosition cell);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    [[nodiscard]] std::optional<CellPosition> cellUnder(QPointF p) const;
    [[nodiscard]] QRectF cellRect(CellPosition c) const;
    void announce();

    MapSettings settings_;
    QImage cells_;
    std::function<QString(CellPosition)> describe_;
    CellPosition cursor_;
    std::optional<QPointF> dragFrom_;
    QPointF dragTo_;
};

}  // namespace veltrano::explorer
