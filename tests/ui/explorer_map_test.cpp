// The Explorer's map without its window: cells, zoom, passes and their
// image, history, texts, axis labels, class colours, the opening size.

#include <QColor>
#include <QTest>
#include <array>
#include <cmath>

#include "axis_ticks.h"
#include "cell_description.h"
#include "colour_map.h"
#include "explorer_start.h"
#include "explorer_window.h"
#include "map_colours.h"
#include "map_geometry.h"
#include "map_image.h"
#include "map_passes.h"
#include "map_settings.h"
#include "parameter_check.h"
#include "test_class_runner.h"
#include "view_history.h"

using namespace veltrano;
using namespace veltrano::explorer;

namespace {

// CIE L*a*b* of an sRGB colour as an eye sees it whose cones mix by `cones`
// (linear RGB to linear RGB: Viénot, Brettel and Mollon's dichromats; the
// identity for common vision).
using Mix = std::array<std::array<double, 3>, 3>;
std::array<double, 3> labSeen(QColor c, const Mix& cones) {
    const auto linear = [](int v) {
        const double x = v / 255.0;
        return x <= 0.04045 ? x / 12.92 : std::pow((x + 0.055) / 1.055, 2.4);
    };
    const double in[3] = {linear(c.red()), linear(c.green()), linear(c.blue())};
    double rgb[3];
    for (int i = 0; i < 3; ++i)
        rgb[i] = std::clamp(cones[i][0] * in[0] + cones[i][1] * in[1] + cones[i][2] * in[2], 0.0, 1.0);
    const double xyz[3] = {(0.4124 * rgb[0] + 0.3576 * rgb[1] + 0.1805 * rgb[2]) / 0.95047,
                           0.2126 * rgb[0] + 0.7152 * rgb[1] + 0.0722 * rgb[2],
                           (0.0193 * rgb[0] + 0.1192 * rgb[1] + 0.9505 * rgb[2]) / 1.08883};
    double f[3];
    for (int i = 0; i < 3; ++i) f[i] = xyz[i] > 0.008856 ? std::cbrt(xyz[i]) : 7.787 * xyz[i] + 16.0 / 116;
    return {116 * f[1] - 16, 500 * (f[0] - f[1]), 200 * (f[1] - f[2])};
}

}  // namespace

class ExplorerMapTest : public QObject {
    Q_OBJECT
private slots:
    void cellUnderAPoint() {
        // A 400 x 300 area: the top left is the top row, a cell's edge belongs to the next.
        using Case = std::tuple<double, double, int, int, std::optional<CellPosition>>;
        const Case cases[] = {{0, 0, 4, 3, CellPosition{0, 2}},
                              {0, 299.9, 4, 3, CellPosition{0, 0}},
                              {399.9, 299.9, 4, 3, CellPosition{3, 0}},
                              {100, 100, 4, 3, CellPosition{1, 1}},
                              {99.99, 99.99, 4, 3, CellPosition{0, 2}},
                              {123, 45, 400, 300, CellPosition{123, 254}},
                              {200, 150, 1000, 1000, CellPosition{500, 499}},  // cells smaller than pixels
                              {400, 10, 4, 3, std::nullopt},
                              {10, -0.5, 4, 3, std::nullopt},
                              {-1, 10, 4, 3, std::nullopt}};
        for (const auto& [x, y, columns, rows, cell] : cases)
            QVERIFY2(cellAt(x, y, 400, 300, columns, rows) == cell, qPrintable(QStringLiteral("%1, %2").arg(x).arg(y)));
    }

