#include "map_colours.h"

#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

#include "colour_bar.h"
#include "colour_map.h"
#include "trace_check.h"

namespace veltrano::explorer {

namespace {

constexpr PointClass kClasses[] = {PointClass::Chaotic, PointClass::Periodic, PointClass::AtRest,
                                   PointClass::Undecided};

}  // namespace

pictures::PointMark markOf(const PointResult& r, const FlowParameters& p, const RunSettings& run) {
    using pictures::PointMark;
    if (!r.completed) return PointMark::Fault;
    if (statusOf(r, p, run) == PointStatus::Inconsistent) return PointMark::Inconsistent;
    if (classify(r) == PointClass::Undecided) return PointMark::Undecided;
    return PointMark::Value;
}

QRgb cellColour(const PointResult& r, const FlowParameters& p, const RunSettings& run, Shown shown, double limit) {
    return cellColour(r, markOf(r, p, run), shown, limit);
}

// A point of any flow is classified by the same rule (point_class.h) from
// its first two exponents and their bars, the flow's own zero exponent
// telling periodic (λ1 = 0 and λ2 < 0) from chaotic (λ1 > 0). A conservative
// flow (divergence zero, the exponents in pairs ±λ summing to zero, as
// Hénon–Heiles) has no contracting direction on a regular orbit: there
// λ1 and λ2 are both zero within their bars and the point is undecided, never
// periodic; its chaotic orbits (λ1 beyond its bar) are chaotic as for any flow.
pictures::PointMark markOf(const PointResult& r, PointStatus status) {
    using pictures::PointMark;
    if (!r.completed) return PointMark::Fault;
    if (status == PointStatus::Inconsistent) return PointMark::Inconsistent;
    if (classify(r) == PointClass::Undecided) return PointMark::Undecided;
    return PointMark::Value;
}

QRgb cellColour(const PointResult& r, pictures::PointMark mark, Shown shown, double limit) {
    return cellColour(r, r.expo, mark, shown, limit);
}

QRgb cellColour(const PointResult& r, std::span<const double> spectrum, pictures::PointMark mark, Shown shown,
                double limit) {
    using pictures::PointMark;
    if (shown == Shown::Classes) {
        if (mark == PointMark::Fault || mark == PointMark::Inconsistent)
            return drawing::markColour(mark, NAN, limit).rgb();
        const auto c = classify(r);
        return c ? classColour(*c).rgb() : drawing::emptyColour().rgb();
    }
    const auto v = shownValue(r, spectrum, shown);
    if (!v) return mark == PointMark::Fault ? drawing::faultColour().rgb() : drawing::emptyColour().rgb();
    return drawing::markColour(mark, *v, limit > 0 ? limit : 1).rgb();
}

QRgb backgroundColour(const QPalette&) {
    return drawing::emptyColour().rgb();
}

QColor classColour(PointClass c) {
    // Chaos warm and rest cool as on the scale of λ1, periodic orbits (λ1 at
    // 0) the scale's neutral middle; undecided the deep green the maps of λ
    // shade undecided points towards. Every pair of these, the gold of
    // inconsistent points, the grey of faults and the white of points
    // without error bars stays apart to a red-blind, a green-blind and a
    // blue-blind eye alike, and undecided differs in lightness from all of
    // them for an eye that sees no hue.
    switch (c) {
        case PointClass::Chaotic:
            return drawing::divergingAt(1.0);
        case PointClass::Periodic:
            return drawing::divergingAt(0.0);
        case PointClass::AtRest:
            return drawing::divergingAt(-1.0);
        case PointClass::Undecided:
            return QColor(0, 140, 80);
    }
    return drawing::emptyColour();
}

QString classText(PointClass c) {
    switch (c) {
        case PointClass::Chaotic:
            return LegendWidget::tr("chaotic");
        case PointClass::Periodic:
            return LegendWidget::tr("periodic");
        case PointClass::AtRest:
            return LegendWidget::tr("at rest");
        case PointClass::Undecided:
            return LegendWidget::tr("undecided");
    }
    return {};
}

QString shownTitle(Shown shown) {
    switch (shown) {
        case Shown::Lambda1:
            return QStringLiteral("λ1");
        case Shown::Lambda2:
            return QStringLiteral("λ2");
        case Shown::Lambda3:
            return QStringLiteral("λ3");
        case Shown::KaplanYorke:
            return LegendWidget::tr("D (Kaplan–Yorke)");
        case Shown::HalfWidth1:
            return LegendWidget::tr("± λ1");
        case Shown::Classes:
            return LegendWidget::tr("class");
    }
    return {};
}

LegendWidget::LegendWidget(QWidget* parent) : QWidget(parent), bar_(new drawing::ColourBarWidget(this)) {
    setObjectName(QStringLiteral("Legend"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(bar_);
}

void LegendWidget::setScale(Shown shown, double limit, bool errors) {
    using pictures::PointMark;
    classes_ = shown == Shown::Classes;
    bar_->setVisible(!classes_);
    std::vector<drawing::LegendEntry> legend{{PointMark::Fault, tr("error")},
                                             {PointMark::Inconsistent, tr("inconsistent")}};
    if (errors) legend.push_back({PointMark::Undecided, tr("undecided")});
    const double end = limit > 0 ? limit : 1;
    bar_->setScale(end, shownTitle(shown), legend, neverNegative(shown));
    setAccessibleName(tr("Legend"));
    QString description;
    if (classes_) {
        for (PointClass c : kClasses) description += classText(c) + QStringLiteral("; ");
    } else {
        description = tr("%1 from %2 (%3) to %4 (warm)")
                          .arg(shownTitle(shown))
                          .arg(neverNegative(shown) ? 0.0 : -end, 0, 'g', 3)
                          .arg(neverNegative(shown) ? tr("neutral") : tr("cool"))
                          .arg(end, 0, 'g', 3);
    }
    setAccessibleDescription(description);
    updateGeometry();
    update();
}

QSize LegendWidget::sizeHint() const {
    QSize hint = bar_->sizeHint().expandedTo(QSize(150, 200));
    if (classes_) {
        // Room for the longest name right of its swatch, in any language.
        const QFontMetrics fm(font());
        int widest = fm.horizontalAdvance(shownTitle(Shown::Classes));
        for (PointClass c : kClasses) widest = std::max(widest, 24 + fm.horizontalAdvance(classText(c)));
        for (const auto& [mark, name] : markNames()) widest = std::max(widest, 24 + fm.horizontalAdvance(name));
        hint.setWidth(std::max(hint.width(), 8 + widest + 8));
    }
    return hint;
}

std::array<std::pair<pictures::PointMark, QString>, 3> LegendWidget::markNames() {
    return {std::pair{pictures::PointMark::Fault, tr("error")},
            std::pair{pictures::PointMark::Inconsistent, tr("inconsistent")},
            std::pair{pictures::PointMark::Empty, tr("no error bars")}};
}

void LegendWidget::paintEvent(QPaintEvent*) {
    if (!classes_) return;
    QPainter p(this);
    const QFontMetrics fm(font());
    int y = 20;
    p.drawText(QPoint(8, y), shownTitle(Shown::Classes));
    for (PointClass c : kClasses) {
        y += fm.height() + 8;
        const QRect swatch(8, y - fm.ascent(), 16, 16);
        p.fillRect(swatch, classColour(c));
        p.drawRect(swatch);
        p.drawText(QPoint(32, y + 2), classText(c));
    }
    for (const auto& [mark, name] : markNames()) {
        y += fm.height() + 8;
        const QRect swatch(8, y - fm.ascent(), 16, 16);
        p.fillRect(swatch, drawing::markColour(mark, NAN, 1));
        p.drawRect(swatch);
        p.drawText(QPoint(32, y + 2), name);
    }
}

}  // namespace veltrano::explorer
