#include <QAreaSeries>
#include <QChart>
#include <QColor>
#include <QImage>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPainter>
#include <QScatterSeries>
#include <QTemporaryDir>
#include <QTest>
#include <QValueAxis>
#include <cmath>
#include <limits>
#include <memory>

#include "colour_bar.h"
#include "colour_map.h"
#include "heat_map_picture.h"
#include "line_chart_picture.h"
#include "picture_writer.h"
#include "ui_test_support.h"

using namespace veltrano;
using pictures::PointMark;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

const QColor kCold(59, 76, 192), kMiddle(221, 221, 221), kWarm(180, 4, 38);

pictures::HeatMap uniformMap(int columns, int rows, double value) {
    // Built whole: g++ 12 warns wrongly when short literals are assigned
    // to strings (GCC bug 105651).
    pictures::HeatMap map{.title = "λ1 over σ and R", .xTitle = "σ", .yTitle = "R", .valueTitle = "λ1",
                          .xFrom = 0, .xTo = 40, .yFrom = 0, .yTo = 200, .columns = columns, .rows = rows,
                          .values = std::vector<double>(static_cast<std::size_t>(columns * rows), value),
                          .marks = {}};
    return map;
}

template <class Series>
std::vector<Series*> seriesOf(QChart& chart) {
    std::vector<Series*> found;
    for (QAbstractSeries* s : chart.series())
        if (auto* one = qobject_cast<Series*>(s)) found.push_back(one);
    return found;
}

// A line chart built and laid out as a picture lays it out.
struct LaidOutChart {
    drawing::ChartCanvas canvas{"chart", drawing::kLineChartSize};
    QChart& chart = *canvas.chart;
    explicit LaidOutChart(const pictures::LineChart& data) {
        drawing::buildLineChart(chart, data);
        canvas.layOut();
    }
};

}  // namespace

class DrawingTest : public QObject {
    Q_OBJECT

private slots:
    // The diverging scale: neutral at 0, warm at +limit, cool at -limit,
    // clamped beyond, symmetric in its mixing.
    void scale() {
        const std::tuple<double, double, QColor> cases[] = {
            {0.0, 2.0, kMiddle},
            {2.0, 2.0, kWarm},
            {-2.0, 2.0, kCold},
            {50.0, 2.0, kWarm},    // above the top
            {-1e308, 2.0, kCold},  // below the bottom
            {1.0, 2.0, QColor(201, 113, 130)},
            {-1.0, 2.0, QColor(140, 149, 207)},
            {1.0, 0.0, kWarm},    // no limit counts as 1
            {-1.0, -3.0, kCold},  // a negative one too
            {kNaN, 1.0, kMiddle}};
        for (const auto& [value, limit, colour] : cases) QCOMPARE(drawing::divergingColour(value, limit), colour);
    }

    // The special colours lie off the scale, so that no point of them is read
    // as a value (and apart from each other: ExplorerMapTest's eyes).
    void specialColoursStandApart() {
        for (const QColor& special : {drawing::faultColour(), drawing::inconsistentColour(), drawing::emptyColour()})
            for (int s = -100; s <= 100; ++s) QVERIFY(drawing::divergingAt(s / 100.0) != special);
        // Shaded but still showing its side of the scale.
        const QColor warm = drawing::undecidedShade(kWarm), cold = drawing::undecidedShade(kCold);
        QVERIFY(warm.red() > warm.blue());
        QVERIFY(cold.blue() > cold.red());
        QCOMPARE(drawing::markColour(PointMark::Undecided, 1.0, 1.0), warm);
        // No shade can be taken for a value of the scale (0 above all: the
        // periodic orbits), nor for a fault.
        const auto apart = [](const QColor& a, const QColor& b) {
            const int dr = a.red() - b.red(), dg = a.green() - b.green(), db = a.blue() - b.blue();
            return dr * dr + dg * dg + db * db;
        };
        for (int s = -100; s <= 100; s += 5) {
            const QColor shade = drawing::undecidedShade(drawing::divergingAt(s / 100.0));
            for (int v = -100; v <= 100; ++v) QVERIFY(apart(shade, drawing::divergingAt(v / 100.0)) > 60 * 60);
            QVERIFY(apart(shade, drawing::faultColour()) > 30 * 30);
        }
    }

