#include "explorer_window.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QDockWidget>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProgressBar>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>
#include <cmath>
#include <utility>

#include "typed_flow.h"
#include "cell_description.h"
#include "compiled_system.h"
#include "csv_export.h"
#include "equations_dialog.h"
#include "explorer_settings_store.h"
#include "flow_point.h"
#include "map_colours.h"
#include "map_export.h"
#include "map_widget.h"
#include "number_text.h"
#include "point_class.h"
#include "point_mark.h"
#include "point_panel.h"
#include "settings_form.h"

namespace veltrano::explorer {

namespace {

// The ranges the map opens with for each parameter, and goes back to on Reset.
MapAxis fullRange(SweepParameter p, int count) {
    switch (p) {
        case SweepParameter::Sigma:
            return {p, 0.0, 40.0, count};
        case SweepParameter::R:
            return {p, 0.0, 200.0, count};
        case SweepParameter::B:
            return {p, 0.0, 8.0, count};
    }
    return {p, 0.0, 1.0, count};
}

QString durationText(double seconds) {
    if (seconds < 0) return QStringLiteral("…");
    const auto s = static_cast<long long>(std::ceil(seconds));
    if (s < 60) return QObject::tr("%1 s").arg(s);
    if (s < 3600) return QObject::tr("%1 min %2 s").arg(s / 60).arg(s % 60);
    return QObject::tr("%1 h %2 min").arg(s / 3600).arg(s % 3600 / 60);
}

}  // namespace

ExplorerWindow::ExplorerWindow(std::optional<MapSettings> opening, QWidget* parent)
    : ExplorerWindow(std::move(opening), Options{}, parent) {}

ExplorerWindow::ExplorerWindow(std::optional<MapSettings> opening, Options options, QWidget* parent)
    : QMainWindow(parent), options_(options), computation_(std::make_unique<MapComputation>(options.threads)) {
    setObjectName(QStringLiteral("Explorer"));
    setWindowTitle(tr("Veltrano Explorer"));
    setAttribute(Qt::WA_DeleteOnClose, false);
    buildControls();
    buildActions();

    editPause_.setSingleShot(true);
    editPause_.setInterval(150);
    connect(&editPause_, &QTimer::timeout, this, &ExplorerWindow::settingsEdited);
    recolourPause_.setSingleShot(true);
    recolourPause_.setInterval(200);
    connect(&recolourPause_, &QTimer::timeout, this, &ExplorerWindow::recolour);
    connect(computation_.get(), &MapComputation::arrived, this, &ExplorerWindow::arrived);
    connect(computation_.get(), &MapComputation::finished, this, &ExplorerWindow::finished);

    MapSettings first;
    Shown shown = Shown::Lambda1;
    if (options_.remember) {
        const Session session = loadSession();
        if (session.settings) first = *session.settings;
        shown = session.shown;
    }
    if (opening) first = *opening;
    shown_ = shown;
    shownBox_->setCurrentIndex(static_cast<int>(shown));
    form_->show(first);
    start(first, true);
    if (const QScreen* where = screen()) resize(openingSize(where->availableGeometry().size()));
    // The settings take at most a third of the width.
    auto* columns = static_cast<QSplitter*>(centralWidget());
    const int sideWidth = std::min(columns->widget(0)->sizeHint().width(), width() / 3);
    columns->setSizes({sideWidth, std::max(1, width() - sideWidth)});
}

QSize ExplorerWindow::openingSize(QSize available) {
    // Room for a frame and a title bar; at most a size a map reads well at.
    const QSize frame(16, 48), wanted(1400, 900);
    return wanted.boundedTo(available - frame).expandedTo(QSize(320, 240));
}

ExplorerWindow::~ExplorerWindow() {
    // Stops the work (within a few thousand steps) and waits for it.
    computation_.reset();
}

void ExplorerWindow::buildControls() {
    // The settings and the map side by side; on a narrow screen the
    // settings give way (and scroll), the map keeps its room.
    auto* central = new QSplitter(Qt::Horizontal, this);
    central->setObjectName(QStringLiteral("Columns"));
    central->setChildrenCollapsible(false);

    auto* side = new QWidget(central);
    auto* sideLayout = new QVBoxLayout(side);
    sideLayout->setContentsMargins(0, 0, 0, 0);
    auto* shownRow = new QWidget(side);
    auto* shownLayout = new QHBoxLayout(shownRow);
    shownLayout->setContentsMargins(0, 0, 0, 0);
    shownBox_ = new QComboBox(shownRow);
    shownBox_->setObjectName(QStringLiteral("Shown"));
    shownBox_->setAccessibleName(tr("Shown"));
    shownBox_->addItem(tr("λ1"));
    shownBox_->addItem(tr("λ2"));
    shownBox_->addItem(tr("λ3"));
    shownBox_->addItem(tr("Kaplan–Yorke dimension"));
    shownBox_->addItem(tr("half-width of λ1"));
    shownBox_->addItem(tr("classes: chaotic, periodic, at rest, undecided"));
    shownBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    shownBox_->setMinimumContentsLength(12);
    shownBox_->setWhatsThis(
        tr("What the map shows of each point. The classes come from the error bars of λ1 and λ2: chaotic where λ1 "
           "is above its bar; periodic where λ1 is zero within its bar (the flow's own zero exponent) and λ2 is "
           "below its bar; at rest where λ1 is below its bar; undecided otherwise. A conservative flow (divergence "
           "zero, the exponents summing to zero, as Hénon–Heiles) has no contracting direction: its regular "
           "orbits, with λ1 and λ2 both zero within their bars, are undecided, never periodic; its chaotic "
           "orbits are chaotic."));
    shownBox_->setToolTip(shownBox_->whatsThis());
    auto* shownLabel = new QLabel(tr("Sho&w"), shownRow);
    shownLabel->setBuddy(shownBox_);
    shownLayout->addWidget(shownLabel);
    shownLayout->addWidget(shownBox_, 1);
    sideLayout->addWidget(shownRow);
    form_ = new SettingsForm(side);
    auto* scroll = new QScrollArea(side);
    scroll->setWidget(form_);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setFocusPolicy(Qt::NoFocus);  // a frame, not a stop: Tab goes to the fields inside
    // The map takes the room; the settings a column beside it.
    side->setMaximumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 56);
    sideLayout->addWidget(scroll, 1);
    problem_ = new QLabel(side);
    problem_->setObjectName(QStringLiteral("Problem"));
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #b00000"));
    problem_->hide();
    sideLayout->addWidget(problem_);
    central->addWidget(side);

