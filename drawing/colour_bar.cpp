#include "colour_bar.h"

#include <QFontMetricsF>
#include <QPaintEvent>
#include <algorithm>
#include <cmath>

#include "chart_canvas.h"
#include "colour_map.h"

namespace veltrano::drawing {

using pictures::PointMark;

namespace {

constexpr double kSwatch = 14;       // a legend swatch's side
constexpr double kEntryStep = 22;    // from one legend entry to the next
constexpr double kBarWidth = 22;
constexpr double kTitleRoom = 28;    // above the bar, for its title
constexpr double kLabelRoom = 60;    // right of the bar, for the tick labels

}  // namespace

std::vector<LegendEntry> legendOf(const pictures::HeatMap& map) {
    bool fault = false, inconsistent = false, undecided = false;
    for (std::size_t i = 0; i < map.values.size(); ++i) {
        const PointMark mark = map.markAt(i);
        fault |= mark == PointMark::Fault || (mark == PointMark::Value && !std::isfinite(map.values[i]));
        inconsistent |= mark == PointMark::Inconsistent;
        undecided |= mark == PointMark::Undecided;
    }
    std::vector<LegendEntry> legend;
    if (fault) legend.push_back({PointMark::Fault, text(map.faultName)});
    if (inconsistent) legend.push_back({PointMark::Inconsistent, text(map.inconsistentName)});
    if (undecided) legend.push_back({PointMark::Undecided, text(map.undecidedName)});
    return legend;
}

QRectF colourBarTitleRect(const QRectF& bar, const QString& title, const QFont& font) {
    const double width = std::max(80.0, std::ceil(QFontMetricsF(font).horizontalAdvance(title)) + 4);
    return QRectF(bar.left() - (width / 2 - 20), bar.top() - kTitleRoom, width, 20);
}

void paintColourBar(QPainter& p, const QRectF& bar, double limit, const QString& title,
                    const std::vector<LegendEntry>& legend, const QFont& font, bool oneSided) {
    // The bar spans the scale from its top (1) to its bottom (-1, or 0).
    const double bottom = oneSided ? 0.0 : -1.0;
    for (int i = 0; i < static_cast<int>(bar.height()); ++i)
        p.fillRect(QRectF(bar.left(), bar.top() + i, bar.width(), 1.0),
                   divergingAt(1.0 - (1.0 - bottom) * i / std::max(1.0, bar.height() - 1)));
    p.setPen(Qt::black);
    p.drawRect(bar);
    p.setFont(font);
    for (int k = 0; k <= 4; ++k) {
        const double v = limit * (1.0 - (1.0 - bottom) * k / 4.0);
        const double yk = bar.top() + bar.height() * k / 4.0;
        p.drawLine(QPointF(bar.right(), yk), QPointF(bar.right() + 5, yk));
        p.drawText(QPointF(bar.right() + 8, yk + 4), QString::number(v, 'g', 3));
    }
    p.drawText(colourBarTitleRect(bar, title, font), Qt::AlignCenter, title);
    for (std::size_t i = 0; i < legend.size(); ++i) {
        const QRectF swatch(bar.left(), bar.bottom() + 16 + kEntryStep * static_cast<double>(i), kSwatch, kSwatch);
        // An undecided swatch shows the shading of the scale's middle.
        p.fillRect(swatch, markColour(legend[i].mark, 0.0, 1.0));
        p.drawRect(swatch);
        p.drawText(QPointF(swatch.right() + 6, swatch.bottom() - 2), legend[i].name);
    }
}

ColourBarWidget::ColourBarWidget(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
}

void ColourBarWidget::setScale(double limit, const QString& title, std::vector<LegendEntry> legend, bool oneSided) {
    limit_ = limit;
    title_ = title;
    legend_ = std::move(legend);
    oneSided_ = oneSided;
    updateGeometry();
    update();
}

QRectF ColourBarWidget::barRect() const {
    const double below = legend_.empty() ? 8 : 16 + kEntryStep * static_cast<double>(legend_.size());
    // The title is centred 20 pixels right of the bar's edge: the bar moves
    // right as far as a long title needs.
    const double left = std::max(20.0, colourBarTitleRect(QRectF(), title_, font()).width() / 2 - 20 + 2);
    return QRectF(left, kTitleRoom + 4, kBarWidth, std::max(10.0, height() - kTitleRoom - 4 - below));
}

QRectF ColourBarWidget::titleRect() const {
    return colourBarTitleRect(barRect(), title_, font());
}

QSize ColourBarWidget::sizeHint() const {
    const QRectF bar = barRect();
    int width = static_cast<int>(bar.left() + kBarWidth + kLabelRoom) + 20;
    width = std::max(width, static_cast<int>(std::ceil(titleRect().right())) + 4);
    for (const LegendEntry& e : legend_)
        width = std::max(width, static_cast<int>(bar.left()) + static_cast<int>(kSwatch) + 6 +
                                    fontMetrics().horizontalAdvance(e.name) + 10);
    return {width, 300};
}

void ColourBarWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    paintColourBar(p, barRect(), limit_, title_, legend_, font(), oneSided_);
}

}  // namespace veltrano::drawing