    // The scale ends at the largest magnitude shown: not at cells that show
    // no value, nor at values that are not finite; 1 when there is none. The
    // legend names each special colour that some cell shows (a value that is
    // not finite shows a fault), and only those.
    void scaleLimitAndLegend() {
        pictures::HeatMap map = uniformMap(3, 2, 0.5);
        QVERIFY(drawing::legendOf(map).empty());
        map.values = {0.5, -3, 7, kInf, 100, 200};
        const auto fault = drawing::legendOf(map);
        QCOMPARE(fault.size(), std::size_t{1});
        QCOMPARE(fault[0].mark, PointMark::Fault);
        QCOMPARE(fault[0].name, QStringLiteral("error"));
        map.marks = {PointMark::Value, PointMark::Undecided, PointMark::Value,
                     PointMark::Value, PointMark::Inconsistent, PointMark::Fault};
        QCOMPARE(drawing::scaleLimit(map), 7.0);
        map.marks[2] = PointMark::Empty;
        map.values[3] = 1;
        QCOMPARE(drawing::scaleLimit(map), 3.0);
        const auto entries = drawing::legendOf(map);
        QCOMPARE(entries.size(), std::size_t{3});
        QCOMPARE(entries[0].mark, PointMark::Fault);
        QCOMPARE(entries[1].mark, PointMark::Inconsistent);
        QCOMPARE(entries[1].name, QStringLiteral("inconsistent"));
        QCOMPARE(entries[2].mark, PointMark::Undecided);
        map.limit = 4;
        QCOMPARE(drawing::scaleLimit(map), 4.0);
        QCOMPARE(drawing::scaleLimit(uniformMap(2, 2, 0.0)), 1.0);
        pictures::HeatMap unmarked = uniformMap(2, 1, 0);
        unmarked.values = {-0.25, 0.125};
        QCOMPARE(drawing::scaleLimit(unmarked), 0.25);
    }

    // One pixel a cell, row 0 at the bottom, each in the colour of its mark.
    void cells() {
        pictures::HeatMap map = uniformMap(3, 2, 0);
        map.values = {1, -1, 0, kNaN, 0.5, 1};
        map.marks = {PointMark::Value, PointMark::Value, PointMark::Fault,
                     PointMark::Value, PointMark::Inconsistent, PointMark::Empty};
        const QImage image = drawing::cellImage(map, 1.0);
        QCOMPARE(image.size(), QSize(3, 2));
        const QColor expected[] = {kWarm, kCold, drawing::faultColour(), drawing::faultColour(),
                                   drawing::inconsistentColour(), drawing::emptyColour()};
        for (int i = 0; i < 6; ++i) QCOMPARE(image.pixelColor(i % 3, 1 - i / 3), expected[i]);
        // Fewer values than cells: the rest is empty, nothing read beyond.
        map.values.resize(2);
        map.marks.resize(2);
        QCOMPARE(drawing::cellImage(map, 1.0).pixelColor(2, 1), drawing::emptyColour());
    }