    auto* mapColumn = new QWidget(central);
    auto* mapLayout = new QVBoxLayout(mapColumn);
    mapLayout->setContentsMargins(0, 0, 0, 0);
    notice_ = new QLabel(mapColumn);
    notice_->setObjectName(QStringLiteral("Notice"));
    notice_->setWordWrap(true);
    mapLayout->addWidget(notice_);
    auto* mapRow = new QHBoxLayout;
    map_ = new MapWidget(mapColumn);
    legend_ = new LegendWidget(mapColumn);
    mapRow->addWidget(map_, 1);
    mapRow->addWidget(legend_);
    mapLayout->addLayout(mapRow, 1);
    central->addWidget(mapColumn);
    central->setStretchFactor(0, 0);
    central->setStretchFactor(1, 1);
    setCentralWidget(central);

    hover_ = new QLabel(this);
    hover_->setObjectName(QStringLiteral("Hover"));
    speed_ = new QLabel(this);
    speed_->setObjectName(QStringLiteral("Speed"));
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("Progress"));
    progress_->setAccessibleName(tr("Progress"));
    progress_->setMaximumWidth(160);
    stop_ = new QPushButton(tr("Stop"), this);
    stop_->setObjectName(QStringLiteral("Stop"));
    stop_->setAccessibleName(tr("Stop"));
    statusBar()->addWidget(hover_, 1);
    statusBar()->addPermanentWidget(speed_);
    statusBar()->addPermanentWidget(progress_);
    statusBar()->addPermanentWidget(stop_);

    connect(form_, &SettingsForm::changed, this, [this] { editPause_.start(); });
    connect(form_, &SettingsForm::equationsWanted, this, &ExplorerWindow::editEquations);
    connect(shownBox_, &QComboBox::currentIndexChanged, this,
            [this](int i) { setShown(static_cast<Shown>(std::clamp(i, 0, 5))); });
    connect(stop_, &QPushButton::clicked, this, [this] { computation_->stop(); });
    connect(map_, &MapWidget::hovered, this, &ExplorerWindow::hovered);
    connect(map_, &MapWidget::zoomRequested, this, &ExplorerWindow::zoom);
    connect(map_, &MapWidget::cellChosen, this, &ExplorerWindow::openPoint);
    connect(map_, &MapWidget::cursorMoved, this, [this](CellPosition c) { hover_->setText(describe(c)); });
    map_->setDescriber([this](CellPosition c) { return describe(c); });
    // Tab in reading order: what is shown, the settings, the map, Stop.
    QWidget* previous = shownBox_;
    for (QWidget* w : form_->focusOrder() + QList<QWidget*>{map_, stop_}) {
        setTabOrder(previous, w);
        previous = w;
    }
}

