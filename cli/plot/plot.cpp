#include "plot.h"

#include <QApplication>
#include <QAreaSeries>
#include <QChart>
#include <QFile>
#include <QGraphicsScene>
#include <QImage>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QPainter>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QValueAxis>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>

namespace veltrano::plot {

namespace {

constexpr QSize kLineSize(960, 720);
constexpr QSize kMapSize(960, 760);

// Charts need an application object; a command-line tool has none and no
// display, so it gets one on Qt's offscreen platform while it draws. Qt's
// notes about its environment are not the tool's business: standard error
// carries errors only.
class Application {
public:
    Application() {
        if (QCoreApplication::instance()) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        previous_ = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
            if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
        });
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    ~Application() {
        app_.reset();
        if (previous_) qInstallMessageHandler(previous_);
    }
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

private:
    int argc_ = 1;
    char name_[13] = "veltrano-cli";
    char* argv_[2] = {name_, nullptr};
    QtMessageHandler previous_ = nullptr;
    std::unique_ptr<QApplication> app_;
};

QString text(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

bool isSvg(const std::string& path) {
    return path.size() >= 4 && QString::fromStdString(path.substr(path.size() - 4)).toLower() == ".svg";
}

// Paints a picture of `size` into the file, as SVG or PNG.
template <class Paint>
std::string render(const std::string& path, QSize size, const QString& title, Paint&& paint) {
    const QString file = text(path);
    {
        QFile probe(file);  // the generators report nothing when they cannot write
        if (!probe.open(QIODevice::WriteOnly)) return "cannot write " + path + ": " + probe.errorString().toStdString();
    }
    if (isSvg(path)) {
        QSvgGenerator svg;
        svg.setFileName(file);
        svg.setSize(size);
        svg.setViewBox(QRect(QPoint(0, 0), size));
        svg.setTitle(title);
        QPainter painter(&svg);
        painter.fillRect(QRect(QPoint(0, 0), size), Qt::white);
        paint(painter);
        return painter.end() ? std::string() : "cannot write " + path;
    }
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter);
    painter.end();
    return image.save(file, "PNG") ? std::string() : "cannot write " + path;
}

// A chart on a scene of its own, laid out at `size`.
struct Canvas {
    QGraphicsScene scene;
    QChart* chart = new QChart;