    void cellIsDescribedStatusFirst() {
        const QString at = QStringLiteral("σ = 10, R = 28, b = 2.6667");
        // λ1 + λ2 + λ3 = −13.6667 = −(σ + 1 + b): consistent; bars from ten batches.
        const PointResult chaotic{true, 200, {0.9, 0.0, -14.5667}, 1000, 10, true, {0.01, 0.02, 0.03}};
        PointResult barsOff = chaotic;
        barsOff.errorsKnown = false;
        PointResult periodicLooking = chaotic;  // λ1 within its bar, λ2 below: the numbers of a periodic orbit
        periodicLooking.expo = {0.0, -1.0, -1.5};
        periodicLooking.halfWidth = {0.05, 0.05, 0.05};
        PointResult fault;
        fault.t = 3.25;
        const RunSettings run{.intervals = 1000, .errors = true, .batch = 100};
        const std::tuple<double, const PointResult*, QString> cases[] = {
            {10, &periodicLooking, "inconsistent: " + at + "; λ1 = 0, λ2 = -1, λ3 = -1.5, λ1 ± 0.05"},  // never a class
            {10, &chaotic, "ok, chaotic: " + at + "; λ1 = 0.9, λ2 = 0, λ3 = -14.5667, λ1 ± 0.01"},
            {10, &barsOff, "ok: " + at + "; λ1 = 0.9, λ2 = 0, λ3 = -14.5667"},
            {10, &fault, "error, an arithmetic fault at t = 3.25: " + at},
            // Zoomed: every digit the cell has.
            {std::nextafter(11.0, 0.0), nullptr, "not computed yet: σ = 10.999999999999998, R = 28, b = 2.6667"}};
        for (const auto& [sigma, result, said] : cases)
            QCOMPARE(cellDescription({sigma, 28, 2.6667}, result, run), said);
    }

    void zoomKeepsTheResolutionAndNarrowsTheRanges() {
        // σ 0-40 over 401 cells (0.1 apart), R 0-200 over 201 (1 apart).
        MapSettings s;
        s.x = {SweepParameter::Sigma, 0, 40, 401};
        s.y = {SweepParameter::R, 0, 200, 201};
        const std::tuple<CellPosition, CellPosition, double, double, double, double> cases[] = {
            {{100, 150}, {200, 50}, 10, 20, 50, 150},
            {{200, 50}, {100, 150}, 10, 20, 50, 150},
            {{0, 0}, {1, 1}, 0, 0.1, 0, 1},
            {{0, 0}, {400, 200}, 0, 40, 0, 200}};
        for (const auto& [a, b, xFrom, xTo, yFrom, yTo] : cases) {
            MapSettings expected = s;
            std::tie(expected.x.from, expected.x.to, expected.y.from, expected.y.to) = std::tie(xFrom, xTo, yFrom, yTo);
            QVERIFY(zoomedTo(s, a, b) == expected);
        }
        // A map of one row (Lorenz-96's F alone) zooms across.
        MapSettings line = *systemDefaults(*findSystem("lorenz96"), 41, 1, MapSettings::defaultRun());
        const auto zoomed = zoomedTo(line, {10, 0}, {20, 0});
        QVERIFY(zoomed && zoomed->x.from == 10 && zoomed->x.to == 20 && zoomed->y == line.y);
    }

    void passesComputeEveryCellOnceCoarseFirst() {
        for (const auto& [columns, rows, unitSize] :
             {std::array{1, 1, 32}, {7, 5, 4}, {8, 8, 32}, {9, 17, 3}, {1, 1000, 32}, {400, 300, 32}}) {
            std::vector<int> seen(static_cast<std::size_t>(columns * rows), 0);
            int lastPass = 0, first = 0;
            for (const WorkUnit& u : workUnits(columns, rows, unitSize)) {
                QVERIFY(u.pass >= lastPass);  // a pass's units before the next's
                lastPass = u.pass;
                QVERIFY(u.count >= 1 && u.count <= unitSize);
                first += u.pass == 0 ? u.count : 0;
                for (int k = 0; k < u.count; ++k) {
                    const int r = u.firstRow + k * u.rowStep;
                    QVERIFY(r >= 0 && r < rows && u.column >= 0 && u.column < columns);
                    QCOMPARE(strideOf(u.column, r), kPassStrides[u.pass]);
                    ++seen[static_cast<std::size_t>(u.column * rows + r)];
                }
            }
            QVERIFY(std::all_of(seen.begin(), seen.end(), [](int n) { return n == 1; }));
            // The first pass is a 64th of the map, give or take its edges.
            QCOMPARE(first, ((columns + 7) / 8) * ((rows + 7) / 8));
        }
    }