void ExplorerWindow::buildActions() {
    const auto action = [this](const QString& text, const QKeySequence& keys, const char* name, auto slot) {
        auto* a = new QAction(text, this);
        a->setShortcut(keys);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    backAction_ = action(tr("&Back"), QKeySequence::Back, "Back", &ExplorerWindow::back);
    forwardAction_ = action(tr("&Forward"), QKeySequence::Forward, "Forward", &ExplorerWindow::forward);
    resetAction_ = action(tr("&Reset view"), QKeySequence(Qt::CTRL | Qt::Key_0), "Reset", &ExplorerWindow::resetView);
    stopAction_ = action(tr("&Stop"), QKeySequence(Qt::Key_Escape), "StopAction", [this] { computation_->stop(); });
    pictureAction_ =
        action(tr("Export &picture…"), QKeySequence(Qt::CTRL | Qt::Key_P), "ExportPicture", &ExplorerWindow::savePictureAs);
    csvAction_ = action(tr("Export &CSV…"), QKeySequence::Save, "ExportCsv", &ExplorerWindow::saveCsvAs);
    commandAction_ = action(tr("Copy as &command"), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_C), "CopyCommand",
                            &ExplorerWindow::copyCommand);
    pythonAction_ = action(tr("Copy as P&ython"), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_C), "CopyPython",
                           &ExplorerWindow::copyPython);
    auto* close = action(tr("&Close"), QKeySequence::Close, "Close", &QWidget::close);

    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->addAction(pictureAction_);
    file->addAction(csvAction_);
    file->addSeparator();
    file->addAction(close);
    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->addAction(commandAction_);
    edit->addAction(pythonAction_);
    QMenu* view = menuBar()->addMenu(tr("&View"));
    view->addAction(backAction_);
    view->addAction(forwardAction_);
    view->addAction(resetAction_);
    view->addSeparator();
    view->addAction(stopAction_);

    QToolBar* tools = addToolBar(tr("Map"));
    tools->setObjectName(QStringLiteral("Tools"));
    tools->setMovable(false);
    for (QAction* a : {backAction_, forwardAction_, resetAction_}) tools->addAction(a);
    tools->addSeparator();
    for (QAction* a : {pictureAction_, csvAction_, commandAction_, pythonAction_}) tools->addAction(a);
}

void ExplorerWindow::showMap(const MapSettings& s) {
    form_->show(s);
    start(s, true);
}

void ExplorerWindow::settingsEdited() {
    const auto read = form_->read();
    if (const auto* why = std::get_if<QString>(&read)) {
        problem_->setText(*why);
        problem_->show();
        return;
    }
    problem_->hide();
    const MapSettings& s = std::get<MapSettings>(read);
    if (s == computation_->settings() && (computation_->running() || computation_->complete())) return;
    start(s, true);
}

QString ExplorerWindow::compileTyped(const MapSettings& s) const {
    if (!s.system || s.system->equations.empty()) return {};
    // Once per process for each text: at once after the first time.
    try {
        equations::visitCompiled(equations::parseEquations(s.system->equations), widestPath(), [](const auto&) {});
    } catch (const std::exception& e) {
        return tr("Your equations cannot be mapped: %1").arg(QString::fromUtf8(e.what()));
    }
    return {};
}

QString ExplorerWindow::mapEquations(const QString& text) {
    const std::string typed = text.toStdString();
    SystemDescription flow;
    try {
        flow = typedFlowDescription(typed);
    } catch (const equations::EquationError& e) {
        return tr("Your equations cannot be mapped: %1").arg(QString::fromUtf8(e.what()));
    }
    const MapSettings& now = computation_->settings();
    std::optional<MapSettings> s =
        systemDefaults(flow, now.x.count, flow.parameters.size() > 1 ? std::max(now.y.count, 2) : 1, now.run);
    if (!s) return tr("Your equations have no parameter: there is nothing to map");
    s->run.initial = RunSettings{}.initial;
    s->system->name = SystemMap::kTypedName;
    s->system->equations = typed;
    if (QString why = compileTyped(*s); !why.isEmpty()) return why;
    equationsText_ = text;
    showMap(*s);
    return {};
}