    Canvas(const QString& title, QSize size) {
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

    QValueAxis* axis(const QString& title, Qt::Alignment where, double from, double to) {
        auto* a = new QValueAxis;
        a->setTitleText(title);
        if (from == to) from -= 0.5, to += 0.5;
        a->setRange(std::min(from, to), std::max(from, to));
        a->setReverse(from > to);
        a->setLabelFormat(QStringLiteral("%.4g"));
        // Ticks at round values from 0, the range itself kept exact.
        const double raw = std::fabs(to - from) / 5;
        const double decade = std::pow(10.0, std::floor(std::log10(raw)));
        const double step = raw / decade < 2 ? decade : raw / decade < 5 ? 2 * decade : 5 * decade;
        a->setTickType(QValueAxis::TicksDynamic);
        a->setTickAnchor(0.0);
        a->setTickInterval(step);
        chart->addAxis(a, where);
        return a;
    }

    void layOut() {
        // Lays out the axes and the plot area for the final size.
        QCoreApplication::processEvents();
        scene.setSceneRect(chart->geometry());
    }
};

void attach(QChart* chart, QAbstractSeries* series, QAbstractAxis* x, QAbstractAxis* y) {
    chart->addSeries(series);
    series->attachAxis(x);
    series->attachAxis(y);
}

std::pair<double, double> rangeOf(const std::vector<double>& values) {
    double lo = INFINITY, hi = -INFINITY;
    for (double v : values)
        if (std::isfinite(v)) lo = std::min(lo, v), hi = std::max(hi, v);
    if (lo > hi) return {0, 1};
    return {lo, hi};
}

// A diverging scale centred on 0: cool blue below, a light neutral at 0,
// warm red above; v is in -1 .. 1.
QColor diverging(double v) {
    const QColor cold(59, 76, 192), middle(221, 221, 221), warm(180, 4, 38);
    const QColor& end = v < 0 ? cold : warm;
    const double a = std::min(1.0, std::fabs(v));
    const auto mix = [a](int from, int to) { return static_cast<int>(std::lround(from + (to - from) * a)); };
    return QColor(mix(middle.red(), end.red()), mix(middle.green(), end.green()), mix(middle.blue(), end.blue()));
}

const QColor kMissing(150, 150, 150);

}  // namespace

namespace {

std::string write(const LineChart& chart, const std::string& path) {
    const Application application;
    Canvas canvas(text(chart.title), kLineSize);
    std::vector<double> xs, ys;
    for (const Curve& c : chart.curves) {
        xs.insert(xs.end(), c.x.begin(), c.x.end());
        ys.insert(ys.end(), c.y.begin(), c.y.end());
        ys.insert(ys.end(), c.low.begin(), c.low.end());
        ys.insert(ys.end(), c.high.begin(), c.high.end());
    }
    xs.insert(xs.end(), chart.marksX.begin(), chart.marksX.end());
    ys.insert(ys.end(), chart.marksY.begin(), chart.marksY.end());
    const auto [x0, x1] = rangeOf(xs);
    const auto [y0, y1] = rangeOf(ys);
    const double pad = (y1 - y0) * 0.04;
    QAbstractAxis* x = nullptr;
    if (chart.logX) {
        auto* logAxis = new QLogValueAxis;
        logAxis->setTitleText(text(chart.xTitle));
        logAxis->setBase(10);
        logAxis->setLabelFormat(QStringLiteral("%g"));
        logAxis->setMinorTickCount(8);
        logAxis->setRange(x0, x1);
        canvas.chart->addAxis(logAxis, Qt::AlignBottom);
        x = logAxis;
    } else {
        x = canvas.axis(text(chart.xTitle), Qt::AlignBottom, x0, x1);
    }
    QValueAxis* y = canvas.axis(text(chart.yTitle), Qt::AlignLeft, y0 - pad, y1 + pad);
    const QColor colours[] = {QColor(200, 40, 40), QColor(40, 120, 40), QColor(40, 70, 190), QColor(120, 60, 160)};
    // Bands first, under every line.
    for (std::size_t i = 0; i < chart.curves.size(); ++i) {
        const Curve& c = chart.curves[i];
        if (c.low.size() != c.x.size() || c.high.size() != c.x.size() || c.x.empty()) continue;
        // The area does not own its edges: they are its children.
        auto* band = new QAreaSeries;
        auto* low = new QLineSeries(band);
        auto* high = new QLineSeries(band);
        for (std::size_t k = 0; k < c.x.size(); ++k)
            if (std::isfinite(c.low[k]) && std::isfinite(c.high[k])) {
                low->append(c.x[k], c.low[k]);
                high->append(c.x[k], c.high[k]);
            }
        band->setUpperSeries(high);
        band->setLowerSeries(low);
        band->setName(text(c.name + " 95 %"));
        QColor fill = colours[i % 4];
        fill.setAlpha(60);
        band->setBrush(fill);
        band->setPen(Qt::NoPen);
        attach(canvas.chart, band, x, y);
    }
    for (std::size_t i = 0; i < chart.curves.size(); ++i) {
        const Curve& c = chart.curves[i];
        auto* series = new QLineSeries;
        series->setName(text(c.name));
        QList<QPointF> points;
        points.reserve(static_cast<qsizetype>(c.x.size()));
        for (std::size_t k = 0; k < c.x.size(); ++k)
            if (std::isfinite(c.y[k])) points.append(QPointF(c.x[k], c.y[k]));
        series->replace(points);
        series->setPen(QPen(colours[i % 4], 2));
        attach(canvas.chart, series, x, y);
    }
    if (!chart.marksX.empty()) {
        auto* marks = new QScatterSeries;
        marks->setName(text(chart.marksName));
        marks->setMarkerShape(QScatterSeries::MarkerShapeRectangle);
        marks->setMarkerSize(7);
        marks->setColor(kMissing);
        marks->setBorderColor(Qt::black);
        QList<QPointF> points;
        for (std::size_t k = 0; k < chart.marksX.size(); ++k) points.append(QPointF(chart.marksX[k], chart.marksY[k]));
        marks->replace(points);
        attach(canvas.chart, marks, x, y);
    }
    canvas.chart->legend()->setAlignment(Qt::AlignBottom);
    canvas.layOut();
    return render(path, kLineSize, text(chart.title), [&](QPainter& p) { canvas.scene.render(&p); });
}

std::string write(const HeatMap& map, const std::string& path) {
    const Application application;
    Canvas canvas(text(map.title), kMapSize);
    canvas.chart->setMargins(QMargins(10, 10, 150, 10));  // room for the colour bar
    QValueAxis* x = canvas.axis(text(map.xTitle), Qt::AlignBottom, map.xFrom, map.xTo);
    QValueAxis* y = canvas.axis(text(map.yTitle), Qt::AlignLeft, map.yFrom, map.yTo);
    x->setGridLineVisible(false);
    y->setGridLineVisible(false);
    // The axes are drawn for a series; this one shows nothing.
    auto* corners = new QScatterSeries;
    corners->append(map.xFrom, map.yFrom);
    corners->append(map.xTo, map.yTo);
    corners->setMarkerSize(0);
    corners->setColor(Qt::transparent);
    corners->setBorderColor(Qt::transparent);
    attach(canvas.chart, corners, x, y);
    canvas.chart->legend()->hide();
    canvas.chart->setPlotAreaBackgroundVisible(false);
    canvas.layOut();

    const auto [lo, hi] = rangeOf(map.values);
    double limit = std::max(std::fabs(lo), std::fabs(hi));
    if (!(limit > 0)) limit = 1;
    bool missing = false;
    QImage cells(std::max(1, map.columns), std::max(1, map.rows), QImage::Format_RGB32);
    for (int r = 0; r < map.rows; ++r)
        for (int c = 0; c < map.columns; ++c) {
            const double v = map.values[static_cast<std::size_t>(r) * static_cast<std::size_t>(map.columns) +
                                        static_cast<std::size_t>(c)];
            missing |= !std::isfinite(v);
            cells.setPixelColor(c, map.rows - 1 - r, std::isfinite(v) ? diverging(v / limit) : kMissing);
        }
    // The axes run from the first to the last value: cells are centred on
    // their values, so the picture spans half a cell more on each side.
    const QRectF area = canvas.chart->plotArea();
    const double cw = map.columns > 1 ? area.width() / (map.columns - 1) : area.width();
    const double rh = map.rows > 1 ? area.height() / (map.rows - 1) : area.height();
    const QRectF picture = map.columns > 1 || map.rows > 1
                               ? area.adjusted(map.columns > 1 ? -cw / 2 : 0, map.rows > 1 ? -rh / 2 : 0,
                                               map.columns > 1 ? cw / 2 : 0, map.rows > 1 ? rh / 2 : 0)
                               : area;

    return render(path, kMapSize, text(map.title), [&](QPainter& p) {
        p.save();
        p.setClipRect(area);
        p.setRenderHint(QPainter::SmoothPixmapTransform, false);
        // Scaled here, cell edges kept sharp, so that SVG viewers need not.
        p.drawImage(picture.topLeft(), cells.scaled(picture.size().toSize(), Qt::IgnoreAspectRatio,
                                                     Qt::FastTransformation));
        p.restore();
        canvas.scene.render(&p);

        // The colour bar: the scale from +limit at the top to -limit.
        const QRectF bar(area.right() + 40, area.top(), 22, area.height());
        for (int i = 0; i < static_cast<int>(bar.height()); ++i)
            p.fillRect(QRectF(bar.left(), bar.top() + i, bar.width(), 1.0),
                       diverging(1.0 - 2.0 * i / std::max(1.0, bar.height() - 1)));
        p.setPen(Qt::black);
        p.drawRect(bar);
        QFont font = canvas.chart->titleFont();
        font.setPointSizeF(font.pointSizeF() / 1.4);
        font.setBold(false);
        p.setFont(font);
        for (int k = 0; k <= 4; ++k) {
            const double v = limit * (1.0 - k / 2.0);
            const double yk = bar.top() + bar.height() * k / 4.0;
            p.drawLine(QPointF(bar.right(), yk), QPointF(bar.right() + 5, yk));
            p.drawText(QPointF(bar.right() + 8, yk + 4), QString::number(v, 'g', 3));
        }
        p.drawText(QRectF(bar.left() - 20, bar.top() - 28, 80, 20), Qt::AlignCenter, text(map.valueTitle));
        if (missing) {
            const QRectF swatch(bar.left(), bar.bottom() + 16, 14, 14);
            p.fillRect(swatch, kMissing);
            p.drawRect(swatch);
            p.drawText(QPointF(swatch.right() + 6, swatch.bottom() - 2), text(map.missingName));
        }
    });
}

int report(const std::string& error, char* out, unsigned long size) {
    if (error.empty()) return 0;
    if (size > 0) {
        const std::size_t n = std::min<std::size_t>(error.size(), size - 1);
        error.copy(out, n);
        out[n] = '\0';
    }
    return 1;
}

}  // namespace

}  // namespace veltrano::plot

extern "C" __attribute__((visibility("default"))) int veltrano_plot_line_chart(const veltrano::plot::LineChart* chart,
                                                                                const char* path, char* error,
                                                                                unsigned long errorSize) {
    return veltrano::plot::report(veltrano::plot::write(*chart, path), error, errorSize);
}

extern "C" __attribute__((visibility("default"))) int veltrano_plot_heat_map(const veltrano::plot::HeatMap* map,
                                                                              const char* path, char* error,
                                                                              unsigned long errorSize) {
    return veltrano::plot::report(veltrano::plot::write(*map, path), error, errorSize);
}