    // A window paints the map at its screen's ratio: twice the pixels, the
    // same picture. At a ratio of 2 the cells still meet where the plot area
    // says: the boundary of a map of two cells lies at its middle. Written as
    // PNG or SVG by the name's ending, whatever its case; the colour bar's
    // labels run from +limit to -limit in quarters. (The titles written are
    // checked on the tool's pictures, in plot_checks.)
    void cellsAtADevicePixelRatioAndWritten() {
        pictures::HeatMap map = uniformMap(2, 1, 0);
        map.values = {-0.5, 2};
        drawing::HeatMapPicture picture(map);
        const QRectF area = picture.plotArea();
        QVERIFY(area.width() > 100 && area.height() > 100);
        QVERIFY(picture.cellArea().contains(area));
        for (const qreal ratio : {1.0, 2.0}) {
            const QImage image = picture.image(ratio);
            QCOMPARE(image.size(), (QSizeF(drawing::kHeatMapSize) * ratio).toSize());
            QCOMPARE(image.devicePixelRatio(), ratio);
            const auto at = [&](double across) {
                return image.pixelColor((QPointF(area.left() + across * area.width(), area.center().y()) * ratio).toPoint());
            };
            QCOMPARE(at(0.45), drawing::divergingColour(-0.5, 2));
            QCOMPARE(at(0.55), kWarm);
            // The colour bar: warm at the top, cool at the bottom.
            const auto bar = [&](double down) {
                return image.pixelColor((QPointF(area.right() + 51, area.top() + down * area.height()) * ratio).toPoint());
            };
            QVERIFY(bar(0.01).red() > 170 && bar(0.01).blue() < 60);
            QVERIFY(bar(0.99).blue() > 170 && bar(0.99).red() < 80);
        }
        QTemporaryDir folder;
        const QString mapSvg = folder.filePath("map.SVG");
        QCOMPARE(QString::fromStdString(drawing::writePicture(map, mapSvg.toStdString())), QString());
        const QByteArray all = readAll(mapSvg);
        for (const char* label : {">2<", ">1<", ">0<", ">-1<", ">-2<"}) QVERIFY2(all.contains(label), label);
        const std::string png = folder.filePath("map.png").toStdString();
        QCOMPARE(QString::fromStdString(drawing::writePicture(uniformMap(2, 2, 0.5), png)), QString());
        QCOMPARE(QImage(QString::fromStdString(png)).size(), drawing::kHeatMapSize);
        const std::string nowhere = folder.filePath("no/such/folder/map.png").toStdString();
        const std::string why = drawing::writePicture(uniformMap(2, 2, 0.5), nowhere);
        QVERIFY(QString::fromStdString(why).startsWith("cannot write " + QString::fromStdString(nowhere)));
    }

    // The band of a curve is drawn from the points that have both ends: a
    // gap (here of the upper end alone) splits it, and only its first piece
    // is named in the legend. Marked points get their colour and their legend
    // entry, and the axes hold them too.
    void bandsAndMarks() {
        pictures::LineChart data;
        data.curves.push_back({"λ1", {1, 2, 3, 4, 5}, {1, 1, 1, 1, 1}, {0.9, 0.9, 0.9, 0.9, 0.9}, {1.1, 1.1, kNaN, 1.1, 1.1}});
        data.marks.push_back({PointMark::Fault, "arithmetic error (no result)", {3}, {0}});
        data.marks.push_back({PointMark::Inconsistent, "inconsistent", {4, 4}, {2, -3}});
        LaidOutChart gap(data);
        QChart& chart = gap.chart;
        const auto bands = seriesOf<QAreaSeries>(chart);
        QCOMPARE(bands.size(), std::size_t{2});
        QCOMPARE(bands[0]->upperSeries()->points(), (QList<QPointF>{{1, 1.1}, {2, 1.1}}));
        QCOMPARE(bands[1]->lowerSeries()->points(), (QList<QPointF>{{4, 0.9}, {5, 0.9}}));
        QVERIFY(chart.legend()->markers(bands[0]).front()->isVisible());
        QVERIFY(!chart.legend()->markers(bands[1]).front()->isVisible());
        const auto marks = seriesOf<QScatterSeries>(chart);
        QCOMPARE(marks.size(), std::size_t{2});
        QCOMPARE(marks[0]->color(), drawing::faultColour());
        QCOMPARE(marks[0]->name(), QStringLiteral("arithmetic error (no result)"));
        QCOMPARE(marks[0]->points(), (QList<QPointF>{{3, 0}}));
        QCOMPARE(marks[1]->color(), drawing::inconsistentColour());
        QCOMPARE(marks[1]->points(), (QList<QPointF>{{4, 2}, {4, -3}}));
        QVERIFY(chart.legend()->markers(marks[1]).front()->isVisible());
        auto* y = qobject_cast<QValueAxis*>(chart.axes(Qt::Vertical).front());
        QVERIFY(y->min() < -3 && y->max() > 2);
    }