void ExplorerWindow::editEquations() {
    // The first time, an example to change: Rössler as the catalogue writes it.
    QString text = equationsText_;
    if (text.isEmpty())
        if (const auto example = findSystem("rossler"))
            for (const std::string& line : equationText(*example)) text += QString::fromStdString(line) + '\n';
    EquationsDialog dialog(text, this);
    if (dialog.exec() != QDialog::Accepted) return;
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    const QString why = mapEquations(dialog.text());
    QGuiApplication::restoreOverrideCursor();
    if (!why.isEmpty()) report(why);
}

void ExplorerWindow::start(const MapSettings& s, bool newView) {
    if (const QString why = compileTyped(s); !why.isEmpty()) {
        // The map shown stays.
        problem_->setText(why);
        problem_->show();
        return;
    }
    if (s.system && !s.system->equations.empty()) equationsText_ = QString::fromStdString(s.system->equations);
    problem_->hide();
    if (newView) history_.show(s);
    computation_->start(s);
    grid_ = gridOf(s);
    image_.reset(s.x.count, s.y.count, backgroundColour(palette()));
    marks_.assign(static_cast<std::size_t>(s.size()), 0);
    limit_ = paintedLimit_ = 0;
    recolourNext_ = -1;
    map_->setMap(s, image_.image());
    legend_->setScale(shown_, 0, s.run.errors);
    // λ2 and λ3 where they are computed.
    const std::size_t k = s.system ? s.system->exponents : 3;
    auto* shownItems = qobject_cast<QStandardItemModel*>(shownBox_->model());
    for (int j = 1; j < 3; ++j) shownItems->item(j)->setEnabled(k > static_cast<std::size_t>(j));
    if (!shownItems->item(static_cast<int>(shown_))->isEnabled()) setShown(Shown::Lambda1);
    updateActions();
    updateNotice();
    showProgress();
    remember();
}

