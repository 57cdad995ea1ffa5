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

// Where the title of the colour bar in `bar` is drawn (and clipped): 80
// pixels centred 20 pixels right of the bar's left edge, wider where the
// title needs.
[[nodiscard]] QRectF colourBarTitleRect(const QRectF& bar, const QString& title, const QFont& font);

// The colour bar in `bar`: the scale from +limit at the top to -limit at the
// bottom (to 0 for a quantity never negative: `oneSided`), five labelled
// ticks to its right, `title` above it and the legend's swatches below it,
// in `font`.
void paintColourBar(QPainter& painter, const QRectF& bar, double limit, const QString& title,
                    const std::vector<LegendEntry>& legend, const QFont& font, bool oneSided = false);

// The colour bar and legend as a widget of its own, beside a map a window
// shows (the same drawing as in the map's picture).
class ColourBarWidget : public QWidget {
    Q_OBJECT
public:
    explicit ColourBarWidget(QWidget* parent = nullptr);
    void setScale(double limit, const QString& title, std::vector<LegendEntry> legend, bool oneSided = false);
    [[nodiscard]] QSize sizeHint() const override;
    // Where the bar and its title are drawn (the title clipped to its rectangle).
    [[nodiscard]] QRectF barRect() const;
    [[nodiscard]] QRectF titleRect() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    double limit_ = 1;
    QString title_;
    std::vector<LegendEntry> legend_;
    bool oneSided_ = false;
};

}  // namespace veltrano::drawing
