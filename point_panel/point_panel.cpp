#include "point_panel.h"

#include <QBoxLayout>
#include <QButtonGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "attractor_view.h"
#include "batch_means.h"
#include "convergence_view.h"
#include "kaplan_yorke.h"
#include "number_text.h"
#include "point_job.h"
#include "system_description.h"
#include "system_status.h"
#include "trace_check.h"

namespace veltrano::point_panel {

namespace {

// How often the panel shows what the run has reached.
constexpr int kRefreshMs = 40;

// A value a screen reader reads as the calculator's result fields are read:
// the value as the name, what it is as the description.
QLabel* valueLabel(QWidget* parent, const QString& description, const char* objectName) {
    auto* label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setFocusPolicy(Qt::StrongFocus);
    label->setAccessibleDescription(description);
    return label;
}

void setValue(QLabel* label, const QString& text) {
    label->setText(text);
    label->setAccessibleName(text);
}

// Numbers are written with the point, as everywhere in the program.
QString number(double value, int digits) {
    return QString::number(value, 'g', digits);
}

QString whole(std::int64_t value) {
    return QString::number(value);
}

}  // namespace

PointPanel::PointPanel(QWidget* parent) : QWidget(parent) {
    setWindowTitle(tr("A point"));

    auto* values = new QGroupBox(tr("The point"), this);
    // Room for the longest value: a negative estimate with its half-width.
    values->setMinimumWidth(fontMetrics().horizontalAdvance(tr("Kaplan–Yorke dimension") +
                                                            QStringLiteral("  −14.5762843 ± 0.0013  ")) + 24);
    auto* form = new QFormLayout(values);
    form_ = form;
    parameters_ = valueLabel(values, tr("The parameters of the point"), "parameters");
    moreLambdas_ = valueLabel(values, tr("The estimates of the exponents after λ3"), "moreLambdas");
    moreLambdas_->setWordWrap(true);
    sigma_ = valueLabel(values, tr("The parameter σ of the point"), "sigma");
    r_ = valueLabel(values, tr("The parameter R of the point"), "r");
    b_ = valueLabel(values, tr("The parameter b of the point"), "b");
    const char* lambdaNames[] = {"lambda1", "lambda2", "lambda3"};
    for (int k = 0; k < 3; ++k)
        lambda_[k] = valueLabel(
            values,
            tr("The estimate of %1 and, with error bars, its 95 % half-width").arg(QStringLiteral("λ%1").arg(k + 1)),
            lambdaNames[k]);
    dimension_ = valueLabel(values, tr("The Kaplan–Yorke dimension of the estimates"), "dimension");
    time_ = valueLabel(values, tr("The time the run has reached"), "time");
    status_ = valueLabel(values, tr("The status of the run: ok, error, inconsistent, or how far it is"), "status");
    status_->setWordWrap(true);
    form->addRow(QStringLiteral("σ"), sigma_);
    form->addRow(QStringLiteral("R"), r_);
    form->addRow(QStringLiteral("b"), b_);
    form->addRow(tr("Parameters"), parameters_);
    for (int k = 0; k < 3; ++k) form->addRow(QStringLiteral("λ%1").arg(k + 1), lambda_[k]);
    form->addRow(QStringLiteral("λ4 …"), moreLambdas_);
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

    // Of a flow: any two of its variables.
    variablesBox_ = new QGroupBox(tr("Projection"), this);
    auto* variablesRow = new QHBoxLayout(variablesBox_);
    across_ = new QComboBox(variablesBox_);
    across_->setObjectName(QStringLiteral("projectionAcross"));
    across_->setAccessibleName(tr("Projection across"));
    up_ = new QComboBox(variablesBox_);
    up_->setObjectName(QStringLiteral("projectionUp"));
    up_->setAccessibleName(tr("Projection up"));
    auto* acrossLabel = new QLabel(tr("Acr&oss"), variablesBox_);
    acrossLabel->setBuddy(across_);
    auto* upLabel = new QLabel(tr("U&p"), variablesBox_);
    upLabel->setBuddy(up_);
    variablesRow->addWidget(acrossLabel);
    variablesRow->addWidget(across_, 1);
    variablesRow->addWidget(upLabel);
    variablesRow->addWidget(up_, 1);
    for (QComboBox* box : {across_, up_})
        connect(box, &QComboBox::currentIndexChanged, this, [this] {
            if (flow_ && across_->currentIndex() >= 0 && up_->currentIndex() >= 0) {
                attractor_->setCoordinateNames(across_->currentText(), up_->currentText(), QString());
                attractor_->append(projectedStates(0), true, stride_);
            }
        });

    auto* projectionBox = new QGroupBox(tr("Projection"), this);
    projectionBox_ = projectionBox;
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
    side->addWidget(variablesBox_);
    side->addWidget(stop_, 0, Qt::AlignLeft);
    side->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(side);
    layout->addWidget(convergence_, 1);
    layout->addWidget(attractor_, 1);

    setTabOrder(stop_, projections_->button(static_cast<int>(Projection::XZ)));
    timer_.setInterval(kRefreshMs);
    connect(&timer_, &QTimer::timeout, this, &PointPanel::refresh);
    showFlowControls();
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
    flow_.reset();
    flowStates_.clear();
    showFlowControls();
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
    setValue(status_, tr("computing…"));
    timer_.start();
}

void PointPanel::question(const FlowPoint& flow) {
    if (job_) {
        job_->cancel();
        stopping_.push_back(std::move(job_));
    }
    ++generation_;
    flow_ = flow;
    flowStates_.clear();
    // The run's settings as the panel words them (n, batches, error bars).
    settings_ = RunSettings{};
    settings_.intervals = flow.settings.intervals;
    settings_.transient = flow.settings.transient;
    settings_.step = flow.settings.step;
    settings_.stepsPerInterval = flow.settings.stepsPerInterval;
    settings_.errors = flow.settings.errors;
    settings_.batch = flow.settings.batch;
    settings_.targetError = flow.settings.targetError;
    showFlowControls();
    result_.reset();
    newest_.reset();
    stride_ = 1;
    convergence_->clear();
    attractor_->clear();
    showParameters();
    job_ = std::make_unique<PointJob>(generation_, flow);
    stop_->setEnabled(true);
    setValue(status_, tr("computing…"));
    timer_.start();
}

void PointPanel::setProjectionVariables(int across, int up) {
    across_->setCurrentIndex(across);
    up_->setCurrentIndex(up);
}

void PointPanel::showFlowControls() {
    const bool flow = flow_.has_value();
    for (QLabel* label : {sigma_, r_, b_}) form_->setRowVisible(label, !flow);
    form_->setRowVisible(parameters_, flow);
    form_->setRowVisible(moreLambdas_, flow && flow_->settings.exponents > 3);
    // Values read by a screen reader only where they are shown.
    parameters_->setFocusPolicy(flow ? Qt::StrongFocus : Qt::NoFocus);
    moreLambdas_->setFocusPolicy(flow && flow_->settings.exponents > 3 ? Qt::StrongFocus : Qt::NoFocus);
    for (std::size_t k = 0; k < 3; ++k) form_->setRowVisible(lambda_[k], !flow || k < flow_->settings.exponents);
    projectionBox_->setVisible(!flow);
    variablesBox_->setVisible(flow);
    if (!flow) {
        attractor_->setCoordinateNames(QStringLiteral("x"), QStringLiteral("y"), QStringLiteral("z"));
        attractor_->setProjection(static_cast<Projection>(std::max(0, projections_->checkedId())));
        return;
    }
    // The variables chosen stay while the points are of the same flow.
    const std::string key = flow_->name + ':' + std::to_string(flow_->dimension);
    attractor_->setProjection(Projection::XY);
    if (key == variablesOf_) {
        attractor_->setCoordinateNames(across_->currentText(), up_->currentText(), QString());
        return;
    }
    variablesOf_ = key;
    const auto description = describe(*flow_);
    const QSignalBlocker blockAcross(across_), blockUp(up_);
    across_->clear();
    up_->clear();
    if (description)
        for (const std::string& v : description->variables) {
            across_->addItem(QString::fromStdString(v));
            up_->addItem(QString::fromStdString(v));
        }
    across_->setCurrentIndex(0);
    // The first two variables at first.
    up_->setCurrentIndex(std::min(1, up_->count() - 1));
    attractor_->setCoordinateNames(across_->currentText(), up_->currentText(), QString());
}

std::vector<Triple> PointPanel::projectedStates(std::size_t first) const {
    std::vector<Triple> states;
    if (!flow_) return states;
    const std::size_t d = flow_->dimension;
    const auto i = static_cast<std::size_t>(std::max(0, across_->currentIndex()));
    const auto j = static_cast<std::size_t>(std::max(0, up_->currentIndex()));
    for (std::size_t s = first; (s + 1) * d <= flowStates_.size(); ++s)
        states.push_back({flowStates_[s * d + i], flowStates_[s * d + j], 0.0});
    return states;
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
    if (flow_ && (update.statesRestart || !update.flowStates.empty())) {
        stride_ = update.stride;
        if (update.statesRestart) flowStates_.clear();
        const std::size_t first = flowStates_.size() / flow_->dimension;
        flowStates_.insert(flowStates_.end(), update.flowStates.begin(), update.flowStates.end());
        attractor_->append(projectedStates(first), update.statesRestart, update.stride);
    } else if (update.statesRestart || !update.states.empty()) {
        stride_ = update.stride;
        attractor_->append(update.states, update.statesRestart, update.stride);
    }
    if (update.finished) {
        timer_.stop();
        stop_->setEnabled(false);
        if (flow_ && !update.cancelled)
            showFlowEnd(*job_, update.result, update.spectrum, update.meanDivergence);
        else
            showEnd(update.cancelled, update.result);
        convergence_->redraw();
        attractor_->settle();
        job_->wait();
        job_.reset();
        emit finished();
    } else if (newest_) {
        setValue(status_, tr("computing… interval %1 of %2").arg(whole(newest_->interval), whole(settings_.intervals)));
    }
}

void PointPanel::showParameters() {
    setValue(parameters_, QString());
    setValue(moreLambdas_, QString());
    if (flow_) {
        const auto description = describe(*flow_);
        QStringList values;
        for (std::size_t i = 0; description && i < description->parameters.size(); ++i)
            values << QStringLiteral("%1 = %2").arg(QString::fromStdString(description->parameters[i].name),
                                                    QString::fromStdString(shortest(flow_->parameters[i])));
        // The flow's name, then its parameters three to a line.
        QString text = description ? QString::fromStdString(description->title) : QString();
        for (qsizetype i = 0; i < values.size(); ++i)
            text += (i % 3 == 0 ? QStringLiteral("\n") : QStringLiteral(", ")) + values[i];
        setValue(parameters_, text);
        setValue(moreLambdas_, QString());
    }
    // The shortest text that reads back as the same double.
    setValue(sigma_, QString::fromStdString(shortest(point_.sv)));
    setValue(r_, QString::fromStdString(shortest(point_.rv)));
    setValue(b_, QString::fromStdString(shortest(point_.bv)));
    for (QLabel* label : lambda_) setValue(label, QString());
    setValue(dimension_, QString());
    setValue(time_, QString());
    setValue(status_, QString());
    errorsNote_->setText(settings_.errors ? QString() : tr("Error bars are off."));
}

void PointPanel::showEstimates(const Triple& expo, const std::optional<Triple>& halfWidth) {
    // The complete batches the whole run will have: with fewer than the
    // least that gives a bar, no bar ever comes and none is promised.
    const std::int64_t batches = settings_.intervals / std::max<std::int64_t>(1, settings_.batch);
    const bool barsCome = settings_.errors && !result_ && batches >= BatchMeans::kMinBatches;
    if (flow_ && newest_ && newest_->spectrum.size() > 3) {
        const std::vector<double>& s = newest_->spectrum;
        const std::vector<double>& w = newest_->spectrumHalfWidth;
        QStringList rest;
        for (std::size_t k = 3; k < s.size(); ++k)
            rest << QStringLiteral("λ%1 = %2%3")
                        .arg(k + 1)
                        .arg(number(s[k], 8))
                        .arg(w.size() == s.size() ? QStringLiteral(" ± ") + number(w[k], 2) : QString());
        setValue(moreLambdas_, rest.join(QStringLiteral(", ")));
    }
    for (int k = 0; k < 3; ++k) {
        QString text = number(expo[static_cast<std::size_t>(k)], 8);
        if (halfWidth) text += QStringLiteral(" ± ") + number((*halfWidth)[static_cast<std::size_t>(k)], 2);
        else if (barsCome)
            text += QStringLiteral(" ± …");
        setValue(lambda_[k], text);
    }
    if (!settings_.errors) {
        errorsNote_->setText(tr("Error bars are off."));
    } else if (halfWidth) {
        errorsNote_->setText(tr("± 95 % half-width, batches of %1 intervals").arg(whole(settings_.batch)));
    } else if (batches < BatchMeans::kMinBatches) {
        errorsNote_->setText(tr("No error bars: they need at least %1 batches, and this run has %2 (n = %3, batches "
                                "of %4 intervals).")
                                 .arg(whole(BatchMeans::kMinBatches), whole(batches), whole(settings_.intervals),
                                      whole(settings_.batch)));
    } else {
        errorsNote_->setText(tr("± once %1 batches of %2 intervals are complete")
                                 .arg(whole(BatchMeans::kMinBatches), whole(settings_.batch)));
    }
    if (newest_) setValue(time_, number(newest_->t, 10));
}

void PointPanel::showFlowEnd(const PointJob&, const PointResult& result, const std::vector<double>& spectrum,
                             double meanDivergence) {
    result_ = result;
    setValue(time_, number(result.t, 10));
    const FlowPoint& flow = *flow_;
    const PointStatus status = systemStatus(result.completed, result.t, spectrum, meanDivergence, flow.dimension,
                                            flow.settings.step, flow.settings.stepsPerInterval);
    switch (status) {
        case PointStatus::Error:
            for (QLabel* label : lambda_) setValue(label, QStringLiteral("?"));
            setValue(dimension_, QStringLiteral("?"));
            setValue(status_, tr("error: an arithmetic fault stopped the run at t = %1").arg(number(result.t, 10)));
            return;
        case PointStatus::Inconsistent: {
            double sum = 0.0;
            for (double e : spectrum) sum = sum + e;
            setValue(status_, tr("inconsistent: the sum of the exponents is %1 away from the mean divergence")
                                  .arg(number(std::fabs(sum - meanDivergence), 3)));
            break;
        }
        case PointStatus::Ok:
            setValue(status_, tr("ok"));
            break;
    }
    showEstimates(result.expo, result.errorsKnown ? std::optional<Triple>(result.halfWidth) : std::nullopt);
    setValue(dimension_, number(kaplanYorke(spectrum), 6));
}

void PointPanel::showEnd(bool cancelled, const PointResult& result) {
    if (cancelled) {
        setValue(status_, newest_ ? tr("stopped: the estimates of interval %1 of %2")
                                        .arg(whole(newest_->interval), whole(settings_.intervals))
                                  : tr("stopped before the first measured interval"));
        return;
    }
    result_ = result;
    setValue(time_, number(result.t, 10));
    switch (statusOf(result, point_, settings_)) {
        case PointStatus::Error:
            for (QLabel* label : lambda_) setValue(label, QStringLiteral("?"));
            setValue(dimension_, QStringLiteral("?"));
            setValue(status_, tr("error: an arithmetic fault stopped the run at t = %1").arg(number(result.t, 10)));
            return;
        case PointStatus::Inconsistent:
            setValue(
                status_,
                tr("inconsistent: λ1 + λ2 + λ3 is %1 away from −(σ + 1 + b)").arg(number(traceGap(result, point_), 3)));
            break;
        case PointStatus::Ok:
            setValue(status_, tr("ok"));
            break;
    }
    showEstimates(result.expo, result.errorsKnown ? std::optional<Triple>(result.halfWidth) : std::nullopt);
    setValue(dimension_, number(kaplanYorke(result.expo), 6));
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