    // Many curves (a history of many exponents): ten colours, then dashed;
    // the legend below while it fits in a row, else beside the chart, and
    // without the bands' entries once a column would not hold them either.
    void manyCurves() {
        const std::tuple<int, bool, Qt::Alignment, bool> cases[] = {{8, true, Qt::AlignBottom, true},
                                                                    {9, true, Qt::AlignRight, true},
                                                                    {16, false, Qt::AlignBottom, false},
                                                                    {13, true, Qt::AlignRight, true},
                                                                    {14, true, Qt::AlignRight, false}};
        for (const auto& [curves, bands, alignment, bandsNamed] : cases) {
            pictures::LineChart data;
            for (int i = 0; i < curves; ++i)
                data.curves.push_back({"λ" + std::to_string(i + 1), {1, 2}, {1.0 * i, 1.0 * i}, {}, {}});
            if (bands)
                for (pictures::Curve& c : data.curves)
                    c.low = {c.y[0] - 0.1, c.y[0] - 0.1}, c.high = {c.y[0] + 0.1, c.y[0] + 0.1};
            LaidOutChart built(data);
            QCOMPARE(int(built.chart.legend()->alignment()), int(alignment));
            const auto lines = seriesOf<QLineSeries>(built.chart);
            QCOMPARE(lines.size(), std::size_t(curves));
            for (std::size_t i = 0; i < lines.size(); ++i) {
                const QPen pen = lines[i]->pen();
                QCOMPARE(pen.style(), i < 10 ? Qt::SolidLine : Qt::DashLine);
                for (std::size_t j = 0; j < i; ++j)
                    QCOMPARE(pen.color() == lines[j]->pen().color(), i - j == 10);
            }
            for (QAreaSeries* band : seriesOf<QAreaSeries>(built.chart))
                QCOMPARE(built.chart.legend()->markers(band).front()->isVisible(), bandsNamed);
        }
    }

    // Axes over any values stay a handful of ticks (AxisScale's, checked in
    // pictures_tests), run the way asked, and the picture is drawn (a range a
    // few ulps wide once never finished).
    void saneAxes() {
        const std::pair<double, double> ranges[] = {{28.0, 28.000000000000004},  // a few ulps
                                                    {28.0, 28.0},
                                                    {0.0, 0.0},
                                                    {-1.7976931348623157e308, 1.7976931348623157e308},
                                                    {kNaN, kNaN},
                                                    {1e20, 1e20 + 16384},  // far and narrow
                                                    {5.0, 1.0}};
        for (const auto& [from, to] : ranges) {
            const std::unique_ptr<QValueAxis> axis(drawing::valueAxis("x", from, to));
            QVERIFY(axis->min() < axis->max() && (axis->max() - axis->min()) / axis->tickInterval() < 13);
            QCOMPARE(axis->isReverse(), from > to);

            pictures::HeatMap map = uniformMap(3, 3, 0.1);
            map.xFrom = from, map.xTo = to, map.yFrom = to, map.yTo = from;
            QVERIFY(!drawing::HeatMapPicture(map).image().isNull());
            pictures::LineChart line;
            line.curves.push_back({"λ1", {from, to}, {from, to}, {}, {}});
            drawing::LineChartPicture picture(line);
            QImage image(picture.size(), QImage::Format_RGB32);
            QPainter painter(&image);
            picture.paint(painter);
        }
    }
};

VELTRANO_TEST_CLASS(DrawingTest, 1);
#include "drawing_test.moc"