    void imageShowsTheFinestComputedCell() {
        const int columns = 16, rows = 16;
        std::vector<bool> done(columns * rows, false);
        MapImage image;
        image.reset(columns, rows, qRgb(1, 1, 1));
        const auto isDone = [&](std::int64_t i) { return static_cast<bool>(done[static_cast<std::size_t>(i)]); };
        const auto colour = [](std::int64_t i) {
            return qRgb(static_cast<int>(i % 256), static_cast<int>(i / 256), 7);
        };
        const auto pixel = [&](int c, int r) { return image.image().pixel(c, rows - 1 - r); };
        // Pass 1: cells (0,0), (0,8), (8,0), (8,8) stand for 8 x 8 blocks.
        const auto units = workUnits(columns, rows, 100);
        for (const WorkUnit& u : units)
            for (int k = 0; k < u.count && u.pass == 0; ++k)
                done[static_cast<std::size_t>(u.column * rows + u.firstRow + k * u.rowStep)] = true;
        for (const WorkUnit& u : units)
            if (u.pass == 0) image.paintUnit(u, isDone, colour);
        for (const auto& [c, r, cell] : {std::array{7, 7, 0}, {9, 3, 8 * rows}, {15, 15, 8 * rows + 8}})
            QCOMPARE(pixel(c, r), colour(cell));
        // The cell (4, 4) of the second pass takes over its 4 x 4 block only.
        done[4 * rows + 4] = true;
        image.paintUnit({1, 4, 4, 8, 1}, isDone, colour);
        for (const auto& [c, r, cell] :
             {std::array{4, 4, 4 * rows + 4}, {7, 7, 4 * rows + 4}, {3, 3, 0}, {8, 4, 8 * rows}})
            QCOMPARE(pixel(c, r), colour(cell));
        // A coarse cell painted again (its colour changed) leaves finer ones be.
        image.paintUnit({0, 0, 0, 8, 1}, isDone, colour);
        QCOMPARE(pixel(5, 6), colour(4 * rows + 4));
        // Painting everything again gives the same picture.
        const QImage before = image.image().copy();
        image.paintAll(isDone, colour);
        QCOMPARE(image.image(), before);
        QCOMPARE(image.shownCell(6, 5, isDone), std::int64_t{4 * rows + 4});
        QCOMPARE(image.shownCell(2, 9, isDone), std::int64_t{8});
    }

    void historyGoesBackAndForwardLikeABrowser() {
        MapSettings a, b, c, d;
        b.x.to = 20;
        c.x.to = 10;
        d.y.to = 50;
        ViewHistory h;
        QVERIFY(!h.canGoBack() && !h.canGoForward());
        h.show(a);
        h.show(b);
        h.show(b);  // the same view again is no new step
        h.show(c);
        QCOMPARE(h.size(), std::size_t{3});
        QVERIFY(h.back() == b);
        QVERIFY(h.back() == a);
        QVERIFY(!h.back());
        QVERIFY(h.forward() == b);
        h.show(d);  // drops c
        QVERIFY(h.back() == b);
        QVERIFY(h.forward() == d);
        QVERIFY(!h.forward());
    }

    void exactTextReadsBackAsTheSameDouble() {
        for (double v : {0.0, 0.1, 2.6667, 8.0 / 3.0, -13.25, 1e-7, 123456789.123, 5e-324, 1.7976931348623157e308,
                         -2.2250738585072014e-308, 40.000000000000007}) {
            const std::string text = exactText(v);
            QVERIFY2(text.find_first_of("eE") == std::string::npos, text.c_str());
            const std::u16string wide(text.begin(), text.end());
            QVERIFY2(controllo2(wide), text.c_str());
            QCOMPARE(decimalValue(wide), std::optional<double>(v));
        }
        QCOMPARE(exactText(-0.0), std::string("0"));
    }

