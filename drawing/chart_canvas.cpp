#include "chart_canvas.h"

#include <QCoreApplication>
#include <QFont>

#include "axis_scale.h"

namespace veltrano::drawing {

QString text(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QValueAxis* valueAxis(const QString& title, double from, double to) {
    auto* a = new QValueAxis;
    a->setTitleText(title);
    const pictures::AxisScale scale = pictures::axisScale(from, to);
    a->setRange(scale.from, scale.to);
    a->setReverse(from > to);
    a->setLabelFormat(QStringLiteral("%.%1g").arg(scale.digits));
    // Ticks at round values, the range itself kept exact.
    a->setTickType(QValueAxis::TicksDynamic);
    a->setTickAnchor(scale.anchor);
    a->setTickInterval(scale.step);
    return a;
}

ChartCanvas::ChartCanvas(const QString& title, QSize size) {
    scene.addItem(chart);
    chart->setTitle(title);
    QFont font = chart->titleFont();
    font.setPointSizeF(font.pointSizeF() * 1.4);
    font.setBold(true);
    chart->setTitleFont(font);
    chart->setBackgroundVisible(false);
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setGeometry(QRectF(QPointF(0, 0), size));
}

QValueAxis* ChartCanvas::axis(const QString& title, Qt::Alignment where, double from, double to) {
    QValueAxis* a = valueAxis(title, from, to);
    chart->addAxis(a, where);
    return a;
}

void ChartCanvas::layOut() {
    QCoreApplication::processEvents();
    scene.setSceneRect(chart->geometry());
}

void attach(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y) {
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

}  // namespace veltrano::drawing
