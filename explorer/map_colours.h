#pragma once

#include <QColor>
#include <QPalette>
#include <QString>
#include <QWidget>
#include <array>
#include <utility>
#include <vector>

#include "map_settings.h"
#include "point_class.h"
#include "point_mark.h"
#include "shown_quantity.h"
#include "trace_check.h"

namespace veltrano::drawing {
class ColourBarWidget;
}

namespace veltrano::explorer {

// How a computed point is drawn: its value, shaded where its error bars
// leave its class undecided, or in the colours of faults and of points
// whose exponents miss the flow's contraction. The colours are those of
// the drawing library, as veltrano-cli plot draws them.
[[nodiscard]] pictures::PointMark markOf(const PointResult& r, const FlowParameters& p, const RunSettings& run);
[[nodiscard]] QRgb cellColour(const PointResult& r, pictures::PointMark mark, Shown shown, double limit);
// Of a point of a flow of the catalogue, with its status (system_status.h)
// and its k exponents.
[[nodiscard]] pictures::PointMark markOf(const PointResult& r, PointStatus status);
[[nodiscard]] QRgb cellColour(const PointResult& r, std::span<const double> spectrum, pictures::PointMark mark,
                              Shown shown, double limit);
[[nodiscard]] QRgb cellColour(const PointResult& r, const FlowParameters& p, const RunSettings& run, Shown shown,
                              double limit);
// Where nothing is computed yet.
[[nodiscard]] QRgb backgroundColour(const QPalette& palette);
// The colours of the classes in their own map.
[[nodiscard]] QColor classColour(PointClass c);
[[nodiscard]] QString classText(PointClass c);
// The title of a quantity (the colour bar's, the picture's).
[[nodiscard]] QString shownTitle(Shown shown);

// Beside the map: the colour bar with its scale and the legend of the
// special colours, or the swatches of the classes.
class LegendWidget : public QWidget {
    Q_OBJECT
public:
    explicit LegendWidget(QWidget* parent = nullptr);
    void setScale(Shown shown, double limit, bool errors);
    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // The marks the classes' legend names after the classes.
    [[nodiscard]] static std::array<std::pair<pictures::PointMark, QString>, 3> markNames();
    drawing::ColourBarWidget* bar_;
    bool classes_ = false;
};

}  // namespace veltrano::explorer