    // The command and the Python call of a map of another flow: its name,
    // dimension and k where they are chosen, its axes, its options, its
    // output, N and the parameters off the axes. (Rössler's command, at its
    // defaults, writes the window's rows in ExplorerWindowTest.)
    void systemMapsAreCopiedInTheSystemForm() {
        const struct {
            const char* name;
            std::size_t dimension;
            bool change;  // other axes, k and options
            const char* command;
            const char* python;
        } cases[] = {
            {"hindmarsh-rose", 3, true,
             "veltrano-cli sweep --system hindmarsh-rose --exponents 2 --vary I=0:5:40 --vary r=0.05:0:30 "
             "--initial -1,0,2.5 --transient 50 --target-error 0.01 --batch 100 --output map.csv 1000 a=1 b=3 c=1 "
             "d=5 s=4 xR=-1.6",
             "import veltrano\n\nmap = veltrano.system(\"hindmarsh-rose\").sweep(1000, "
             "I=veltrano.spaced(0.0, 5.0, 40), r=veltrano.spaced(0.05, 0.0, 30), a=1.0, b=3.0, c=1.0, d=5.0, "
             "s=4.0, xR=-1.6, exponents=2, initial=(-1.0, 0.0, 2.5), transient=50, target_error=0.01, batch=100)\n"},
            {"lorenz96", 8, false,
             "veltrano-cli sweep --system lorenz96 --dimension 8 --vary F=0:40:40 --errors --batch 100 "
             "--output map.csv 1000",
             "import veltrano\n\nmap = veltrano.system(\"lorenz96\", dimension=8).sweep(1000, "
             "F=veltrano.spaced(0.0, 40.0, 40), errors=True, batch=100)\n"}};
        for (const auto& c : cases) {
            const auto flow = findSystem(c.name, c.dimension);
            QVERIFY(flow);
            auto s = systemDefaults(*flow, 40, 30, MapSettings::defaultRun());
            QVERIFY(s);
            if (c.change) {
                SystemMap& m = *s->system;
                m.across = 7;  // I
                m.up = 4;      // r, falling
                s->x = {SweepParameter::Sigma, 0, 5, 40};
                s->y = {SweepParameter::R, 0.05, 0, 30};
                m.exponents = 2;
                m.initial = {-1, 0, 2.5};
                s->run.transient = 50;
                s->run.targetError = 0.01;
            }
            QCOMPARE(QString::fromStdString(commandLine(*s)), QString::fromUtf8(c.command));
            QCOMPARE(QString::fromStdString(pythonCall(*s)), QString::fromUtf8(c.python));
        }
    }

    void axisLabelsFitAndTellNeighboursApart() {
        // At the least `least` labels; `across`: side by side, else one above the other.
        const std::tuple<double, double, double, int, bool> cases[] = {
            {0, 40, 600, 5, true},                   // σ whole
            {0, 200, 150, 2, true},                  // R on a short axis
            {10.99999, 11.00001, 600, 3, true},      // σ zoomed to 2e-5
            {28 - 1e-9, 28 + 1e-9, 400, 2, true},    // R zoomed to 2e-9
            {2.6667, 2.6667 + 2e-14, 600, 1, true},  // b near what doubles resolve
            {0, 200, 70, 3, false}};                 // up a short axis
        for (const auto& [lo, hi, length, least, across] : cases) {
            // Seven pixels a character side by side; 14 a label one above the other.
            const auto extent = [across](const QString& t) {
                return across ? 7.0 * static_cast<double>(t.size()) : 14.0;
            };
            const AxisLabels labels = axisLabels(lo, hi, length, extent, 6);
            QCOMPARE(labels.texts.size(), labels.values.size());
            QVERIFY2(static_cast<int>(labels.values.size()) >= least,
                     qPrintable(QString::number(labels.values.size())));
            for (std::size_t k = 0; k < labels.values.size(); ++k) {
                const double slack = (hi - lo) * 1e-9 + std::fabs(hi) * 1e-15;  // a round value's own rounding
                QVERIFY(labels.values[k] >= lo - slack && labels.values[k] <= hi + slack);
                // Each label reads as its value to the axis' precision.
                QVERIFY2(std::fabs(labels.texts[k].toDouble() - labels.values[k]) <= (hi - lo) / 20,
                         qPrintable(labels.texts[k]));
                if (k == 0) continue;
                QVERIFY2(labels.texts[k] != labels.texts[k - 1], qPrintable(labels.texts[k]));
                const double apart = (labels.values[k] - labels.values[k - 1]) / (hi - lo) * length;
                QVERIFY2(apart >= (extent(labels.texts[k]) + extent(labels.texts[k - 1])) / 2 + 6,
                         qPrintable(labels.texts[k - 1] + " " + labels.texts[k]));
            }
            // No more digits than the neighbours need: one fewer would merge two.
            if (labels.texts.size() > 1 && labels.texts[0].contains(QLatin1Char('.'))) {
                const auto decimals = labels.texts[0].size() - labels.texts[0].indexOf(QLatin1Char('.')) - 1;
                bool merged = false;
                for (std::size_t k = 1; k < labels.values.size(); ++k)
                    merged |= QString::number(labels.values[k], 'f', static_cast<int>(decimals) - 1) ==
                              QString::number(labels.values[k - 1], 'f', static_cast<int>(decimals) - 1);
                QVERIFY(merged);
            }
        }
    }

