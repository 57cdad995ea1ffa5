#include "map_widget.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "picture_texts.h"

#include "axis_ticks.h"

namespace veltrano::explorer {

namespace {

QString symbol(SweepParameter p) {
    return QString::fromStdString(pictures::symbolOf(p));
}

// The name of the parameter across (or up) the map: σ, R or b, or the
// flow's own; empty for no parameter up.
QString axisTitle(const MapSettings& s, bool across) {
    if (!s.system) return symbol(across ? s.x.parameter : s.y.parameter);
    const std::size_t i = across ? s.system->across : s.system->up;
    const SystemDescription flow = descriptionOf(*s.system);
    return i < flow.parameters.size() ? QString::fromStdString(flow.parameters[i].name) : QString();
}

}  // namespace

MapWidget::MapWidget(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("map"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    setAccessibleName(tr("Map"));
}

void MapWidget::setMap(const MapSettings& settings, const QImage& cells) {
    settings_ = settings;
    cells_ = cells;
    cursor_.column = std::clamp(cursor_.column, 0, settings.x.count - 1);
    cursor_.row = std::clamp(cursor_.row, 0, settings.y.count - 1);
    update();
    announce();
}

void MapWidget::setCells(const QImage& cells) {
    cells_ = cells;
    update();
}

void MapWidget::setDescriber(std::function<QString(CellPosition)> describe) {
    describe_ = std::move(describe);
    announce();
}

void MapWidget::setCursor(CellPosition cell) {
    cursor_.column = std::clamp(cell.column, 0, settings_.x.count - 1);
    cursor_.row = std::clamp(cell.row, 0, settings_.y.count - 1);
    update();
    announce();
    emit cursorMoved(cursor_);
}

AxisLabels MapWidget::labels(const MapAxis& a, bool across, double length) const {
    const QFontMetricsF fm(font());
    const double lo = std::min(a.from, a.to), hi = std::max(a.from, a.to);
    // The ticks sit on the centres of the first and last cells.
    const double span = a.count > 1 ? length * (a.count - 1) / a.count : length;
    if (across)
        return axisLabels(lo, hi, span, [&fm](const QString& t) { return fm.horizontalAdvance(t); },
                          fm.horizontalAdvance(QStringLiteral("  ")));
    return axisLabels(lo, hi, span, [&fm](const QString&) { return fm.height(); }, fm.height() / 2);
}

QRectF MapWidget::cellArea() const {
    const QFontMetricsF fm(font());
    const double bottom = 2 * fm.height() + 10;
    const double height = std::max(1.0, this->height() - bottom - 8);
    // Room for the widest label of the y axis, whatever its digits.
    double widest = 0;
    for (const QString& t : labels(settings_.y, false, height).texts) widest = std::max(widest, fm.horizontalAdvance(t));
    const double left = widest + fm.height() + 10;
    return QRectF(left, 8, std::max(1.0, width() - left - 12), height);
}

std::optional<CellPosition> MapWidget::cellUnder(QPointF p) const {
    const QRectF area = cellArea();
    return cellAt(p.x() - area.left(), p.y() - area.top(), area.width(), area.height(), settings_.x.count,
                  settings_.y.count);
}

QRectF MapWidget::cellRect(CellPosition c) const {
    const QRectF area = cellArea();
    const double w = area.width() / settings_.x.count, h = area.height() / settings_.y.count;
    return QRectF(area.left() + c.column * w, area.top() + (settings_.y.count - 1 - c.row) * h, w, h);
}

void MapWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), palette().window());
    const QRectF area = cellArea();
    // The cells scaled here to the device's pixels, edges kept sharp.
    const qreal ratio = devicePixelRatioF();
    const QSize pixels(std::max(1, static_cast<int>(std::lround(area.width() * ratio))),
                       std::max(1, static_cast<int>(std::lround(area.height() * ratio))));
    QImage scaled = cells_.scaled(pixels, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    scaled.setDevicePixelRatio(ratio);
    p.drawImage(area.topLeft(), scaled);
    p.setPen(palette().windowText().color());
    p.drawRect(area);

    // Axes: the values of the first and last cells at the centres of those
    // cells, round values between.
    const QFontMetricsF fm(font());
    const auto axis = [&](const MapAxis& a, bool across) {
        const AxisLabels ticks = labels(a, across, across ? area.width() : area.height());
        for (std::size_t k = 0; k < ticks.values.size(); ++k) {
            const double v = ticks.values[k];
            const double f = a.count > 1 && a.to != a.from ? (v - a.from) / (a.to - a.from) : 0.5;
            const double cellFraction = (f * (a.count - 1) + 0.5) / a.count;
            const QString& label = ticks.texts[k];
            if (across) {
                const double x = area.left() + cellFraction * area.width();
                const double w = fm.horizontalAdvance(label) + 2;
                p.drawLine(QPointF(x, area.bottom()), QPointF(x, area.bottom() + 4));
                p.drawText(QRectF(x - w / 2, area.bottom() + 5, w, fm.height()), Qt::AlignHCenter, label);
            } else {
                const double y = area.bottom() - cellFraction * area.height();
                p.drawLine(QPointF(area.left() - 4, y), QPointF(area.left(), y));
                p.drawText(QRectF(0, y - fm.height() / 2, area.left() - 6, fm.height()),
                           Qt::AlignRight | Qt::AlignVCenter, label);
            }
        }
    };
    const bool up = !settings_.system || settings_.system->up != SystemMap::kNoAxis;
    axis(settings_.x, true);
    if (up) axis(settings_.y, false);
    p.drawText(QRectF(area.left(), area.bottom() + 5 + fm.height(), area.width(), fm.height()), Qt::AlignHCenter,
               axisTitle(settings_, true));
    p.save();
    p.translate(fm.height() / 2 + 2, area.center().y());
    p.rotate(-90);
    p.drawText(QRectF(-area.height() / 2, -fm.height() / 2, area.height(), fm.height()), Qt::AlignHCenter,
               axisTitle(settings_, false));
    p.restore();

    if (hasFocus()) {
        QPen pen(Qt::black, 2);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        const QRectF c = cellRect(cursor_).adjusted(-2, -2, 2, 2);
        p.drawRect(c);
        p.setPen(QPen(Qt::white, 1));
        p.drawRect(c.adjusted(-1.5, -1.5, 1.5, 1.5));
    }
    if (dragFrom_) {
        p.setPen(QPen(Qt::black, 1, Qt::DashLine));
        p.setBrush(QColor(255, 255, 255, 60));
        p.drawRect(QRectF(*dragFrom_, dragTo_).normalized());
    }
}

