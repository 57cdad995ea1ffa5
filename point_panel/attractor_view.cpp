#include "attractor_view.h"

#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace veltrano::point_panel {

namespace {

// Logical pixels around the plotted area: room for the axes' texts.
constexpr int kLeft = 52, kBottom = 40, kTop = 12, kRight = 14;

const QColor kTrajectory(28, 64, 160);

std::pair<std::size_t, std::size_t> axesOf(Projection p) {
    switch (p) {
        case Projection::XY:
            return {0, 1};
        case Projection::YZ:
            return {1, 2};
        case Projection::XZ:
            break;
    }
    return {0, 2};
}

QString axisName(std::size_t coordinate) {
    return QStringLiteral("xyz").mid(static_cast<qsizetype>(coordinate), 1);
}

}  // namespace

AttractorView::AttractorView(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Attractor"));
    describe();
}

void AttractorView::clear() {
    states_.clear();
    stride_ = 1;
    bounds_ = QRectF();
    picture_ = QImage();
    describe();
    update();
}

void AttractorView::append(std::span<const Triple> states, bool restart, std::int64_t stride) {
    if (restart) states_.clear();
    const std::size_t first = states_.size();
    states_.insert(states_.end(), states.begin(), states.end());
    const bool styleChanged = joined() != (stride <= kLongestJoin);
    stride_ = stride;
    bool inside = !bounds_.isNull();
    for (std::size_t i = first; inside && i < states_.size(); ++i) inside = bounds_.contains(projected(states_[i]));
    if (restart || styleChanged || !inside || picture_.isNull()) {
        if (!inside) fitBounds();
        redrawAll();
    } else {
        drawFrom(first);
    }
    describe();
    update();
}

void AttractorView::setProjection(Projection projection) {
    if (projection == projection_) return;
    projection_ = projection;
    fitBounds();
    redrawAll();
    describe();
    update();
}

QPointF AttractorView::projected(const Triple& xyz) const {
    const auto [h, v] = axesOf(projection_);
    return {xyz[h], xyz[v]};
}

QRectF AttractorView::plotArea() const {
    return QRectF(rect()).adjusted(kLeft, kTop, -kRight, -kBottom);
}

void AttractorView::fitBounds() {
    if (states_.empty()) {
        bounds_ = QRectF();
        return;
    }
    double x0 = INFINITY, x1 = -INFINITY, y0 = INFINITY, y1 = -INFINITY;
    for (const Triple& s : states_) {
        const QPointF p = projected(s);
        if (!std::isfinite(p.x()) || !std::isfinite(p.y())) continue;
        x0 = std::min(x0, p.x()), x1 = std::max(x1, p.x());
        y0 = std::min(y0, p.y()), y1 = std::max(y1, p.y());
    }
    if (x0 > x1) {
        bounds_ = QRectF();
        return;
    }
    // A tenth of the size on each side, at least 1: a run that settles on a
    // point still shows where it came from, and growth seldom redraws.
    const double mx = std::max(1.0, (x1 - x0) / 10), my = std::max(1.0, (y1 - y0) / 10);
    bounds_ = QRectF(QPointF(x0 - mx, y0 - my), QPointF(x1 + mx, y1 + my));
}