    // Every two colours of the classes' map differ to common, red-blind,
    // green-blind and blue-blind eyes alike: by at least 20 in CIE L*a*b*.
    void classColoursDifferToEveryEye() {
        const std::pair<const char*, QColor> colours[] = {
            {"chaotic", classColour(PointClass::Chaotic)},
            {"periodic", classColour(PointClass::Periodic)},
            {"at rest", classColour(PointClass::AtRest)},
            {"undecided", classColour(PointClass::Undecided)},
            {"inconsistent", drawing::markColour(pictures::PointMark::Inconsistent, NAN, 1)},
            {"error", drawing::markColour(pictures::PointMark::Fault, NAN, 1)},
            {"no error bars", drawing::markColour(pictures::PointMark::Empty, NAN, 1)}};
        const std::pair<const char*, Mix> eyes[] = {
            {"common", Mix{{{1, 0, 0}, {0, 1, 0}, {0, 0, 1}}}},
            {"protanopia", Mix{{{0.11238, 0.88762, 0}, {0.11238, 0.88762, 0}, {0.00401, -0.00401, 1}}}},
            {"deuteranopia", Mix{{{0.29275, 0.70725, 0}, {0.29275, 0.70725, 0}, {-0.02234, 0.02234, 1}}}},
            {"tritanopia",
             Mix{{{1.255528, -0.076749, -0.178779}, {-0.078411, 0.930809, 0.147602}, {0.004733, 0.691367, 0.303900}}}}};
        for (const auto& [eye, cones] : eyes)
            for (std::size_t i = 0; i < std::size(colours); ++i)
                for (std::size_t j = i + 1; j < std::size(colours); ++j) {
                    const auto a = labSeen(colours[i].second, cones), b = labSeen(colours[j].second, cones);
                    const double apart = std::hypot(a[0] - b[0], a[1] - b[1], a[2] - b[2]);
                    // White and the light grey of λ = 0 differ in lightness alone.
                    const double least = std::string(colours[j].first) == "no error bars" ? 10 : 20;
                    QVERIFY2(apart >= least, qPrintable(QStringLiteral("%1: %2 and %3 only %4 apart")
                                                            .arg(eye, colours[i].first, colours[j].first)
                                                            .arg(apart)));
                }
    }

    // The calculator's n and b, with error bars over ten batches.
    void theCalculatorsValuesOpenTheMap() {
        const MapSettings at = settingsAt({2000, 12.5, 30, 3});
        QVERIFY(at.run.intervals == 2000 && at.base.bv == 3 && at.run.errors && at.run.intervals / at.run.batch >= 10);
    }

    void theWindowOpensWithinTheScreen() {
        // The screen's free area in logical pixels: 1366 x 768, 1600 x 1000 and 1920 x 1080, at 100 and 200 %.
        for (const QSize available :
             {QSize(1366, 740), QSize(683, 370), QSize(800, 486), QSize(1920, 1050), QSize(960, 525)}) {
            const QSize size = ExplorerWindow::openingSize(available);
            // Its frame and title bar included, and the room a large screen offers, within reason.
            const QSize room = available - QSize(16, 48);
            QVERIFY(room.boundedTo(size) == size && size.expandedTo(room.boundedTo(QSize(1180, 760))) == size);
        }
    }
};

VELTRANO_TEST_CLASS(ExplorerMapTest, 1);
#include "explorer_map_test.moc"
