#include "attractor_view.h"

#include <QElapsedTimer>
#include <QLocale>
#include <QTimer>
#include <QPainter>
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
    restartPicture();
    previous_ = QImage();
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
    if (!inside) fitBounds();
    if (restart || styleChanged || !inside || picture_.isNull()) restartPicture();
    drawMore();
    describe();
}

void AttractorView::settle() {
    const QRectF grown = bounds_;
    fitBounds();
    if (bounds_ == grown) return;
    restartPicture();
    drawMore();
}

void AttractorView::setCoordinateNames(const QString& first, const QString& second, const QString& third) {
    names_ = {first, second, third};
    describe();
    update();
}

void AttractorView::setProjection(Projection projection) {
    if (projection == projection_) return;
    projection_ = projection;
    fitBounds();
    restartPicture();
    drawMore();
    describe();
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

void AttractorView::restartPicture() {
    // What is on show stays there until the new picture is complete.
    if (!drawing() && !picture_.isNull()) previous_ = picture_;
    drawn_ = 0;
    dirty_ = QRect();
    const QRectF area = plotArea();
    const qreal ratio = devicePixelRatioF();
    if (area.width() < 1 || area.height() < 1) {
        picture_ = QImage();
        density_.clear();
        return;
    }
    picture_ = QImage((area.size() * ratio).toSize(), QImage::Format_ARGB32_Premultiplied);
    picture_.setDevicePixelRatio(ratio);
    picture_.fill(Qt::transparent);
    density_.assign(static_cast<std::size_t>(picture_.width()) * static_cast<std::size_t>(picture_.height()), 0.0f);
    if (!bounds_.isNull()) {
        // One scale for both coordinates, the box centred.
        const double w = picture_.width(), h = picture_.height();
        scale_ = std::min(w / bounds_.width(), h / bounds_.height());
        origin_ = QPointF((w - bounds_.width() * scale_) / 2, (h - bounds_.height() * scale_) / 2);
    }
}

void AttractorView::drawMore() {
    moreScheduled_ = false;
    if (picture_.isNull() || bounds_.isNull()) {
        drawn_ = states_.size();
        previous_ = QImage();
        update();
        return;
    }
    // About 8 ms of work, then the window's other events.
    constexpr std::size_t kBatch = 2048;
    constexpr qint64 kBudgetNs = 8'000'000;
    QElapsedTimer clock;
    clock.start();
    const double h = picture_.height();
    const auto toPixel = [&](const Triple& s) {
        const QPointF p = projected(s);
        return QPointF(origin_.x() + (p.x() - bounds_.left()) * scale_, h - origin_.y() - (p.y() - bounds_.top()) * scale_);
    };
    while (drawn_ < states_.size() && clock.nsecsElapsed() < kBudgetNs) {
        const std::size_t end = std::min(states_.size(), drawn_ + kBatch);
        if (joined()) {
            // A sample every device pixel along each segment from the state
            // before, its start left to the segment before.
            QPointF from = toPixel(states_[drawn_ > 0 ? drawn_ - 1 : 0]);
            if (drawn_ == 0) deposit(from.x(), from.y());
            for (std::size_t i = std::max<std::size_t>(drawn_, 1); i < end; ++i) {
                const QPointF to = toPixel(states_[i]);
                const double dx = to.x() - from.x(), dy = to.y() - from.y();
                if (!std::isfinite(dx) || !std::isfinite(dy)) continue;
                const int samples = std::max(1, static_cast<int>(std::ceil(std::max(std::fabs(dx), std::fabs(dy)))));
                for (int k = 1; k <= samples; ++k) deposit(from.x() + dx * k / samples, from.y() + dy * k / samples);
                from = to;
            }
        } else {
            for (std::size_t i = drawn_; i < end; ++i) {
                const QPointF p = toPixel(states_[i]);
                deposit(p.x(), p.y());
            }
        }
        drawn_ = end;
    }
    colour(dirty_);
    dirty_ = QRect();
    if (drawing()) {
        if (!moreScheduled_) {
            moreScheduled_ = true;
            QTimer::singleShot(0, this, &AttractorView::drawMore);
        }
        return;
    }
    previous_ = QImage();
    update();
}

void AttractorView::deposit(double x, double y) {
    // Pixel (i, j) covers [i, i + 1) x [j, j + 1); its centre is at + 0.5.
    const double fx = x - 0.5, fy = y - 0.5;
    if (!(fx > -1 && fy > -1 && fx < picture_.width() && fy < picture_.height())) return;
    const int i = static_cast<int>(std::floor(fx)), j = static_cast<int>(std::floor(fy));
    const auto tx = static_cast<float>(fx - i), ty = static_cast<float>(fy - j);
    const int w = picture_.width(), h = picture_.height();
    const auto add = [&](int pi, int pj, float weight) {
        if (pi < 0 || pj < 0 || pi >= w || pj >= h) return;
        density_[static_cast<std::size_t>(pj) * static_cast<std::size_t>(w) + static_cast<std::size_t>(pi)] += weight;
    };
    add(i, j, (1 - tx) * (1 - ty));
    add(i + 1, j, tx * (1 - ty));
    add(i, j + 1, (1 - tx) * ty);
    add(i + 1, j + 1, tx * ty);
    dirty_ |= QRect(std::max(0, i), std::max(0, j), 2, 2);
}

void AttractorView::colour(const QRect& pixels) {
    // Each pass of the trajectory through a pixel covers a share of what is
    // left: the opacity 1 - exp(-k * density). A line leaves one sample a
    // device pixel, so the share grows with the ratio and a line looks as
    // dark at 200 % as at 100 %, only finer. The colours come from a table
    // of densities in steps of 1/16, to the last one shown fully.
    constexpr int kSteps = 16, kLevels = 64 * kSteps;
    const float k = (joined() ? 0.12f : 0.3f) * static_cast<float>(picture_.devicePixelRatio());
    if (k != tableK_) {
        tableK_ = k;
        table_.resize(kLevels + 1);
        for (int level = 0; level <= kLevels; ++level) {
            const double a = level == kLevels ? 1.0 : 1.0 - std::exp(-k * level / kSteps);
            const auto premultiplied = [a](int c) { return static_cast<int>(std::lround(c * a)); };
            table_[static_cast<std::size_t>(level)] =
                qRgba(premultiplied(kTrajectory.red()), premultiplied(kTrajectory.green()),
                      premultiplied(kTrajectory.blue()), static_cast<int>(std::lround(255 * a)));
        }
    }
    const QRect area = pixels & picture_.rect();
    const int w = picture_.width();
    for (int y = area.top(); y <= area.bottom(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(picture_.scanLine(y));
        const float* counts = density_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(w);
        for (int x = area.left(); x <= area.right(); ++x)
            line[x] = table_[static_cast<std::size_t>(std::min(counts[x] * kSteps, static_cast<float>(kLevels)))];
    }
}

void AttractorView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const QRectF area = plotArea();
    // On a screen of another ratio than the picture's: drawn again at its pixels.
    if (!picture_.isNull() && picture_.devicePixelRatio() != devicePixelRatioF()) {
        restartPicture();
        drawMore();
    }
    const QImage& shown = drawing() && !previous_.isNull() ? previous_ : picture_;
    if (!shown.isNull()) painter.drawImage(QRectF(area.topLeft(), area.size()), shown);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(area.adjusted(-0.5, -0.5, 0.5, 0.5));
    const auto [h, v] = axesOf(projection_);
    painter.setPen(palette().color(QPalette::Text));
    const QFontMetricsF metrics(font());
    painter.drawText(QRectF(area.left(), area.bottom() + metrics.height() * 0.9, area.width(), metrics.height()),
                     Qt::AlignHCenter, names_[h]);
    painter.save();
    painter.translate(area.left() - metrics.height() * 1.6, area.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-area.height() / 2, -metrics.height() / 2, area.height(), metrics.height()),
                     Qt::AlignHCenter, names_[v]);
    painter.restore();
    if (bounds_.isNull()) return;
    // The ends of the shown ranges, where the box reaches the area's edges.
    const double scale = std::min(area.width() / bounds_.width(), area.height() / bounds_.height());
    const double halfW = area.width() / scale / 2, halfH = area.height() / scale / 2;
    const QPointF c = bounds_.center();
    const QLocale locale = QLocale::c();  // the point, as every number the program writes
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
    restartPicture();
    drawMore();
}

void AttractorView::describe() {
    const auto [h, v] = axesOf(projection_);
    if (states_.empty()) {
        setAccessibleDescription(tr("Projection on %1–%2: no states yet").arg(names_[h], names_[v]));
        return;
    }
    const QLocale locale = QLocale::c();  // the point, as every number the program writes
    setAccessibleDescription(
        tr("Projection on %1–%2 of %3 states, one every %4 steps; %1 from %5 to %6, %2 from %7 to %8")
            .arg(names_[h], names_[v], locale.toString(static_cast<qlonglong>(states_.size())),
                 locale.toString(static_cast<qlonglong>(stride_)), locale.toString(bounds_.left(), 'g', 4),
                 locale.toString(bounds_.right(), 'g', 4), locale.toString(bounds_.top(), 'g', 4),
                 locale.toString(bounds_.bottom(), 'g', 4)));
}

}  // namespace veltrano::point_panel