void AttractorView::redrawAll() {
    const QRectF area = plotArea();
    const qreal ratio = devicePixelRatioF();
    if (area.width() < 1 || area.height() < 1) {
        picture_ = QImage();
        return;
    }
    picture_ = QImage((area.size() * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    picture_.setDevicePixelRatio(ratio);
    picture_.fill(Qt::transparent);
    drawFrom(0);
}

void AttractorView::drawFrom(std::size_t first) {
    if (picture_.isNull() || bounds_.isNull() || states_.empty()) return;
    const QSizeF size = plotArea().size();
    // One scale for both coordinates, the box centred.
    const double scale = std::min(size.width() / bounds_.width(), size.height() / bounds_.height());
    const QPointF offset((size.width() - bounds_.width() * scale) / 2, (size.height() - bounds_.height() * scale) / 2);
    const auto toPixel = [&](const Triple& s) {
        const QPointF p = projected(s);
        return QPointF(offset.x() + (p.x() - bounds_.left()) * scale,
                       size.height() - offset.y() - (p.y() - bounds_.top()) * scale);
    };
    QPainter painter(&picture_);
    painter.setRenderHint(QPainter::Antialiasing);
    QColor colour = kTrajectory;
    if (joined()) {
        colour.setAlpha(170);
        painter.setPen(QPen(colour, 1.0));
        // The first new state joins the last one drawn.
        const std::size_t from = first > 0 ? first - 1 : 0;
        QList<QPointF> line;
        line.reserve(static_cast<qsizetype>(states_.size() - from));
        for (std::size_t i = from; i < states_.size(); ++i) line.append(toPixel(states_[i]));
        painter.drawPolyline(line.data(), static_cast<int>(line.size()));
    } else {
        colour.setAlpha(110);
        painter.setPen(QPen(colour, 1.5));
        QList<QPointF> dots;
        dots.reserve(static_cast<qsizetype>(states_.size() - first));
        for (std::size_t i = first; i < states_.size(); ++i) dots.append(toPixel(states_[i]));
        painter.drawPoints(dots.data(), static_cast<int>(dots.size()));
    }
}

void AttractorView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const QRectF area = plotArea();
    // On a screen of another ratio than the picture's: drawn again at its pixels.
    if (!picture_.isNull() && picture_.devicePixelRatio() != devicePixelRatioF()) redrawAll();
    if (!picture_.isNull()) painter.drawImage(area.topLeft(), picture_);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(area.adjusted(-0.5, -0.5, 0.5, 0.5));
    const auto [h, v] = axesOf(projection_);
    painter.setPen(palette().color(QPalette::Text));
    const QFontMetricsF metrics(font());
    painter.drawText(QRectF(area.left(), area.bottom() + metrics.height() * 0.9, area.width(), metrics.height()),
                     Qt::AlignHCenter, axisName(h));
    painter.save();
    painter.translate(area.left() - metrics.height() * 1.6, area.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-area.height() / 2, -metrics.height() / 2, area.height(), metrics.height()),
                     Qt::AlignHCenter, axisName(v));
    painter.restore();
    if (bounds_.isNull()) return;
    // The ends of the shown ranges, where the box reaches the area's edges.
    const double scale = std::min(area.width() / bounds_.width(), area.height() / bounds_.height());
    const double halfW = area.width() / scale / 2, halfH = area.height() / scale / 2;
    const QPointF c = bounds_.center();
    const QLocale locale;
    const auto number = [&](double value) { return locale.toString(value, 'g', 3); };
    painter.drawText(QRectF(area.left(), area.bottom() + 2, area.width(), metrics.height()), Qt::AlignLeft,
                     number(c.x() - halfW));
    painter.drawText(QRectF(area.left(), area.bottom() + 2, area.width(), metrics.height()), Qt::AlignRight,
                     number(c.x() + halfW));
    painter.drawText(QRectF(0, area.bottom() - metrics.height(), kLeft - 4, metrics.height()), Qt::AlignRight,
                     number(c.y() - halfH));
    painter.drawText(QRectF(0, area.top(), kLeft - 4, metrics.height()), Qt::AlignRight, number(c.y() + halfH));
    if (hasFocus()) {
        painter.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
        painter.drawRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5));
    }
}

void AttractorView::resizeEvent(QResizeEvent*) {
    redrawAll();
}

void AttractorView::describe() {
    const auto [h, v] = axesOf(projection_);
    if (states_.empty()) {
        setAccessibleDescription(tr("Projection on %1–%2: no states yet").arg(axisName(h), axisName(v)));
        return;
    }
    const QLocale locale;
    setAccessibleDescription(tr("Projection on %1–%2 of %3 states, one every %4 steps; %1 from %5 to %6, %2 from %7 to %8")
                                 .arg(axisName(h), axisName(v), locale.toString(static_cast<qlonglong>(states_.size())),
                                      locale.toString(static_cast<qlonglong>(stride_)),
                                      locale.toString(bounds_.left(), 'g', 4), locale.toString(bounds_.right(), 'g', 4),
                                      locale.toString(bounds_.top(), 'g', 4), locale.toString(bounds_.bottom(), 'g', 4)));
}

}  // namespace veltrano::point_panel
