#include "cell_description.h"

#include <QCoreApplication>
#include <QStringList>
#include <algorithm>

#include "map_colours.h"
#include "number_text.h"
#include "point_class.h"
#include "trace_check.h"

namespace veltrano::explorer {

namespace {

QString exact(double v) {
    return QString::fromStdString(shortest(v));
}

QString estimate(double v) {
    return QString::number(v, 'g', 6);
}

// A cell's text, as either kind of cell words it: not computed yet; an
// arithmetic fault; else its state (`statusOf(r)`, asked of a completed
// result only, and the class its error bars decide) in what `text(state)`
// writes, then λ1's bar.
template <class StatusOf, class Text>
QString describedCell(const QString& where, const PointResult* result, const StatusOf& statusOf, const Text& text) {
    if (!result)
        return QCoreApplication::translate("veltrano::explorer::ExplorerWindow", "not computed yet: %1").arg(where);
    const PointResult& r = *result;
    if (!r.completed)
        return QCoreApplication::translate("veltrano::explorer::ExplorerWindow",
                                           "error, an arithmetic fault at t = %1: %2")
            .arg(exact(r.t), where);
    QString state;
    if (statusOf(r) == PointStatus::Inconsistent) {
        // Its numbers cannot be right: no class is read from them.
        state = QCoreApplication::translate("veltrano::explorer::ExplorerWindow", "inconsistent");
    } else if (const auto k = classify(r)) {
        state = QCoreApplication::translate("veltrano::explorer::ExplorerWindow", "ok, %1").arg(classText(*k));
    } else {
        state = QCoreApplication::translate("veltrano::explorer::ExplorerWindow", "ok");
    }
    QString described = text(state);
    if (r.errorsKnown)
        described += QCoreApplication::translate("veltrano::explorer::ExplorerWindow", ", λ1 ± %1")
                         .arg(estimate(r.halfWidth[0]));
    return described;
}

}  // namespace

QString cellDescription(const FlowParameters& p, const PointResult* result, const RunSettings& run) {
    const QString where = QCoreApplication::translate("veltrano::explorer::ExplorerWindow", "σ = %1, R = %2, b = %3")
                              .arg(exact(p.sv), exact(p.rv), exact(p.bv));
    return describedCell(
        where, result, [&](const PointResult& r) { return statusOf(r, p, run); },
        [&](const QString& state) {
            const PointResult& r = *result;
            return QCoreApplication::translate("veltrano::explorer::ExplorerWindow", "%1: %2; λ1 = %3, λ2 = %4, λ3 = %5")
                .arg(state, where, estimate(r.expo[0]), estimate(r.expo[1]), estimate(r.expo[2]));
        });
}

QString systemCellDescription(const QString& where, const PointResult* result, std::span<const double> spectrum,
                              PointStatus status) {
    return describedCell(
        where, result, [&](const PointResult&) { return status; },
        [&](const QString& state) {
            // The first three of the k exponents: a long spectrum is in the panel.
            QStringList values;
            for (std::size_t j = 0; j < std::min<std::size_t>(3, spectrum.size()); ++j)
                values << QStringLiteral("λ%1 = %2").arg(j + 1).arg(estimate(spectrum[j]));
            if (spectrum.size() > 3) values << QStringLiteral("…");
            return QStringLiteral("%1: %2; %3").arg(state, where, values.join(QStringLiteral(", ")));
        });
}

}  // namespace veltrano::explorer