void ExplorerWindow::arrived(std::uint64_t generation, const QVector<WorkUnit>& units) {
    // Only the work of the settings shown now is ever painted.
    if (generation != computation_->generation()) return;
    const MapComputation& c = *computation_;
    const std::int64_t rows = c.settings().y.count;
    for (const WorkUnit& u : units)
        for (int k = 0; k < u.count; ++k) {
            const std::int64_t i = u.column * rows + u.firstRow + std::int64_t{k} * u.rowStep;
            const PointResult& r = c.result(i);
            const pictures::PointMark mark = c.settings().system
                                                 ? markOf(r, c.cellStatus(i).value_or(PointStatus::Error))
                                                 : markOf(r, grid_.pointAt(i), c.settings().run);
            marks_[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(mark);
            if (const auto v = shownValue(r, c.spectrum(i), shown_)) limit_ = std::max(limit_, std::fabs(*v));
        }
    if (paintedLimit_ == 0 && limit_ > 0) {
        // The first values set the scale before anything is painted.
        recolour();
    } else if (limit_ > paintedLimit_) {
        // The scale grew beyond its end: everything is painted again, at
        // most a few times a second.
        if (!recolourPause_.isActive()) recolourPause_.start();
    }
    const auto done = [&c](std::int64_t i) { return c.done(i); };
    const auto colour = [this](std::int64_t i) { return colourOf(i); };
    for (const WorkUnit& u : units) image_.paintUnit(u, done, colour);
    map_->setCells(image_.image());
    showProgress();
}

void ExplorerWindow::finished(std::uint64_t generation, bool) {
    if (generation != computation_->generation()) return;
    recolour();
    showProgress();
    updateActions();
}

double ExplorerWindow::scaleEnd() const {
    return paintedLimit_;
}

QRgb ExplorerWindow::colourOf(std::int64_t index) const {
    return cellColour(computation_->result(index), computation_->spectrum(index),
                      static_cast<pictures::PointMark>(marks_[static_cast<std::size_t>(index)]), shown_, paintedLimit_);
}

namespace {

// v rounded up to two significant digits: the end of the scale changes
// only when a value passes it, and then by at most a tenth more than needed.
double roundUp(double v) {
    if (!(v > 0) || !std::isfinite(v)) return v;
    const double unit = std::pow(10.0, std::floor(std::log10(v)) - 1);
    const double end = std::ceil(v / unit) * unit;
    return end >= v ? end : end + unit;
}

}  // namespace

void ExplorerWindow::recolour() {
    recolourPause_.stop();
    const MapComputation& c = *computation_;
    // The same rounded end while passes add points and once they are done:
    // a complete map keeps the colours its last pass showed.
    paintedLimit_ = roundUp(limit_);
    legend_->setScale(shown_, paintedLimit_, c.settings().run.errors);
    recolourNext_ = 0;
    recolourSlice();
}

void ExplorerWindow::recolourSlice() {
    if (recolourNext_ < 0) return;
    const MapComputation& c = *computation_;
    const int columns = c.settings().x.count;
    // About a hundred thousand cells a slice: a few milliseconds.
    const int slice = std::max(1, 100000 / std::max(1, c.settings().y.count));
    const int last = std::min(columns, recolourNext_ + slice);
    image_.paintColumns(recolourNext_, last, [&c](std::int64_t i) { return c.done(i); },
                        [this](std::int64_t i) { return colourOf(i); });
    map_->setCells(image_.image());
    recolourNext_ = last < columns ? last : -1;
    if (recolourNext_ >= 0) QTimer::singleShot(0, this, &ExplorerWindow::recolourSlice);
}

void ExplorerWindow::setShown(Shown shown) {
    if (shownBox_->currentIndex() != static_cast<int>(shown)) shownBox_->setCurrentIndex(static_cast<int>(shown));
    if (shown == shown_) return;
    shown_ = shown;
    // The scale of the new quantity, from every cell done.
    const MapComputation& c = *computation_;
    limit_ = 0;
    for (std::int64_t i = 0; i < c.settings().size(); ++i)
        if (c.done(i))
            if (const auto v = shownValue(c.result(i), c.spectrum(i), shown_)) limit_ = std::max(limit_, std::fabs(*v));
    recolour();
    updateNotice();
    map_->setDescriber([this](CellPosition cell) { return describe(cell); });
    remember();
}

void ExplorerWindow::showProgress() {
    const MapComputation& c = *computation_;
    const std::int64_t total = c.settings().size();
    progress_->setRange(0, 1000);
    progress_->setValue(total > 0 ? static_cast<int>(c.doneCount() * 1000 / total) : 0);
    QString text = tr("%1 of %2 points").arg(c.doneCount()).arg(total);
    if (c.doneCount() > 0) text += tr(" · %1 points/s").arg(std::lround(c.pointsPerSecond()));
    if (c.running()) {
        text += tr(" · %1 left").arg(durationText(c.secondsLeft()));
    } else if (!c.complete()) {
        text += tr(" · stopped");
    }
    speed_->setText(text);
    stop_->setEnabled(c.running());
    stopAction_->setEnabled(c.running());
}

void ExplorerWindow::updateNotice() {
    const RunSettings& run = computation_->settings().run;
    QString text;
    if (!run.errors) {
        text = tr("Error bars are off: no point is classified, and undecided points are not marked.");
    } else if (run.targetError <= 0 && run.intervals / std::max<std::int64_t>(1, run.batch) < 10) {
        text = tr("Fewer than 10 batches (n / batch): no point gets error bars, so none is classified.");
    } else {
        text = tr("Error bars on (batches of %1): undecided points are shaded.").arg(run.batch);
    }
    notice_->setText(text);
}

void ExplorerWindow::updateActions() {
    backAction_->setEnabled(history_.canGoBack());
    forwardAction_->setEnabled(history_.canGoForward());
    csvAction_->setEnabled(csvExport_ == nullptr);
}

QString ExplorerWindow::describe(CellPosition cell) const {
    const MapComputation& c = *computation_;
    const MapSettings& s = c.settings();
    if (cell.column < 0 || cell.row < 0 || cell.column >= s.x.count || cell.row >= s.y.count) return {};
    const std::int64_t index = indexOf(s, cell.column, cell.row);
    if (s.system) {
        const SystemDescription flow = descriptionOf(*s.system);
        const std::vector<double> p = systemPoint(s, index);
        QString where;
        for (std::size_t i : {s.system->across, s.system->up})
            if (i < p.size())
                where += (where.isEmpty() ? QString() : QStringLiteral(", ")) +
                         QStringLiteral("%1 = %2").arg(QString::fromStdString(flow.parameters[i].name),
                                                       QString::fromStdString(shortest(p[i])));
        return systemCellDescription(where, c.done(index) ? &c.result(index) : nullptr, c.spectrum(index),
                                     c.cellStatus(index).value_or(PointStatus::Error));
    }
    return cellDescription(cellParameters(s, cell), c.done(index) ? &c.result(index) : nullptr, s.run);
}

void ExplorerWindow::hovered(std::optional<CellPosition> cell) {
    hover_->setText(cell ? describe(*cell) : QString());
}

void ExplorerWindow::zoom(CellPosition a, CellPosition b) {
    const auto zoomed = zoomedTo(computation_->settings(), a, b);
    if (!zoomed) return;
    showMap(*zoomed);
}

void ExplorerWindow::back() {
    if (const auto view = history_.back()) {
        form_->show(*view);
        start(*view, false);
    }
}

void ExplorerWindow::forward() {
    if (const auto view = history_.forward()) {
        form_->show(*view);
        start(*view, false);
    }
}

void ExplorerWindow::resetView() {
    MapSettings s = computation_->settings();
    if (s.system) {
        // The catalogue's ranges of the parameters on the axes.
        const SystemDescription flow = descriptionOf(*s.system);
        const auto range = [&](MapAxis& a, std::size_t i) {
            if (i >= flow.parameters.size()) return;
            a.from = flow.parameters[i].lowest;
            a.to = flow.parameters[i].highest;
        };
        range(s.x, s.system->across);
        range(s.y, s.system->up);
        showMap(s);
        return;
    }
    s.x = fullRange(s.x.parameter, s.x.count);
    s.y = fullRange(s.y.parameter, s.y.count);
    showMap(s);
}

void ExplorerWindow::report(const QString& message) {
    QMessageBox box(QMessageBox::Warning, tr("Veltrano Explorer"), message, QMessageBox::Ok, this);
    box.exec();
}

QString ExplorerWindow::exportCsv(const QString& path) {
    const MapComputation& c = *computation_;
    if (csvExport_)
        return tr("The rows are being written to %1: wait for the export or cancel it.").arg(csvExport_->path());
    if (!c.complete())
        return tr("The map is not complete (%1 of %2 points): a CSV holds every point, as veltrano-cli sweep "
                  "writes it. Wait for the map, then export.")
            .arg(c.doneCount())
            .arg(c.settings().size());
    // Refused before anything is written: a file another process writes, a
    // folder that is not there or not writable.
    auto opened = ReplacementFile::open(path.toStdString());
    if (const auto* refusal = std::get_if<FileRefusal>(&opened))
        return cannotWrite(path, QString::fromStdString(refusal->message));
    csvAsked_ = false;
    csvExport_ = new CsvExport(c.settings(), c.completeResults(), std::move(std::get<ReplacementFile>(opened)), this,
                               c.completeSystemCells());
    csvProgress_ = new QProgressDialog(tr("Writing the rows to %1…").arg(path), tr("Cancel"), 0, 1000, this);
    csvProgress_->setObjectName(QStringLiteral("CsvProgress"));
    csvProgress_->setWindowModality(Qt::WindowModal);
    csvProgress_->setMinimumDuration(500);
    csvProgress_->setAutoReset(false);
    csvProgress_->setAutoClose(false);
    connect(csvProgress_, &QProgressDialog::canceled, csvExport_, &CsvExport::cancel);
    connect(csvExport_, &CsvExport::progress, this, [this](qint64 rows, qint64 total) {
        if (csvProgress_) csvProgress_->setValue(total > 0 ? static_cast<int>(rows * 1000 / total) : 0);
        emit csvExportProgress(rows, total);
    });
    connect(csvExport_, &CsvExport::ended, this, &ExplorerWindow::csvExportFinished);
    updateActions();
    return {};
}

void ExplorerWindow::csvExportFinished(const QString& error, bool cancelled) {
    const QString path = csvExport_->path();
    const bool asked = csvAsked_;
    endCsvExport();
    QString message = error;
    if (cancelled) message = tr("The export was cancelled: %1 is as it was.").arg(path);
    statusBar()->showMessage(message.isEmpty() ? tr("The rows are written to %1").arg(path) : message, 10000);
    emit csvExportEnded(message);
    if (!error.isEmpty() && asked) report(error);
}

void ExplorerWindow::endCsvExport() {
    // Deleted later: this may be answering one of their signals.
    if (csvExport_) {
        csvExport_->cancel();
        csvExport_->deleteLater();
        csvExport_ = nullptr;
    }
    csvProgress_->hide();
    csvProgress_->deleteLater();
    csvProgress_ = nullptr;
    updateActions();
}

QString ExplorerWindow::exportPicture(const QString& path) {
    return writePicture(*computation_, shown_, path);
}

void ExplorerWindow::saveCsvAs() {
    const QString path = QFileDialog::getSaveFileName(this, tr("Export the map's rows"), QString(),
                                                      tr("CSV files (*.csv)"));
    if (path.isEmpty()) return;
    if (const QString error = exportCsv(path); !error.isEmpty())
        report(error);
    else
        csvAsked_ = true;
}

void ExplorerWindow::savePictureAs() {
    const QString path = QFileDialog::getSaveFileName(this, tr("Export the map as a picture"), QString(),
                                                      tr("PNG pictures (*.png);;SVG drawings (*.svg)"));
    if (path.isEmpty()) return;
    if (const QString error = exportPicture(path); !error.isEmpty()) report(error);
}

QString ExplorerWindow::commandText() const {
    return QString::fromStdString(commandLine(computation_->settings()));
}

QString ExplorerWindow::pythonText() const {
    return QString::fromStdString(pythonCall(computation_->settings()));
}

void ExplorerWindow::copyCommand() {
    QGuiApplication::clipboard()->setText(commandText());
    statusBar()->showMessage(tr("The command is on the clipboard"), 3000);
}

void ExplorerWindow::copyPython() {
    QGuiApplication::clipboard()->setText(pythonText());
    statusBar()->showMessage(tr("The Python call is on the clipboard"), 3000);
}

void ExplorerWindow::openPoint(CellPosition cell) {
    map_->setCursor(cell);
    hover_->setText(describe(cell));
    const MapSettings& s = computation_->settings();
    if (cell.column < 0 || cell.row < 0 || cell.column >= s.x.count || cell.row >= s.y.count) return;
    if (!panel_) {
        // Below the map, as wide as the window: the panel scrolls rather
        // than push the window beyond the screen. It takes the height it
        // wants where the map keeps the height it would like, else no more
        // than a third.
        panelDock_ = new QDockWidget(tr("Point"), this);
        panelDock_->setObjectName(QStringLiteral("PointDock"));
        panelScroll_ = new QScrollArea(panelDock_);
        panelScroll_->setObjectName(QStringLiteral("PointScroll"));
        panelScroll_->setAccessibleName(tr("Point"));
        panelScroll_->setWidgetResizable(true);
        panelScroll_->setFrameShape(QFrame::NoFrame);
        panelScroll_->setFocusPolicy(Qt::NoFocus);
        panel_ = new point_panel::PointPanel(panelScroll_);
        panelScroll_->setWidget(panel_);
        panelDock_->setWidget(panelScroll_);
        addDockWidget(Qt::BottomDockWidgetArea, panelDock_);
        const int room = std::max(1, centralWidget()->height() + panelDock_->height());
        const int wanted = panel_->sizeHint().height() + 4;
        resizeDocks({panelDock_}, {std::min(wanted, std::max(room / 3, room - map_->sizeHint().height()))},
                    Qt::Vertical);
    }
    panelDock_->show();
    if (s.system) {
        panel_->question(point_panel::FlowPoint{s.system->name, s.system->dimension,
                                                systemPoint(s, indexOf(s, cell.column, cell.row)), systemRun(s),
                                                s.system->equations});
        return;
    }
    panel_->question(cellParameters(s, cell), s.run);
}

void ExplorerWindow::remember() const {
    if (options_.remember) saveSession({computation_->settings(), shown_});
}

void ExplorerWindow::closeEvent(QCloseEvent* event) {
    computation_->stop();
    if (csvExport_) {
        // The file stays as it was.
        const QString path = csvExport_->path();
        delete std::exchange(csvExport_, nullptr);  // waits for its thread: within a block of rows
        endCsvExport();
        emit csvExportEnded(tr("The export was cancelled: %1 is as it was.").arg(path));
    }
    if (panel_) panel_->cancel();
    remember();
    event->accept();
}

}  // namespace veltrano::explorer