void MapWidget::mouseMoveEvent(QMouseEvent* event) {
    const QPointF pos = event->position();
    if (dragFrom_) {
        const QRectF area = cellArea();
        dragTo_ = QPointF(std::clamp(pos.x(), area.left(), area.right() - 0.01),
                          std::clamp(pos.y(), area.top(), area.bottom() - 0.01));
        update();
    }
    emit hovered(cellUnder(pos));
}

void MapWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !cellUnder(event->position())) return QWidget::mousePressEvent(event);
    dragFrom_ = event->position();
    dragTo_ = event->position();
}

void MapWidget::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragFrom_) return QWidget::mouseReleaseEvent(event);
    const auto a = cellUnder(*dragFrom_);
    const auto b = cellUnder(dragTo_);
    dragFrom_.reset();
    update();
    if (!a || !b) return;
    if (std::abs(a->column - b->column) >= 1 && std::abs(a->row - b->row) >= 1) {
        emit zoomRequested(*a, *b);
    } else {
        setCursor(*a);
        emit cellChosen(*a);
    }
}

void MapWidget::leaveEvent(QEvent* event) {
    emit hovered(std::nullopt);
    QWidget::leaveEvent(event);
}

void MapWidget::keyPressEvent(QKeyEvent* event) {
    const int step = event->modifiers() & Qt::ShiftModifier ? 10 : 1;
    CellPosition c = cursor_;
    switch (event->key()) {
        case Qt::Key_Left:
            c.column -= step;
            break;
        case Qt::Key_Right:
            c.column += step;
            break;
        case Qt::Key_Up:
            c.row += step;
            break;
        case Qt::Key_Down:
            c.row -= step;
            break;
        case Qt::Key_Home:
            c = {0, 0};
            break;
        case Qt::Key_End:
            c = {settings_.x.count - 1, settings_.y.count - 1};
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            emit cellChosen(cursor_);
            return;
        default:
            return QWidget::keyPressEvent(event);
    }
    setCursor(c);
}

void MapWidget::focusInEvent(QFocusEvent* event) {
    announce();
    QWidget::focusInEvent(event);
}

void MapWidget::announce() {
    const QString text = describe_ ? describe_(cursor_) : QString();
    if (text == accessibleDescription()) return;
    setAccessibleDescription(text);
    if (QAccessible::isActive()) {
        QAccessibleEvent changed(this, QAccessible::DescriptionChanged);
        QAccessible::updateAccessibility(&changed);
    }
}

}  // namespace veltrano::explorer
