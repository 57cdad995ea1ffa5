#pragma once

#include <QFont>
#include <QPainter>
#include <QRectF>
#include <QString>
#include <QWidget>
#include <vector>

#include "heat_map.h"
#include "point_mark.h"

namespace veltrano::drawing {

// An entry of the legend below a colour bar: a swatch and its name.
struct LegendEntry {
    pictures::PointMark mark = pictures::PointMark::Fault;
    QString name;
};

// The entries a map needs: one for each special colour some cell shows.
[[nodiscard]] std::vector<LegendEntry> legendOf(const pictures::HeatMap& map);

// The colour bar in `bar`: the scale from +limit at the top to -limit at the
// bottom, five labelled ticks to its right, `title` above it and the
// legend's swatches below it, in `font`.
void paintColourBar(QPainter& painter, const QRectF& bar, double limit, const QString& title,
                    const std::vector<LegendEntry>& legend, const QFont& font);

// The colour bar and legend as a widget of its own, beside a map a window
// shows (the same drawing as in the map's picture).
class ColourBarWidget : public QWidget {
    Q_OBJECT
public:
    explicit ColourBarWidget(QWidget* parent = nullptr);
    void setScale(double limit, const QString& title, std::vector<LegendEntry> legend);
    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double limit_ = 1;
    QString title_;
    std::vector<LegendEntry> legend_;
};

}  // namespace veltrano::drawing
