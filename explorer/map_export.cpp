#include "map_export.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <cerrno>
#include <cmath>
#include <cstring>

#include "map_colours.h"
#include "number_text.h"
#include "output_file.h"
#include "picture_texts.h"
#include "picture_writer.h"
#include "sweep_picture.h"
#include "sweep_rows.h"
#include "system_sweep_rows.h"
#include "trace_check.h"

namespace veltrano::explorer {

QString cannotWrite(const QString& path, const QString& why) {
    return QCoreApplication::translate("veltrano::explorer::MapExport", "Cannot write %1: %2. The file is as it was.")
        .arg(path, why);
}

namespace {

// How the run differs from the window's experiment, after the fixed
// parameter in a picture's title.
QString runText(const RunSettings& run) {
    QString text = QCoreApplication::translate("veltrano::explorer::MapExport", "n = %1").arg(run.intervals);
    if (run.transient > 0)
        text += QCoreApplication::translate("veltrano::explorer::MapExport", ", transient %1").arg(run.transient);
    if (run.targetError > 0)
        text += QCoreApplication::translate("veltrano::explorer::MapExport", ", target error %1")
                    .arg(QString::fromStdString(shortest(run.targetError)));
    return text;
}

// "λ1 over σ and R — b = 2.6667, n = 1000", in the window's language.
std::string titleOf(const MapSettings& s, const QString& quantity) {
    const auto symbol = [](SweepParameter p) { return QString::fromStdString(pictures::symbolOf(p)); };
    return QCoreApplication::translate("veltrano::explorer::MapExport", "%1 over %2 and %3 — %4 = %5, %6")
        .arg(quantity, symbol(s.x.parameter), symbol(s.y.parameter), symbol(s.fixedParameter()),
             QString::fromStdString(shortest(valueOf(s.base, s.fixedParameter()))), runText(s.run))
        .toStdString();
}

// "λ1 over a and c — Rössler, b = 0.2, n = 1000": the flow and the values
// of the parameters off the axes.
std::string systemTitleOf(const MapSettings& s, const QString& quantity) {
    const SystemMap& m = *s.system;
    const SystemDescription flow = descriptionOf(m);
    const auto name = [&](std::size_t i) { return QString::fromStdString(flow.parameters[i].name); };
    QString title = QString::fromStdString(flow.title);
    if (flow.dimensionChoice) title += QStringLiteral(" (d = %1)").arg(m.dimension);
    for (std::size_t i = 0; i < m.values.size(); ++i)
        if (i != m.across && i != m.up)
            title += QStringLiteral(", %1 = %2").arg(name(i), QString::fromStdString(shortest(m.values[i])));
    const QString axes =
        m.up == SystemMap::kNoAxis
            ? name(m.across)
            : QCoreApplication::translate("veltrano::explorer::MapExport", "%1 and %2").arg(name(m.across), name(m.up));
    return QCoreApplication::translate("veltrano::explorer::MapExport", "%1 over %2 — %3, %4")
        .arg(quantity, axes, title, runText(s.run))
        .toStdString();
}

}  // namespace

std::string writeRows(const MapSettings& s, std::span<const PointResult> results, std::FILE* out,
                      const std::function<bool(std::int64_t rows)>& goOn) {
    const SweepGrid grid = gridOf(s);
    std::string block = sweepHeader(s.run.errors) + '\n';
    const auto size = static_cast<std::int64_t>(results.size());
    // A block at a time: however large the map, the text is never held whole.
    for (std::int64_t i = 0; i < size; ++i) {
        block += sweepRow({i, grid.pointAt(i), results[static_cast<std::size_t>(i)]}, s.run);
        block += '\n';
        if (block.size() > (1U << 16) || i + 1 == size) {
            if (std::fwrite(block.data(), 1, block.size(), out) != block.size()) return std::strerror(errno);
            block.clear();
            if (!goOn(i + 1)) return {};
        }
    }
    return {};
}

std::string writeSystemRows(const MapSettings& s, std::span<const PointResult> results, const SystemCells& cells,
                            std::FILE* out, const std::function<bool(std::int64_t rows)>& goOn) {
    // The rows veltrano-cli sweep --system writes, through its own writer.
    const SystemMap& m = *s.system;
    SystemSweepForm form{systemKey(m), {}, cells.k, s.run.errors};
    for (const ParameterDescription& p : descriptionOf(m).parameters) form.parameters.push_back(p.name);
    std::string block = systemSweepHeader(form) + '\n';
    const auto size = static_cast<std::int64_t>(results.size());
    SystemSweepPoint point;
    for (std::int64_t i = 0; i < size; ++i) {
        const auto cell = static_cast<std::size_t>(i);
        const PointResult& head = results[cell];
        point.index = i;
        point.parameters = systemPoint(s, i);
        AnySystemResult& r = point.result;
        r = {};
        r.completed = head.completed;
        r.t = head.t;
        r.exponents = cells.k;
        r.intervals = head.intervals;
        r.batches = head.batches;
        r.errorsKnown = head.errorsKnown;
        std::copy_n(cells.spectrum(cell).begin(), cells.k, r.expo.begin());
        std::copy_n(cells.halfWidthsOf(cell).begin(), cells.k, r.halfWidth.begin());
        r.meanDivergence = cells.divergences[cell];
        block += systemSweepRow(form, point, head.completed ? cells.statuses[cell] : PointStatus::Error);
        block += '\n';
        if (block.size() > (1U << 16) || i + 1 == size) {
            if (std::fwrite(block.data(), 1, block.size(), out) != block.size()) return std::strerror(errno);
            block.clear();
            if (!goOn(i + 1)) return {};
        }
    }
    return {};
}

pictures::HeatMap heatMapOf(const MapComputation& map, Shown shown) {
    using pictures::PointMark;
    const MapSettings& s = map.settings();
    const SweepGrid grid = gridOf(s);
    const auto point = [&](std::int64_t i) { return SweepPoint{i, grid.pointAt(i), map.result(i)}; };
    const bool lambda = shown == Shown::Lambda1 || shown == Shown::Lambda2 || shown == Shown::Lambda3;
    pictures::HeatMap picture;
    // The legend's words in the window's language.
    const auto legendNames = [](pictures::HeatMap& p) {
        p.faultName = QCoreApplication::translate("veltrano::explorer::MapExport", "error").toStdString();
        p.inconsistentName = QCoreApplication::translate("veltrano::explorer::MapExport", "inconsistent").toStdString();
        p.undecidedName = QCoreApplication::translate("veltrano::explorer::MapExport", "undecided").toStdString();
    };
    if (lambda && !s.system) {
        // The command line's own picture of the sweep.
        pictures::SweepPicture sweep(grid, {});
        for (std::int64_t i = 0; i < s.size(); ++i)
            if (map.done(i)) sweep.add(point(i), statusOf(map.result(i), grid.pointAt(i), s.run));
        picture = sweep.heatMap(static_cast<int>(shown) + 1);
        picture.title = titleOf(s, QString::fromStdString(picture.valueTitle));
    } else {
        if (s.system) {
            const SystemDescription flow = descriptionOf(*s.system);
            picture.title = systemTitleOf(s, shownTitle(shown));
            picture.xTitle = flow.parameters[s.system->across].name;
            picture.yTitle = s.system->up < flow.parameters.size() ? flow.parameters[s.system->up].name : "";
        } else {
            picture.title = titleOf(s, shownTitle(shown));
            picture.xTitle = pictures::symbolOf(s.x.parameter);
            picture.yTitle = pictures::symbolOf(s.y.parameter);
        }
        picture.valueTitle = shownTitle(shown).toStdString();
        picture.xFrom = grid.axes[0].valueAt(0);
        picture.xTo = grid.axes[0].valueAt(s.x.count - 1);
        picture.yFrom = grid.axes[1].valueAt(0);
        picture.yTo = grid.axes[1].valueAt(s.y.count - 1);
        picture.columns = s.x.count;
        picture.rows = s.y.count;
        picture.values.assign(static_cast<std::size_t>(s.size()), std::nan(""));
        picture.marks.assign(static_cast<std::size_t>(s.size()), PointMark::Empty);
        for (int c = 0; c < s.x.count; ++c)
            for (int r = 0; r < s.y.count; ++r) {
                const std::int64_t i = indexOf(s, c, r);
                if (!map.done(i)) continue;
                const auto cell = static_cast<std::size_t>(std::int64_t{r} * s.x.count + c);
                const PointResult& result = map.result(i);
                PointMark mark = s.system ? markOf(result, map.cellStatus(i).value_or(PointStatus::Error))
                                          : markOf(result, grid.pointAt(i), s.run);
                double value = NAN;
                if (shown == Shown::Classes) {
                    // Chaos at the warm end, rest at the cool end, periodic
                    // orbits in the middle; undecided in the shade.
                    const auto k = classify(result);
                    value = !k                              ? NAN
                            : *k == PointClass::Chaotic     ? 1.0
                            : *k == PointClass::AtRest      ? -1.0
                                                            : 0.0;
                    if (k && *k == PointClass::Undecided) value = NAN;
                    if (!k && mark == PointMark::Value) mark = PointMark::Empty;
                    picture.limit = 1;
                } else if (const auto v = shownValue(result, map.spectrum(i), shown)) {
                    value = *v;
                } else if (mark != PointMark::Fault) {
                    mark = PointMark::Empty;
                }
                picture.values[cell] = value;
                picture.marks[cell] = mark;
            }
        legendNames(picture);
        return picture;
    }
    // The command line's picture has no classes; the window shades the
    // undecided cells where they are cells of their own.
    if (picture.columns == s.x.count && picture.rows == s.y.count) {
        if (picture.marks.empty()) picture.marks.assign(picture.values.size(), PointMark::Value);
        for (int c = 0; c < s.x.count; ++c)
            for (int r = 0; r < s.y.count; ++r) {
                const std::int64_t i = indexOf(s, c, r);
                const auto cell = static_cast<std::size_t>(std::int64_t{r} * s.x.count + c);
                if (map.done(i) && picture.marks[cell] == PointMark::Value &&
                    classify(map.result(i)) == PointClass::Undecided)
                    picture.marks[cell] = PointMark::Undecided;
            }
    }
    legendNames(picture);
    return picture;
}

QString writePicture(const MapComputation& map, Shown shown, const QString& path) {
    // The target is taken first, as the rows are (refused before anything
    // is drawn if another process writes it, and held until the new picture
    // is in its place); the picture is drawn into a scratch folder by the
    // drawing library and copied into the file written beside the target.
    auto opened = ReplacementFile::open(path.toStdString());
    if (const auto* refusal = std::get_if<FileRefusal>(&opened))
        return cannotWrite(path, QString::fromStdString(refusal->message));
    ReplacementFile& file = std::get<ReplacementFile>(opened);
    QTemporaryDir scratch;
    if (!scratch.isValid()) return cannotWrite(path, scratch.errorString());
    const bool svg = path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive);
    const QString drawn = scratch.filePath(svg ? QStringLiteral("map.svg") : QStringLiteral("map.png"));
    const std::string error = drawing::writePicture(heatMapOf(map, shown), drawn.toStdString());
    if (!error.empty()) return cannotWrite(path, QString::fromStdString(error));
    QFile in(drawn);
    if (!in.open(QIODevice::ReadOnly)) return cannotWrite(path, in.errorString());
    const QByteArray bytes = in.readAll();
    if (std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), file.stream()) !=
        static_cast<std::size_t>(bytes.size()))
        return cannotWrite(path, QString::fromLocal8Bit(std::strerror(errno)));
    std::string failed = file.finish();
    if (failed.empty()) failed = file.publish();
    if (!failed.empty()) return cannotWrite(path, QString::fromStdString(failed));
    return {};
}

}  // namespace veltrano::explorer
