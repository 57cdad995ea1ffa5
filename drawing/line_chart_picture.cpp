#include "line_chart_picture.h"

#include <QAreaSeries>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QScatterSeries>
#include <algorithm>
#include <cmath>
#include <iterator>

#include "axis_scale.h"
#include "colour_map.h"

namespace veltrano::drawing {

namespace {

using pictures::Curve;
using pictures::LineChart;
using pictures::MarkedPoints;
using pictures::PointMark;

std::pair<double, double> rangeOf(const std::vector<double>& values) {
    double lo = INFINITY, hi = -INFINITY;
    for (double v : values)
        if (std::isfinite(v)) lo = std::min(lo, v), hi = std::max(hi, v);
    if (lo > hi) return {0, 1};
    return {lo, hi};
}

// Ten colours told apart at a glance (a history of many exponents has as
// many curves); past ten they come round again, dashed.
const QColor kCurveColours[] = {QColor(200, 40, 40),   QColor(40, 120, 40), QColor(40, 70, 190),  QColor(120, 60, 160),
                                QColor(230, 130, 0),   QColor(0, 160, 170), QColor(220, 80, 170), QColor(130, 85, 40),
                                QColor(120, 120, 120), QColor(150, 170, 0)};
constexpr std::size_t kColours = std::size(kCurveColours);

// The band of a curve, one area for each run of points with both ends
// known; only the first is named in the legend. Whether it drew any.
bool addBands(QChart& chart, const Curve& c, QColor fill, QAbstractAxis* x, QAbstractAxis* y) {
    if (c.low.size() != c.x.size() || c.high.size() != c.x.size() || c.x.empty()) return false;
    fill.setAlpha(60);
    bool named = false;
    for (std::size_t k = 0; k < c.x.size();) {
        if (!(std::isfinite(c.low[k]) && std::isfinite(c.high[k]))) {
            ++k;
            continue;
        }
        // The area does not own its edges: they are its children.
        auto* band = new QAreaSeries;
        auto* low = new QLineSeries(band);
        auto* high = new QLineSeries(band);
        for (; k < c.x.size() && std::isfinite(c.low[k]) && std::isfinite(c.high[k]); ++k) {
            low->append(c.x[k], c.low[k]);
            high->append(c.x[k], c.high[k]);
        }
        band->setUpperSeries(high);
        band->setLowerSeries(low);
        band->setName(text(c.name + " 95 %"));
        band->setBrush(fill);
        band->setPen(Qt::NoPen);
        attach(&chart, band, x, y);
        if (named)
            for (QLegendMarker* marker : chart.legend()->markers(band)) marker->setVisible(false);
        named = true;
    }
    return named;
}

void addMarks(QChart& chart, const MarkedPoints& m, QAbstractAxis* x, QAbstractAxis* y) {
    auto* marks = new QScatterSeries;
    marks->setName(text(m.name));
    marks->setMarkerShape(m.mark == PointMark::Fault ? QScatterSeries::MarkerShapeRectangle
                                                     : QScatterSeries::MarkerShapeCircle);
    marks->setMarkerSize(7);
    marks->setColor(markColour(m.mark, 0.0, 1.0));
    marks->setBorderColor(Qt::black);
    QList<QPointF> points;
    for (std::size_t k = 0; k < m.x.size() && k < m.y.size(); ++k) points.append(QPointF(m.x[k], m.y[k]));
    marks->replace(points);
    attach(&chart, marks, x, y);
}

}  // namespace

void buildLineChart(QChart& chart, const LineChart& data) {
    std::vector<double> xs, ys;
    for (const Curve& c : data.curves) {
        xs.insert(xs.end(), c.x.begin(), c.x.end());
        ys.insert(ys.end(), c.y.begin(), c.y.end());
        ys.insert(ys.end(), c.low.begin(), c.low.end());
        ys.insert(ys.end(), c.high.begin(), c.high.end());
    }
    for (const MarkedPoints& m : data.marks) {
        xs.insert(xs.end(), m.x.begin(), m.x.end());
        ys.insert(ys.end(), m.y.begin(), m.y.end());
    }
    const auto [x0, x1] = rangeOf(xs);
    const auto [y0, y1] = rangeOf(ys);
    // A twenty-fifth of the range above and below, computed in halves so
    // that it never overflows.
    const double pad = (y1 / 2 - y0 / 2) * 0.08;
    QAbstractAxis* x = nullptr;
    if (data.logX) {
        const pictures::LogRange range = pictures::logRange(x0, x1);
        auto* logAxis = new QLogValueAxis;
        logAxis->setTitleText(text(data.xTitle));
        logAxis->setBase(10);
        logAxis->setLabelFormat(QStringLiteral("%g"));
        logAxis->setMinorTickCount(8);
        logAxis->setRange(range.from, range.to);
        chart.addAxis(logAxis, Qt::AlignBottom);
        x = logAxis;
    } else {
        x = valueAxis(text(data.xTitle), x0, x1);
        chart.addAxis(x, Qt::AlignBottom);
    }
    QAbstractAxis* y = valueAxis(text(data.yTitle), y0 - pad, y1 + pad);
    chart.addAxis(y, Qt::AlignLeft);
    // Bands first, under every line.
    qsizetype entries = 0;  // in the legend
    for (std::size_t i = 0; i < data.curves.size(); ++i)
        entries += addBands(chart, data.curves[i], kCurveColours[i % kColours], x, y) ? 2 : 1;
    for (std::size_t i = 0; i < data.curves.size(); ++i) {
        const Curve& c = data.curves[i];
        auto* series = new QLineSeries;
        series->setName(text(c.name));
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(c.x.size()));
        for (std::size_t k = 0; k < c.x.size() && k < c.y.size(); ++k)
            if (std::isfinite(c.y[k])) points.append(QPointF(c.x[k], c.y[k]));
        series->replace(points);
        QPen pen(kCurveColours[i % kColours], 2);
        if (i >= kColours) pen.setStyle(Qt::DashLine);
        series->setPen(pen);
        attach(&chart, series, x, y);
    }
    for (const MarkedPoints& m : data.marks)
        if (!m.x.empty()) addMarks(chart, m, x, y), ++entries;
    // Below the chart while its entries fit in a row; many curves (a
    // history of many exponents) list them beside it, without their bands'
    // entries once even a column would not hold them.
    constexpr qsizetype kRow = 16, kColumn = 26;
    chart.legend()->setAlignment(entries > kRow ? Qt::AlignRight : Qt::AlignBottom);
    if (entries > kColumn)
        for (QLegendMarker* marker : chart.legend()->markers())
            if (qobject_cast<QAreaSeries*>(marker->series())) marker->setVisible(false);
}

LineChartPicture::LineChartPicture(const LineChart& data, QSize size)
    : size_(size), canvas_(text(data.title), size) {
    buildLineChart(*canvas_.chart, data);
    canvas_.layOut();
}

void LineChartPicture::paint(QPainter& painter) {
    canvas_.scene.render(&painter);
}

}  // namespace veltrano::drawing
