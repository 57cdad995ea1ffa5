#include "convergence_view.h"

#include <QChart>
#include <QChartView>
#include <QLegendMarker>
#include <QLocale>
#include <QLogValueAxis>
#include <QVBoxLayout>
#include <cmath>

#include "line_chart_picture.h"

namespace veltrano::point_panel {

namespace {

// New rows are drawn together at most this often: a chart of a few
// thousand points takes milliseconds to build.
constexpr int kRedrawMs = 150;

}  // namespace

ConvergenceView::ConvergenceView(QWidget* parent) : QWidget(parent), view_(new QChartView(this)) {
    view_->setRenderHint(QPainter::Antialiasing);
    view_->setFocusPolicy(Qt::StrongFocus);
    view_->setAccessibleName(tr("Convergence of λ1, λ2, λ3"));
    setFocusProxy(view_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    pending_.setSingleShot(true);
    pending_.setInterval(kRedrawMs);
    connect(&pending_, &QTimer::timeout, this, &ConvergenceView::redraw);
    redraw();
}

void ConvergenceView::clear() {
    kept_.clear();
    newest_.reset();
    lastFed_ = 0;
    picture_ = {};
    errors_ = false;
    pending_.stop();
    redraw();
}

void ConvergenceView::append(std::span<const HistoryRow> kept, const std::optional<HistoryRow>& newest, bool errors) {
    errors_ = errors;
    kept_.insert(kept_.end(), kept.begin(), kept.end());
    newest_ = newest;
    // The picture keeps its own rows by the same rule: it is given each row
    // once, in order.
    const auto feed = [this](const HistoryRow& row) {
        if (row.interval <= lastFed_ || !row.spectrum.empty()) return;
        lastFed_ = row.interval;
        picture_.add(row.interval, row.t, row.expo, row.halfWidth);
    };
    for (const HistoryRow& row : kept) feed(row);
    if (newest) feed(*newest);
    if (!pending_.isActive()) pending_.start();
}

std::vector<HistoryRow> ConvergenceView::rows() const {
    std::vector<HistoryRow> rows = kept_;
    if (newest_ && (rows.empty() || rows.back().interval != newest_->interval)) rows.push_back(*newest_);
    return rows;
}

void ConvergenceView::redraw() {
    pending_.stop();
    auto* chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    // On white, as the pictures are.
    chart->setBackgroundBrush(Qt::white);
    chart->setBackgroundRoundness(0);
    const bool flow = newest_ && !newest_->spectrum.empty();
    view_->setAccessibleName(flow ? tr("Convergence of λ1 … λ%1").arg(newest_->spectrum.size())
                                  : tr("Convergence of λ1, λ2, λ3"));
    if (!picture_.empty() || flow) {
        pictures::LineChart data = flow ? flowChart() : picture_.chart(std::string());
        data.title.clear();  // the panel names the point beside the chart
        // The axes in the window's language (the tool's pictures stay English).
        data.xTitle = tr("t (logarithmic)").toStdString();
        data.yTitle = tr("estimate of λ").toStdString();
        drawing::buildLineChart(*chart, data);
    }
    QChart* old = view_->chart();
    view_->setChart(chart);
    delete old;  // the view gives the previous chart back
    fitLabels();
    describe();
}

pictures::LineChart ConvergenceView::flowChart() const {
    const std::vector<HistoryRow> all = rows();
    const std::size_t k = newest_->spectrum.size();
    bool bars = false;
    for (const HistoryRow& row : all) bars = bars || !row.spectrumHalfWidth.empty();
    pictures::LineChart chart;
    chart.logX = true;
    for (std::size_t j = 0; j < k; ++j) {
        pictures::Curve curve{QStringLiteral("λ%1").arg(j + 1).toStdString(), {}, {}, {}, {}};
        for (const HistoryRow& row : all) {
            if (row.spectrum.size() != k) continue;
            curve.x.push_back(row.t);
            curve.y.push_back(row.spectrum[j]);
            if (!bars) continue;
            const bool known = row.spectrumHalfWidth.size() == k;
            curve.low.push_back(known ? row.spectrum[j] - row.spectrumHalfWidth[j] : std::nan(""));
            curve.high.push_back(known ? row.spectrum[j] + row.spectrumHalfWidth[j] : std::nan(""));
        }
        chart.curves.push_back(std::move(curve));
    }
    return chart;
}

QChart* ConvergenceView::chart() const {
    return view_->chart();
}

void ConvergenceView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitLabels();
}

void ConvergenceView::fitLabels() {
    QChart* chart = view_->chart();
    if (!chart) return;
    bool bands = false;
    for (QAbstractSeries* series : chart->series())
        if (series->type() == QAbstractSeries::SeriesTypeArea) {
            bands = true;
            for (QLegendMarker* marker : chart->legend()->markers(series)) marker->setVisible(false);
        }
    chart->setTitle(bands ? tr("shaded: 95 % intervals") : QString());
    // The plot area before the chart is first laid out: the view less the
    // room of the y axis' labels.
    const double width = std::max(1.0, view_->width() - 110.0);
    for (QAbstractAxis* axis : chart->axes(Qt::Horizontal)) {
        auto* log = qobject_cast<QLogValueAxis*>(axis);
        if (!log || !(log->min() > 0) || !(log->max() > log->min())) continue;
        const QFontMetricsF fm(log->labelsFont());
        const double decades = std::log10(log->max() / log->min());
        double widest = 0;
        for (double v : {log->min(), log->max()})
            widest = std::max(widest, fm.horizontalAdvance(QString::asprintf("%g", std::pow(10.0, std::floor(std::log10(v))))));
        widest += fm.horizontalAdvance(QStringLiteral("  "));
        const int every = std::clamp(static_cast<int>(std::ceil(widest * decades / width)), 1, 20);
        log->setBase(std::pow(10.0, every));
        log->setMinorTickCount(every == 1 ? 8 : every - 1);
    }
}

void ConvergenceView::describe() {
    if (!newest_) {
        view_->setAccessibleDescription(tr("No estimates yet"));
        return;
    }
    const QLocale locale = QLocale::c();  // the point, as every number the program writes
    QString text = tr("At t = %1, interval %2:").arg(locale.toString(newest_->t, 'g', 8),
                                                     locale.toString(static_cast<qlonglong>(newest_->interval)));
    if (!newest_->spectrum.empty()) {
        const std::vector<double>& s = newest_->spectrum;
        for (std::size_t k = 0; k < s.size(); ++k) {
            text += QStringLiteral(" λ%1 = %2").arg(k + 1).arg(locale.toString(s[k], 'g', 6));
            if (newest_->spectrumHalfWidth.size() == s.size())
                text += QStringLiteral(" ± ") + locale.toString(newest_->spectrumHalfWidth[k], 'g', 2);
            text += k + 1 < s.size() ? QStringLiteral(",") : QStringLiteral(".");
        }
        if (!errors_) text += QLatin1Char(' ') + tr("Error bars are off.");
        view_->setAccessibleDescription(text);
        return;
    }
    for (std::size_t k = 0; k < 3; ++k) {
        text += QStringLiteral(" λ%1 = %2").arg(k + 1).arg(locale.toString(newest_->expo[k], 'g', 6));
        if (newest_->halfWidth) text += QStringLiteral(" ± ") + locale.toString((*newest_->halfWidth)[k], 'g', 2);
        text += k < 2 ? QStringLiteral(",") : QStringLiteral(".");
    }
    if (!errors_) text += QLatin1Char(' ') + tr("Error bars are off.");
    view_->setAccessibleDescription(text);
}

}  // namespace veltrano::point_panel
