#include "cell_description.h"

#include <QCoreApplication>
#include <QStringList>

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

}  // namespace

QString cellDescription(const FlowParameters& p, const PointResult* result, const RunSettings& run) {
    const QString where = QCoreApplication::translate("veltrano::explorer::ExplorerWindow", "σ = %1, R = %2, b = %3")
                              .arg(exact(p.sv), exact(p.rv), exact(p.bv));
    if (!result)
        return QCoreApplication::translate("veltrano::explorer::ExplorerWindow", "not computed yet: %1").arg(where);
    const PointResult& r = *result;
    if (!r.completed)
        return QCoreApplication::translate("veltrano::explorer::ExplorerWindow",
                                           "error, an arithmetic fault at t = %1: %2")
            .arg(exact(r.t), where);
    QString status;
    if (statusOf(r, p, run) == PointStatus::Inconsistent) {
        // Its numbers cannot be right: no class is read from them.
        status = QCoreApplication::translate("veltrano::explorer::ExplorerWindow", "inconsistent");
    } else if (const auto k = classify(r)) {
        status = QCoreApplication::translate("veltrano::explorer::ExplorerWindow", "ok, %1").arg(classText(*k));
    } else {
        status = QCoreApplication::translate("veltrano::explorer::ExplorerWindow", "ok");
    }
    QString text =
        QCoreApplication::translate("veltrano::explorer::ExplorerWindow", "%1: %2; λ1 = %3, λ2 = %4, λ3 = %5")
            .arg(status, where, estimate(r.expo[0]), estimate(r.expo[1]), estimate(r.expo[2]));
    if (r.errorsKnown)
        text += QCoreApplication::translate("veltrano::explorer::ExplorerWindow", ", λ1 ± %1")
                    .arg(estimate(r.halfWidth[0]));
    return text;
}

QString systemCellDescription(const QString& where, const PointResult* result, std::span<const double> spectrum,
                              PointStatus status) {
    if (!result)
        return QCoreApplication::translate("veltrano::explorer::ExplorerWindow", "not computed yet: %1").arg(where);
    const PointResult& r = *result;
    if (!r.completed)
        return QCoreApplication::translate("veltrano::explorer::ExplorerWindow",
                                           "error, an arithmetic fault at t = %1: %2")
            .arg(exact(r.t), where);
    QString state;
    if (status == PointStatus::Inconsistent) {
        state = QCoreApplication::translate("veltrano::explorer::ExplorerWindow", "inconsistent");
    } else if (const auto k = classify(r)) {
        state = QCoreApplication::translate("veltrano::explorer::ExplorerWindow", "ok, %1").arg(classText(*k));
    } else {
        state = QCoreApplication::translate("veltrano::explorer::ExplorerWindow", "ok");
    }
    // The first three of the k exponents: a long spectrum is in the panel.
    QStringList values;
    for (std::size_t j = 0; j < std::min<std::size_t>(3, spectrum.size()); ++j)
        values << QStringLiteral("λ%1 = %2").arg(j + 1).arg(estimate(spectrum[j]));
    if (spectrum.size() > 3) values << QStringLiteral("…");
    QString text = QStringLiteral("%1: %2; %3").arg(state, where, values.join(QStringLiteral(", ")));
    if (r.errorsKnown)
        text += QCoreApplication::translate("veltrano::explorer::ExplorerWindow", ", λ1 ± %1")
                    .arg(estimate(r.halfWidth[0]));
    return text;
}

}  // namespace veltrano::explorer
