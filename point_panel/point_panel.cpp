#include "point_panel.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>

#include "attractor_view.h"
#include "batch_means.h"
#include "convergence_view.h"
#include "kaplan_yorke.h"
#include "point_job.h"
#include "trace_check.h"

namespace veltrano::point_panel {

namespace {

// How often the panel shows what the run has reached.
constexpr int kRefreshMs = 40;

QLabel* valueLabel(QWidget* parent, const QString& name, const QString& description, const char* objectName) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFocusPolicy(Qt::StrongFocus);
    label->setAccessibleName(name);
    label->setAccessibleDescription(description);
    return label;
}

QString number(double value, int digits) {
    return QLocale().toString(value, 'g', digits);
}

}  // namespace

PointPanel::PointPanel(QWidget* parent) : QWidget(parent) {
    setWindowTitle(tr("A point"));

    auto* values = new QGroupBox(tr("The point"), this);
    // Room for the longest value: a negative estimate with its half-width.
    values->setMinimumWidth(fontMetrics().horizontalAdvance(tr("Kaplan–Yorke dimension") +
                                                            QStringLiteral("  −14.5762843 ± 0.0013  ")) + 24);
    auto* form = new QFormLayout(values);
    sigma_ = valueLabel(values, QStringLiteral("σ"), tr("The parameter σ of the point"), "sigma");
    r_ = valueLabel(values, QStringLiteral("R"), tr("The parameter R of the point"), "r");
    b_ = valueLabel(values, QStringLiteral("b"), tr("The parameter b of the point"), "b");
    const char* lambdaNames[] = {"lambda1", "lambda2", "lambda3"};
    for (int k = 0; k < 3; ++k) {
        const QString name = QStringLiteral("λ%1").arg(k + 1);
        lambda_[k] = valueLabel(values, name, tr("The estimate of %1 and, with error bars, its 95 % half-width").arg(name),
                                lambdaNames[k]);
    }
    dimension_ = valueLabel(values, tr("Kaplan–Yorke dimension"), tr("The Kaplan–Yorke dimension of the estimates"),
                            "dimension");
    time_ = valueLabel(values, QStringLiteral("t"), tr("The time the run has reached"), "time");
    status_ = valueLabel(values, tr("Status"), tr("ok, error, inconsistent, or how far the run is"), "status");
    status_->setWordWrap(true);
    form->addRow(QStringLiteral("σ"), sigma_);
    form->addRow(QStringLiteral("R"), r_);
    form->addRow(QStringLiteral("b"), b_);
    for (int k = 0; k < 3; ++k) form->addRow(QStringLiteral("λ%1").arg(k + 1), lambda_[k]);
    form->addRow(tr("Kaplan–Yorke dimension"), dimension_);
    form->addRow(QStringLiteral("t"), time_);
    form->addRow(tr("Status"), status_);
    errorsNote_ = new QLabel(this);
    errorsNote_->setObjectName(QStringLiteral("errorsNote"));

    stop_ = new QPushButton(tr("&Stop"), this);
    stop_->setObjectName(QStringLiteral("stop"));
    stop_->setAccessibleDescription(tr("Stops the run of this point"));
    stop_->setEnabled(false);
    connect(stop_, &QPushButton::clicked, this, &PointPanel::cancel);

    auto* projectionBox = new QGroupBox(tr("Projection"), this);
    auto* projectionRow = new QHBoxLayout(projectionBox);
    projections_ = new QButtonGroup(this);
    const std::pair<Projection, QString> planes[] = {
        {Projection::XZ, tr("x–z")}, {Projection::XY, tr("x–y")}, {Projection::YZ, tr("y–z")}};
    for (const auto& [plane, text] : planes) {
        auto* button = new QRadioButton(text, projectionBox);
        button->setObjectName(QStringLiteral("projection%1").arg(static_cast<int>(plane)));
        button->setChecked(plane == Projection::XZ);
        projections_->addButton(button, static_cast<int>(plane));
        projectionRow->addWidget(button);
    }

    convergence_ = new ConvergenceView(this);
    convergence_->setObjectName(QStringLiteral("convergence"));
    attractor_ = new AttractorView(this);
    attractor_->setObjectName(QStringLiteral("attractor"));
    connect(projections_, &QButtonGroup::idClicked, this,
            [this](int id) { attractor_->setProjection(static_cast<Projection>(id)); });

    auto* side = new QVBoxLayout;
    side->addWidget(values);
    side->addWidget(errorsNote_);
    side->addWidget(projectionBox);
    side->addWidget(stop_, 0, Qt::AlignLeft);
    side->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(side);
    layout->addWidget(convergence_, 1);
    layout->addWidget(attractor_, 1);

    setTabOrder(stop_, projections_->button(static_cast<int>(Projection::XZ)));
    timer_.setInterval(kRefreshMs);
    connect(&timer_, &QTimer::timeout, this, &PointPanel::refresh);
    showParameters();
}

PointPanel::~PointPanel() {
    // Every job stops within a few thousand steps; their threads end here.
    if (job_) job_->cancel();
    for (auto& job : stopping_) job->cancel();
}

void PointPanel::question(const FlowParameters& p, const RunSettings& s) {
    if (job_) {
        // The old run ends on its own thread; the panel does not wait for it.
        job_->cancel();
        stopping_.push_back(std::move(job_));
    }
    ++generation_;
    point_ = p;
    settings_ = s;
    result_.reset();
    newest_.reset();
    stride_ = 1;
    convergence_->clear();
    attractor_->clear();
    showParameters();
    job_ = std::make_unique<PointJob>(generation_, p, s);
    stop_->setEnabled(true);
    status_->setText(tr("computing…"));
    timer_.start();
}

void PointPanel::cancel() {
    if (job_) job_->cancel();
}

bool PointPanel::running() const {
    return job_ && !result_ && timer_.isActive();
}

std::vector<HistoryRow> PointPanel::historyRows() const {
    return convergence_->rows();
}

std::span<const Triple> PointPanel::attractorStates() const {
    return attractor_->states();
}

void PointPanel::reap() {
    std::erase_if(stopping_, [](const std::unique_ptr<PointJob>& job) { return job->finished(); });
}

void PointPanel::refresh() {
    reap();
    if (!job_ || job_->generation() != generation_) return;  // only the last question is ever shown
    PointJob::Update update = job_->take();
    if (!update.rows.empty() || update.newest != newest_) {
        newest_ = update.newest;
        convergence_->append(update.rows, newest_, settings_.errors);
        if (newest_) showEstimates(newest_->expo, newest_->halfWidth);
    }
    if (update.statesRestart || !update.states.empty()) {
        stride_ = update.stride;
        attractor_->append(update.states, update.statesRestart, update.stride);
    }
    if (update.finished) {
        timer_.stop();
        stop_->setEnabled(false);
        showEnd(update.cancelled, update.result);
        convergence_->redraw();
        job_->wait();
        job_.reset();
        emit finished();
    } else if (newest_) {
        status_->setText(tr("computing… interval %1 of %2")
                             .arg(QLocale().toString(static_cast<qlonglong>(newest_->interval)),
                                  QLocale().toString(static_cast<qlonglong>(settings_.intervals))));
    }
}

void PointPanel::showParameters() {
    // The shortest text that reads back as the same double.
    sigma_->setText(number(point_.sv, QLocale::FloatingPointShortest));
    r_->setText(number(point_.rv, QLocale::FloatingPointShortest));
    b_->setText(number(point_.bv, QLocale::FloatingPointShortest));
    for (QLabel* label : lambda_) label->setText(QString());
    dimension_->setText(QString());
    time_->setText(QString());
    status_->setText(QString());
    errorsNote_->setText(settings_.errors ? QString() : tr("Error bars are off."));
}

void PointPanel::showEstimates(const Triple& expo, const std::optional<Triple>& halfWidth) {
    for (int k = 0; k < 3; ++k) {
        QString text = number(expo[static_cast<std::size_t>(k)], 8);
        if (halfWidth) text += QStringLiteral(" ± ") + number((*halfWidth)[static_cast<std::size_t>(k)], 2);
        else if (settings_.errors) text += QStringLiteral(" ± …");
        lambda_[k]->setText(text);
    }
    if (settings_.errors)
        errorsNote_->setText(halfWidth ? tr("± 95 % half-width, batches of %1 intervals")
                                             .arg(QLocale().toString(static_cast<qlonglong>(settings_.batch)))
                                       : tr("± once %1 batches of %2 intervals are complete")
                                             .arg(BatchMeans::kMinBatches)
                                             .arg(QLocale().toString(static_cast<qlonglong>(settings_.batch))));
    if (newest_) time_->setText(number(newest_->t, 10));
}

void PointPanel::showEnd(bool cancelled, const PointResult& result) {
    if (cancelled) {
        status_->setText(newest_ ? tr("stopped: the estimates of interval %1 of %2")
                                       .arg(QLocale().toString(static_cast<qlonglong>(newest_->interval)),
                                            QLocale().toString(static_cast<qlonglong>(settings_.intervals)))
                                 : tr("stopped before the first measured interval"));
        return;
    }
    result_ = result;
    time_->setText(number(result.t, 10));
    switch (statusOf(result, point_, settings_)) {
        case PointStatus::Error:
            for (QLabel* label : lambda_) label->setText(QStringLiteral("?"));
            dimension_->setText(QStringLiteral("?"));
            status_->setText(tr("error: an arithmetic fault stopped the run at t = %1").arg(number(result.t, 10)));
            return;
        case PointStatus::Inconsistent:
            status_->setText(tr("inconsistent: λ1 + λ2 + λ3 is %1 away from −(σ + 1 + b)")
                                 .arg(number(traceGap(result, point_), 3)));
            break;
        case PointStatus::Ok:
            status_->setText(tr("ok"));
            break;
    }
    showEstimates(result.expo, result.errorsKnown ? std::optional<Triple>(result.halfWidth) : std::nullopt);
    dimension_->setText(number(kaplanYorke(result.expo), 6));
}

void PointPanel::closeEvent(QCloseEvent* event) {
    cancel();
    QWidget::closeEvent(event);
}

void PointPanel::showEvent(QShowEvent* event) {
    // Closing the window the panel lives in stops its run as well.
    if (QWidget* top = window(); top != this && top != watchedWindow_) {
        if (watchedWindow_) watchedWindow_->removeEventFilter(this);
        watchedWindow_ = top;
        top->installEventFilter(this);
    }
    QWidget::showEvent(event);
}

bool PointPanel::eventFilter(QObject* watched, QEvent* event) {
    if (watched == watchedWindow_ && event->type() == QEvent::Close) cancel();
    return QWidget::eventFilter(watched, event);
}

}  // namespace veltrano::point_panel
