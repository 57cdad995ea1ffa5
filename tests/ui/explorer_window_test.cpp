// The Explorer window on the offscreen platform: its map, its exports, its
// stops, zoom and history, keyboard, last session and translations.

#include "explorer_window.h"

#include <sys/resource.h>

#include <QAbstractItemView>
#include <QAction>
#include <QChart>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QLegendMarker>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <QTranslator>
#include <csignal>
#include <cstring>

#include "colour_bar.h"
#include "convergence_view.h"
#include "equations_dialog.h"
#include "explorer_translations.h"
#include "map_colours.h"
#include "map_export.h"
#include "map_widget.h"
#include "number_text.h"
#include "output_file.h"
#include "point_panel.h"
#include "settings_form.h"
#include "system_exponents.h"
#include "ui_test_support.h"
#include "visit_system.h"

using namespace veltrano;
using namespace veltrano::explorer;

namespace {

MapSettings small(int columns = 16, int rows = 12, std::int64_t n = 300) {
    MapSettings s;
    s.x = {SweepParameter::Sigma, 0, 40, columns};
    s.y = {SweepParameter::R, 0, 200, rows};
    s.run.intervals = n;
    s.run.batch = std::max<std::int64_t>(1, n / 10);
    return s;
}

const ExplorerWindow::Options kOptions{.threads = 2};

bool waitComplete(ExplorerWindow& w, int ms = 120000) {
    return QTest::qWaitFor([&] { return w.computation().complete(); }, ms);
}

// Waits until the window's map is complete under settings that `wanted` accepts.
bool settledOn(ExplorerWindow& w, const std::function<bool(const MapSettings&)>& wanted) {
    return QTest::qWaitFor([&] { return wanted(w.computation().settings()) && w.computation().complete(); }, 120000);
}

// Chooses a flow in the window's box and waits for its complete map.
bool chosen(ExplorerWindow& w, const QString& name) {
    auto* box = control<QComboBox>(&w, "System");
    box->setCurrentIndex(box->findData(name));
    return settledOn(w, [&](const MapSettings& s) { return (s.system ? s.system->name : "") == name.toStdString(); });
}

// Opens the panel of a cell, waits for its run and names the curves it draws.
QStringList curvesOfPoint(ExplorerWindow& w, CellPosition cell) {
    w.openPoint(cell);
    point_panel::PointPanel* panel = w.pointPanel();
    if (panel->running() && !QSignalSpy(panel, &point_panel::PointPanel::finished).wait(120000)) return {};
    auto* view = panel->findChild<point_panel::ConvergenceView*>(QStringLiteral("convergence"));
    view->redraw();
    QStringList named;
    for (QLegendMarker* marker : view->chart()->legend()->markers())
        if (marker->isVisible()) named << marker->label();
    return named;
}

// Whether a map of Rössler's parameters is the catalogue's Rössler run alone in every cell, to the bit, the
// panel of a point draws three curves, projects on y and names c, and the next window opens on the same map
// (and text).
bool mappedAsRossler(ExplorerWindow& w) {
    const MapComputation& c = w.computation();
    const auto same = [](std::span<const double> a, std::span<const double> b) {
        return std::equal(a.begin(), a.end(), b.begin(), b.end());
    };
    for (std::int64_t i = 0; i < c.settings().size(); ++i) {
        const std::vector<double> p = systemPoint(c.settings(), i);
        const auto alone = runSystemPoint(RosslerSystem{}, systemRun(c.settings()), {p[0], p[1], p[2]});
        if (!(c.result(i).t == alone.t && same(c.spectrum(i), alone.estimates()) &&
              same(c.halfWidths(i), std::span(alone.halfWidth).first(3)) && c.divergence(i) == alone.meanDivergence))
            return false;
    }
    if (curvesOfPoint(w, {3, 2}) != QStringList{QStringLiteral("λ1"), QStringLiteral("λ2"), QStringLiteral("λ3")})
        return false;
    const auto* parameters = control<QLabel>(w.pointPanel(), "parameters");
    ExplorerWindow again(std::nullopt, kOptions);
    return control<QComboBox>(w.pointPanel(), "projectionUp")->currentText() == QStringLiteral("y") &&
           parameters->text().contains(QStringLiteral("c = 5.7")) && parameters->height() > 0 &&
           again.computation().settings() == c.settings() && again.equationsText() == w.equationsText();
}

void enter(QLineEdit* field, const QString& text) {
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

bool shownComplete(ExplorerWindow& w) {
    w.show();
    return QTest::qWaitForWindowExposed(&w) && waitComplete(w);
}

// The image the window must show for its computation at this moment, in
// the classes' colours (which no scale changes).
QImage freshClasses(ExplorerWindow& w) {
    const MapComputation& c = w.computation();
    const SweepGrid grid = gridOf(c.settings());
    MapImage image;
    image.reset(c.settings().x.count, c.settings().y.count, backgroundColour(w.palette()));
    image.paintAll(
        [&](std::int64_t i) { return c.done(i); },
        [&](std::int64_t i) { return cellColour(c.result(i), grid.pointAt(i), c.settings().run, Shown::Classes, 1); });
    return image.image();
}

// The threads of this process that carry its name: the main thread and the
// plain threads it starts (Qt names its own).
int threadCount() {
    const QByteArray own = readAll(QStringLiteral("/proc/self/comm"));
    const QDir tasks(QStringLiteral("/proc/self/task"));
    int count = 0;
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        count += readAll(tasks.filePath(task) + QStringLiteral("/comm")) == own;
    return count;
}

// Exports the rows and waits for the end: why nothing started, why the
// file was not written, or the empty text.
QString exportCsv(ExplorerWindow& w, const QString& path) {
    QSignalSpy ended(&w, &ExplorerWindow::csvExportEnded);
    if (const QString refused = w.exportCsv(path); !refused.isEmpty()) return refused;
    if (ended.isEmpty() && !ended.wait(300000)) return QStringLiteral("(no end)");
    return ended.takeFirst().at(0).toString();
}

// The files in a folder, hidden ones too.
QStringList filesIn(const QTemporaryDir& dir) {
    return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
}

// Runs a program and returns what it writes, or why it failed.
QByteArray run(const QString& program, const QStringList& args, const QProcessEnvironment& env = {}) {
    QProcess p;
    if (!env.isEmpty()) p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(300000) || p.exitCode() != 0) return "(failed) " + p.readAllStandardError();
    return p.readAllStandardOutput();
}

// The rows the window's copied command writes, run as a shell runs it (its here-document too) in a folder of
// its own: what it prints, or else its output file.
QByteArray commandRows(const ExplorerWindow& w) {
    const QTemporaryDir folder;
    const QString command = w.commandText().replace(QStringLiteral("veltrano-cli"), QStringLiteral(VELTRANO_CLI));
    const QByteArray printed =
        run(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("cd '%1' && %2").arg(folder.path(), command)});
    return printed.isEmpty() ? readAll(folder.filePath(QStringLiteral("map.csv"))) : printed;
}

#ifdef VELTRANO_PYTHON_DIR
// The rows the window's copied Python call writes, given output=, with the module on its path.
QByteArray pythonRows(const ExplorerWindow& w) {
    const QTemporaryDir folder;
    const QString written = folder.filePath(QStringLiteral("rows.csv"));
    QString call = w.pythonText();
    call.insert(call.lastIndexOf(QLatin1Char(')')), QStringLiteral(", output='%1'").arg(written));
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("PYTHONPATH"), QStringLiteral(VELTRANO_PYTHON_DIR));
    const QByteArray printed = run(QStringLiteral(VELTRANO_PYTHON3), {QStringLiteral("-c"), call}, env);
    return printed.isEmpty() ? readAll(written) : printed;
}
#endif

}  // namespace

class ExplorerWindowTest : public QObject {
    Q_OBJECT
    // The last session is this process's own: another run of these tests (the
    // other build's, beside this one) writes to its own folder.
    QTemporaryDir settingsFolder_;

private slots:
    void initTestCase() {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder_.path());
        QCoreApplication::setOrganizationName(QStringLiteral("Torvessa"));
        QCoreApplication::setApplicationName(QStringLiteral("VeltranoExplorerTest"));
        QSettings().clear();
    }

    // Rapid changes paint only the last settings; a change, a stop and a close end the work within an interval.
    void changesStopsAndCloseEndTheWork() {
        const int idle = threadCount();
        ExplorerWindow w(small(), kOptions);
        w.setShown(Shown::Classes);
        w.computation().setDeliveryInterval(1);  // many small hand-overs
        // After every hand-over the image holds the current generation's cells
        // only: a cell of an earlier setting painted once would show here.
        int checks = 0, stale = 0;
        connect(&w.computation(), &MapComputation::arrived, this,
                [&](std::uint64_t generation, const QVector<WorkUnit>&) {
                    ++checks;
                    if (generation != w.computation().generation() || w.cells() != freshClasses(w)) ++stale;
                });
        MapSettings last;
        for (int k = 0; k < 25; ++k) {
            last = small(48 + k / 5, 40, 1088 - 37 * k);  // mostly one size: only the values change
            last.y.to = 150 + k;
            w.showMap(last);
            QTest::qWait(k % 4 * 7);
        }
        QVERIFY(waitComplete(w));
        QVERIFY(checks > 0);
        QCOMPARE(stale, 0);
        QTemporaryDir dir;  // every cell the engine's: the command's rows
        QCOMPARE(exportCsv(w, dir.filePath(QStringLiteral("last.csv"))), QString());
        QCOMPARE(commandRows(w), readAll(dir.filePath(QStringLiteral("last.csv"))));
        // New values on a grid of the same size whose points take minutes (10^9 intervals of 10^9 steps: only
        // a stop seen within an interval ends them): until their first cells arrive the map is empty, not the
        // last one under the new axes.
        MapSettings endless = last;
        endless.y.to = 120;
        endless.run.intervals = endless.run.stepsPerInterval = 1'000'000'000;
        w.showMap(endless);
        QTest::qWait(30);
        QCOMPARE(w.computation().doneCount(), std::int64_t{0});
        QCOMPARE(w.cells(), freshClasses(w));
        w.show();
        QVERIFY(w.computation().running());
        // An incomplete map is not exported.
        QVERIFY(exportCsv(w, dir.filePath(QStringLiteral("map.csv"))).contains(QStringLiteral("not complete")));
        QCOMPARE(filesIn(dir), QStringList{QStringLiteral("last.csv")});
        // A burst of edits: each ends the work before it, so that never more
        // than the pool's threads are at work.
        for (int k = 0; k < 8; ++k) {
            QTest::qWait(20);
            endless.base.bv = 1 + k;
            w.showMap(endless);
            QVERIFY2(threadCount() <= idle + w.computation().threads(), qPrintable(QString::number(threadCount())));
        }
        w.findChild<QPushButton*>(QStringLiteral("Stop"))->click();
        QVERIFY(!w.computation().running());
        const std::int64_t done = w.computation().doneCount();
        QTRY_COMPARE_WITH_TIMEOUT(threadCount(), idle, 20000);
        QCOMPARE(w.computation().doneCount(), done);
        // Computing again after a stop works.
        w.showMap(small(8, 8, 100));
        QVERIFY(waitComplete(w));
        w.showMap(endless);
        QTest::qWait(50);
        w.close();  // stops the work
        QTRY_COMPARE_WITH_TIMEOUT(threadCount(), idle, 20000);
        w.showMap(endless);  // and the window is destroyed while it computes
        QTest::qWait(20);
    }

    // The map's rows are the command's and the Python call's bytes (every digit: the map is the engine's, bit for
    // bit); the next window opens on it as the last session.
    void theMapIsTheEnginesAndItsRowsTheCommands() {
        MapSettings off = small(9, 13, 250);
        off.x = {SweepParameter::B, 0.5, 6, 9};
        off.y = {SweepParameter::Sigma, 40, 2, 13};  // a falling range
        off.run.errors = false;
        MapSettings options = small(7, 6);
        options.run = {.intervals = 180, .transient = 30, .initial = {-1.5, 0.25, 12}, .step = 0.005,
                       .stepsPerInterval = 13, .errors = true, .batch = 9, .targetError = 0.05};
        options.base.bv = 3.25;
        MapSettings faults = small(6, 5, 120);
        faults.x = {SweepParameter::R, 0, 2000000, 6};  // large R: arithmetic faults
        faults.y = {SweepParameter::B, -3, 3, 5};
        for (const MapSettings& settings : {small(21, 17, 400), off, options, faults}) {
            ExplorerWindow w(settings, kOptions);
            QVERIFY(waitComplete(w));
            w.setShown(Shown::Classes);
            QCOMPARE(w.cells(), freshClasses(w));
            QTemporaryDir dir;
            const QString path = dir.filePath(QStringLiteral("map.csv"));
            QCOMPARE(exportCsv(w, path), QString());
            const QByteArray exported = readAll(path);
            QCOMPARE(commandRows(w), exported);
#ifdef VELTRANO_PYTHON_DIR
            QCOMPARE(pythonRows(w), exported);
#endif
            ExplorerWindow again(std::nullopt, kOptions);
            QVERIFY(again.computation().settings() == settings && again.shown() == Shown::Classes);
        }
    }

    // A flow of the catalogue: its first parameters on the axes, every cell its engine's point alone, its
    // command, rows and session, its points' panels drawing its k curves; Lorenz comes back as it was. Rössler
    // typed as the catalogue prints it: mapped as the catalogue's to the last bit, the text kept and copied.
    void otherFlowsAreMappedByTheirOwnEngines() {
        ExplorerWindow w(small(5, 4, 200), kOptions);
        QVERIFY(shownComplete(w));
        const QString lorenzCommand = w.commandText();
        QVERIFY(chosen(w, QStringLiteral("rossler")));
        const MapSettings s = w.computation().settings();
        QCOMPARE(w.findChild<QComboBox*>(QStringLiteral("Across"))->currentText(), QStringLiteral("a"));
        QCOMPARE(w.findChild<QComboBox*>(QStringLiteral("Up"))->currentText(), QStringLiteral("b"));
        QVERIFY2(w.describe({1, 3}).contains(QStringLiteral("a = 0.25, b = 2")), qPrintable(w.describe({1, 3})));
        const MapComputation& c = w.computation();
        QTemporaryDir dir;
        QCOMPARE(exportCsv(w, dir.filePath(QStringLiteral("map.csv"))), QString());
        const QByteArray exported = readAll(dir.filePath(QStringLiteral("map.csv")));
        QVERIFY(exported.contains(",,error,"));  // a point stopped by a fault among them
        // The copied command writes the same bytes (the rows' form is the writer's, tested with it).
        QCOMPARE(commandRows(w), exported);
        QCOMPARE(w.exportPicture(dir.filePath(QStringLiteral("map.png"))), QString());
        QVERIFY(mappedAsRossler(w));
        // A starting point of the wrong dimension is refused, the map kept;
        // two exponents of three leave λ3 out.
        auto* initial = w.findChild<QLineEdit*>(QStringLiteral("Initial point"));
        auto* problem = w.findChild<QLabel*>(QStringLiteral("Problem"));
        enter(initial, QStringLiteral("1, 2"));
        QVERIFY(QTest::qWaitFor([&] { return problem->isVisible(); }, 2000));
        QVERIFY2(problem->text().contains(QStringLiteral("3 values")), qPrintable(problem->text()));
        QVERIFY(w.computation().settings() == s);
        enter(initial, QStringLiteral("1, 1, 1"));
        w.findChild<QSpinBox*>(QStringLiteral("Exponents computed"))->setValue(2);
        QVERIFY(settledOn(w, [](const MapSettings& m) { return m.system->exponents == 2; }));
        QCOMPARE(c.spectrum(0).size(), std::size_t{2});
        auto* shown = qobject_cast<QStandardItemModel*>(w.findChild<QComboBox*>(QStringLiteral("Shown"))->model());
        QVERIFY(shown->item(1)->isEnabled() && !shown->item(2)->isEnabled());
        // Lorenz-96 of dimension 6: F across, one row; six curves.
        QVERIFY(chosen(w, QStringLiteral("lorenz96")));
        auto* dimension = w.findChild<QSpinBox*>(QStringLiteral("Dimension"));
        QVERIFY(dimension->isVisible() && !dimension->accessibleName().isEmpty());
        dimension->setValue(6);
        QVERIFY(settledOn(w, [](const MapSettings& m) { return m.system && m.system->dimension == 6; }));
        QCOMPARE(w.computation().settings().y.count, 1);
        QCOMPARE(curvesOfPoint(w, {1, 0}).size(), 6);
        // Tab visits the flow's own controls in reading order (F is across: its field is off).
        w.findChild<QComboBox*>(QStringLiteral("System"))->setFocus();
        QCOMPARE(tabStops([](QWidget* focus) { return focus->objectName(); }).mid(0, 17).join(QLatin1Char('|')),
                 QStringLiteral("System|Dimension|Exponents computed|Across|Across from|Across to|Columns|Up|"
                                "n, measured intervals|Transient intervals|Initial point|Step h|Steps per interval|"
                                "Error bars|Batch length|Target error|map"));
        const auto* attractor = w.pointPanel()->findChild<QWidget*>(QStringLiteral("attractor"));
        QVERIFY2(attractor->accessibleDescription().contains(QStringLiteral("x1–x2")),
                 qPrintable(attractor->accessibleDescription()));
        QVERIFY(chosen(w, QString()));
        QVERIFY(!dimension->isVisible());
        QCOMPARE(w.commandText(), lorenzCommand);
        QString text;
        for (const std::string& line : equationText(*findSystem("rossler")))
            text += QString::fromStdString(line) + '\n';
        // Choosing the entry opens the editor (with Rössler to change, the
        // first time), the flow shown staying until a text is mapped.
        auto* box = w.findChild<QComboBox*>(QStringLiteral("System"));
        const auto editorOnChoosing = [&] {
            QString opened;
            int opening = 0;
            QTimer timer;  // the editor is modal: looked at from the loop it runs
            connect(&timer, &QTimer::timeout, &w, [&] {
                if (auto* editor = qobject_cast<EquationsDialog*>(QApplication::activeModalWidget())) {
                    opened = editor->text();
                    ++opening;
                    editor->reject();
                }
            });
            timer.start(10);
            // Chosen in the list as a user chooses it.
            box->showPopup();
            box->view()->setCurrentIndex(box->model()->index(box->findData(QStringLiteral("equations")), 0));
            QTest::keyClick(box->view(), Qt::Key_Return);
            QTest::qWait(200);
            return opening == 1 ? opened : QStringLiteral("opened %1 times").arg(opening);
        };
        QCOMPARE(editorOnChoosing(), text);
        QCOMPARE(box->currentData().toString(), QString());
        QVERIFY(!w.computation().settings().system);
        QCOMPARE(w.mapEquations(text), QString());
        QVERIFY(waitComplete(w));
        const MapSettings typed = w.computation().settings();
        QCOMPARE(box->currentData().toString(), QStringLiteral("equations"));
        QCOMPARE(w.commandText(), QStringLiteral("veltrano-cli sweep --equations - --vary a=0.1:0.3:5 "
                                                 "--vary b=0.1:0.3:4 --errors --batch 20 --output "
                                                 "map.csv 200 c=5.7 <<'EOF'\n") +
                                      text + QStringLiteral("EOF\n"));
        QCOMPARE(editorOnChoosing(), text);  // again, to change the text
        QVERIFY(w.computation().settings() == typed);
        // Its command, here-document and all, writes its rows (the flow named as the tool's files name it).
        QCOMPARE(exportCsv(w, dir.filePath(QStringLiteral("typed.csv"))), QString());
        QCOMPARE(commandRows(w), readAll(dir.filePath(QStringLiteral("typed.csv"))));
#ifdef VELTRANO_PYTHON_DIR
        QCOMPARE(pythonRows(w), readAll(dir.filePath(QStringLiteral("typed.csv"))));  // and its Python call
#endif
        QVERIFY(mappedAsRossler(w));
        QVERIFY(w.mapEquations(QStringLiteral("x' = -x\n")).contains(QStringLiteral("no parameter")));
        QVERIFY(w.computation().settings() == typed);
        // The end of the here-document is a line no text that parses holds.
        const QString endRefused = w.mapEquations(text + QStringLiteral("EOF\n"));
        QVERIFY2(endRefused.contains(QStringLiteral("line 10, column 4")), qPrintable(endRefused));
        // A value changed in the form maps the same typed flow.
        for (QLineEdit* field : w.findChildren<QLineEdit*>())
            if (field->accessibleName() == QStringLiteral("c") && field->isVisible()) enter(field, QStringLiteral("5"));
        QVERIFY(settledOn(w, [&](const MapSettings& m) {
            return m.system && m.system->equations == typed.system->equations && m.system->values[2] == 5;
        }));
    }

    // The editor of a typed flow checks the text as it is typed: where it is
    // wrong (line, column), OK only for a text that parses.
    void theEquationsEditorSaysWhereTheTextIsWrong() {
        EquationsDialog dialog(QStringLiteral("x' = -x\na = 1\n"));
        auto* edit = dialog.findChild<QPlainTextEdit*>(QStringLiteral("EquationsText"));
        auto* problem = dialog.findChild<QLabel*>(QStringLiteral("EquationsProblem"));
        auto* ok = dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
        const QFontMetrics metrics(edit->font());
        QCOMPARE(metrics.horizontalAdvance(QLatin1Char('i')), metrics.horizontalAdvance(QLatin1Char('M')));
        QVERIFY(!edit->accessibleName().isEmpty() && !problem->accessibleName().isEmpty());
        QVERIFY(ok->isEnabled());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        const struct {
            const char* typed;  // after the text above
            const char* said;   // the start of the message under it
        } cases[] = {{"y' = a * q", "line 3, column 10: "},
                     {"y' = a * a_name_too_long_for_the_field_as_it_opens_and_too_long_for_the_message", "line 3, "}};
        for (const auto& c : cases) {
            edit->moveCursor(QTextCursor::End);
            QTest::keyClicks(edit, QString::fromUtf8(c.typed));
            QVERIFY(!ok->isEnabled());  // not yet checked
            QVERIFY2(QTest::qWaitFor([&] { return problem->text().startsWith(QLatin1String(c.said)); }, 5000),
                     qPrintable(problem->text()));
            QVERIFY(problem->text().contains(QLatin1Char('^')) && !ok->isEnabled());
            // The message, its line and caret are whole under the field.
            QTRY_VERIFY2(dialog.rect().contains(problem->geometry()) &&
                             problem->geometry().top() > edit->geometry().bottom() &&
                             problem->width() >= problem->sizeHint().width() &&
                             problem->height() >= problem->sizeHint().height(),
                         qPrintable(problem->text()));
            // A screen reader gets the message, from the label and from the field.
            QVERIFY(spoken(problem).startsWith(QLatin1String(c.said)) &&
                    spoken(edit, QAccessible::Description).startsWith(QLatin1String(c.said)));
            for (std::size_t i = 0; i < std::strlen(c.typed); ++i) QTest::keyClick(edit, Qt::Key_Backspace);
            QVERIFY(QTest::qWaitFor([&] { return ok->isEnabled(); }, 5000));
        }
    }

    // The keyboard moves the map's cursor, which is announced; Tab visits
    // every stop; Enter questions the point in its panel; a bad entry is
    // reported and starts nothing. A drag zooms, the history goes back. A
    // failed save leaves the old file.
    void keyboardCursorEnterEntriesAndZoom() {
        // R zoomed deep: its labels need many digits.
        MapSettings s = small(9, 7, 300);
        s.y.from = 27.999999;
        s.y.to = 28.000001;
        ExplorerWindow w(s, kOptions);
        QVERIFY(shownComplete(w));
        MapWidget* map = w.map();
        map->setFocus();
        for (const auto key : {Qt::Key_Home, Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_Up, Qt::Key_Up})
            QTest::keyClick(map, key);
        const FlowParameters p = cellParameters(s, {3, 2});
        const QString said = map->accessibleDescription();
        const auto exact = [](double v) { return QString::fromStdString(shortest(v)); };
        QVERIFY2(said.contains(QStringLiteral("σ = %1, R = %2").arg(exact(p.sv), exact(p.rv))) &&
                     said.contains(QStringLiteral("λ1 = ")),
                 qPrintable(said));
        QTest::keyClick(map, Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(map->cursor(), (CellPosition{8, 2}));  // ten cells, held at the edge
        // Tab visits every stop once, in reading order, each by its name (σ and
        // R are on the axes: their fields are off).
        w.findChild<QComboBox*>(QStringLiteral("Shown"))->setFocus();
        // A combo box on Linux reads its choice as its name; its own name is the widget's.
        const QStringList stops = tabStops([](QWidget* focus) {
            const QString name = focus->accessibleName().isEmpty() ? spoken(focus) : focus->accessibleName();
            return name.isEmpty() ? QStringLiteral("<unnamed %1>").arg(focus->metaObject()->className()) : name;
        });
        QCOMPARE(stops.join(QLatin1Char('|')),
                 QStringLiteral("Shown|System|Across|Across from|Across to|Columns|Up|Up from|Up to|Rows|b|"
                                "n, measured intervals|Transient intervals|Initial x|Initial y|Initial z|Step h|"
                                "Steps per interval|Error bars (batch means)|Batch length|Target error|Map"));

        map->setFocus();
        map->setCursor({6, 2});
        QTest::keyClick(map, Qt::Key_Return);
        point_panel::PointPanel* panel = w.pointPanel();
        QVERIFY(panel && panel->isVisible());
        QVERIFY(QTest::qWaitFor([&] { return panel->result().has_value(); }, 60000));
        // The panel's run of the point is the map's, to the bit.
        QVERIFY(*panel->result() == w.computation().result(indexOf(s, 6, 2)));
        // The window with its panel stays on the screen, and the map keeps room.
        QTRY_VERIFY(w.screen()->availableGeometry().contains(w.frameGeometry()));
        const QRectF area = map->cellArea();
        QVERIFY(area.width() >= 240 && area.height() >= 150);
        // Every label of the y axis has room left of the map.
        for (const QString& label : map->labels(s.y, false, area.height()).texts)
            QVERIFY2(map->fontMetrics().horizontalAdvance(label) <= area.left() - 6, qPrintable(label));

        const std::uint64_t generation = w.computation().generation();
        auto* from = w.findChild<QLineEdit*>(QStringLiteral("Across from"));
        auto* problem = w.findChild<QLabel*>(QStringLiteral("Problem"));
        enter(from, QStringLiteral("1e5"));
        QVERIFY(QTest::qWaitFor([&] { return problem->isVisible(); }, 2000));
        QVERIFY(problem->text().contains(QStringLiteral("Across from")));
        QCOMPARE(w.computation().generation(), generation);
        enter(from, QStringLiteral("5"));
        QVERIFY(QTest::qWaitFor([&] { return w.computation().generation() != generation; }, 2000));
        QVERIFY(!problem->isVisible());
        QCOMPARE(w.computation().settings().x.from, 5.0);
        const MapSettings edited = w.computation().settings();
        const auto at = [&](int c, int r) {
            const QRectF a = map->cellArea();  // the axes' labels take their room
            return QPointF(a.left() + (c + 0.5) * a.width() / 9, a.bottom() - (r + 0.5) * a.height() / 7).toPoint();
        };
        QTest::mousePress(map, Qt::LeftButton, {}, at(1, 1));
        QMouseEvent move(QEvent::MouseMove, at(6, 5), map->mapToGlobal(at(6, 5)), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QCoreApplication::sendEvent(map, &move);
        QTest::mouseRelease(map, Qt::LeftButton, {}, at(6, 5));
        const MapSettings zoomed = w.computation().settings();
        QVERIFY(zoomedTo(edited, {1, 1}, {6, 5}) == zoomed);  // at full resolution again
        const auto trigger = [&](const char* name) { w.findChild<QAction*>(QLatin1String(name))->trigger(); };
        trigger("Back");
        QVERIFY(w.computation().settings() == edited);
        trigger("Forward");
        QVERIFY(w.computation().settings() == zoomed);
        trigger("Reset");  // the whole ranges
        // A click is no zoom: it questions the point.
        QTest::mouseClick(map, Qt::LeftButton, {}, at(3, 4));
        QVERIFY(w.computation().settings() == small(9, 7, 300));
        QCOMPARE(map->cursor(), (CellPosition{3, 4}));
        // A failed save of the whole map leaves the old file.
        QVERIFY(waitComplete(w));
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("precious.csv"));
        {
            QFile f(path);
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write("precious\n") == 9);
        }
        const auto untouched = [&] {
            return readAll(path) == "precious\n" && filesIn(dir) == QStringList{QStringLiteral("precious.csv")};
        };
        // A disk that takes only a kilobyte more: the rows need ten.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit previous{};
        getrlimit(RLIMIT_FSIZE, &previous);
        rlimit tight = previous;
        tight.rlim_cur = 1024;
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &tight), 0);
        const QString csvError = exportCsv(w, path);
        const QString pictureError = w.exportPicture(dir.filePath(QStringLiteral("precious.png")));
        setrlimit(RLIMIT_FSIZE, &previous);
        QVERIFY(csvError.contains(QStringLiteral("Cannot write")));
        QVERIFY(!pictureError.isEmpty());
        QVERIFY(untouched());
        {
            // Written by another process (a lock as veltrano-cli sweep and
            // Python hold it): refused before anything is written.
            const auto held = OutputFile::openExisting(path.toStdString());
            QVERIFY(std::holds_alternative<OutputFile>(held));
            for (const QString& refused : {w.exportCsv(path), w.exportPicture(path)})
                QVERIFY2(refused.contains(QStringLiteral("precious.csv is being written by another process")),
                         qPrintable(refused));
            QVERIFY(untouched());
        }
        // Cancelled in its progress dialog while it writes (the window's events
        // go on meanwhile, and the file it replaces is held as the new one):
        // nothing is published.
        bool reported = false;
        const auto cancelAtOnce = connect(&w, &ExplorerWindow::csvExportProgress, this, [&] {
            if (std::exchange(reported, true)) return;
            const auto other = OutputFile::openExisting(path.toStdString());
            const auto* refusal = std::get_if<FileRefusal>(&other);
            QVERIFY(refusal && refusal->message.find("being written by another process") != std::string::npos);
            auto* progress = w.findChild<QProgressDialog*>(QStringLiteral("CsvProgress"));
            QVERIFY(progress);
            progress->findChild<QPushButton*>()->click();
        });
        QVERIFY(exportCsv(w, path).contains(QStringLiteral("cancelled")));
        disconnect(cancelAtOnce);
        QVERIFY(untouched());
        // With room, the file is replaced whole.
        QCOMPARE(exportCsv(w, path), QString());
        QVERIFY(readAll(path).startsWith("index,sigma,R,b,"));
        // Pictures of every quantity, PNG or SVG by the name's ending in any case.
        QTemporaryDir pictures;
        for (Shown shown : kAllShown) {
            w.setShown(shown);
            const QString png = pictures.filePath(QStringLiteral("map%1.png").arg(static_cast<int>(shown)));
            QCOMPARE(w.exportPicture(png), QString());
            QVERIFY(QImage(png).width() > 500);
        }
        QCOMPARE(w.exportPicture(pictures.filePath(QStringLiteral("map.SVG"))), QString());
        QVERIFY(readAll(pictures.filePath(QStringLiteral("map.SVG"))).contains("<svg"));
        // Closing the window ends an export under way: nothing is published.
        QSignalSpy ended(&w, &ExplorerWindow::csvExportEnded);
        QCOMPARE(w.exportCsv(dir.filePath(QStringLiteral("closed.csv"))), QString());
        w.close();
        QVERIFY(!ended.isEmpty() || ended.wait(60000));
        QVERIFY(ended.first().at(0).toString().contains(QStringLiteral("cancelled")));
        QCOMPARE(filesIn(dir), QStringList{QStringLiteral("precious.csv")});
    }

    // The colour scale's end comes from the first values, never shrinks as passes
    // add points, and ends near the largest; never negative quantities start at 0.
    void scalesFollowTheValuesKnownSoFar() {
        for (const Shown shown : {Shown::Lambda1, Shown::KaplanYorke, Shown::HalfWidth1}) {
            ExplorerWindow w(small(40, 30, 200), kOptions);
            w.computation().setDeliveryInterval(1);  // many small hand-overs
            w.setShown(shown);
            w.show();
            const MapComputation& c = w.computation();
            const auto largest = [&] {
                double most = 0;
                for (std::int64_t i = 0; i < c.settings().size(); ++i)
                    if (c.done(i))
                        if (const auto v = shownValue(c.result(i), shown)) most = std::max(most, std::fabs(*v));
                return most;
            };
            std::vector<double> ends;
            bool paintedWithoutScale = false;
            connect(&w.computation(), &MapComputation::arrived, &w, [&] {
                ends.push_back(w.scaleEnd());
                paintedWithoutScale |= largest() > 0 && !(w.scaleEnd() > 0);
            });
            QVERIFY(waitComplete(w));
            QCoreApplication::processEvents();
            ends.push_back(w.scaleEnd());
            QVERIFY(!paintedWithoutScale);
            QVERIFY(std::is_sorted(ends.begin(), ends.end()));
            const double most = largest();
            QVERIFY(ends.back() >= most && ends.back() <= most * 1.1);
            QCOMPARE(w.legend()->accessibleDescription().contains(QStringLiteral(" from 0 (")), neverNegative(shown));
            // The scale's title is whole.
            const auto* bar = w.legend()->findChild<drawing::ColourBarWidget*>();
            QVERIFY(QRectF(bar->rect()).contains(bar->titleRect()));
            QVERIFY(bar->titleRect().width() >= bar->fontMetrics().horizontalAdvance(shownTitle(shown)));
        }
    }

    // The window speaks the language, says a rule of its field in it, and so
    // do the panel of a point and the pictures exported.
    void translationsLoad() {
        const struct {
            const char* locale;
            QString stop, stepField, stepRefused, projection, title;
        } cases[] = {{"it_IT", "Ferma", "Passo h", "Passo h deve essere un numero decimale maggiore di 0, non 0",
                      "Proiezione", "λ1 su σ e R — b = 2.6667, n = 50"},
                     {"de_DE", "Stop", "Step h", "Step h must be a decimal number above 0, not 0", "Projection",
                      "λ1 over σ and R — b = 2.6667, n = 50"}};  // another language gets English
        for (const auto& c : cases) {
            QVERIFY(installTranslations(*QCoreApplication::instance(), QLocale(QLatin1String(c.locale))));
            QCOMPARE(QCoreApplication::translate("veltrano::point_panel::PointPanel", "Projection"), c.projection);
            ExplorerWindow w(small(4, 4, 50), kOptions);
            QCOMPARE(w.findChild<QPushButton*>(QStringLiteral("Stop"))->text(), c.stop);
            auto* form = w.findChild<SettingsForm*>();
            for (QLineEdit* field : form->findChildren<QLineEdit*>())
                if (field->accessibleName() == c.stepField) field->setText(QStringLiteral("0"));
            const auto read = form->read();
            QVERIFY(std::holds_alternative<QString>(read));
            QCOMPARE(std::get<QString>(read), c.stepRefused);
            QCOMPARE(QString::fromStdString(heatMapOf(w.computation(), Shown::Lambda1).title), c.title);
            // The classes' legend has room for its longest name after the swatch.
            w.setShown(Shown::Classes);
            const QWidget* legend = w.findChild<QWidget*>(QStringLiteral("Legend"));
            QVERIFY(legend->sizeHint().width() >=
                    32 + legend->fontMetrics().horizontalAdvance(
                             QCoreApplication::translate("veltrano::explorer::LegendWidget", "no error bars")));
            // Each Alt key of the window (menus, labelled controls, those of
            // other flows and of a point's panel too) reaches one control.
            w.openPoint({1, 1});
            QStringList texts;
            for (const QAction* menu : w.menuBar()->actions()) texts << menu->text();
            for (const QLabel* label : w.findChildren<QLabel*>())
                if (label->buddy()) texts << label->text();
            for (const QAbstractButton* button : w.findChildren<QAbstractButton*>()) texts << button->text();
            QMap<QString, QStringList> keys;
            for (const QString& text : texts)
                if (const QKeySequence key = QKeySequence::mnemonic(text); !key.isEmpty()) keys[key.toString()] << text;
            QStringList clashes;
            for (const QStringList& sharing : keys)
                if (sharing.size() > 1) clashes << sharing.join(QLatin1String(" | "));
            QCOMPARE(clashes.join(QLatin1String(" / ")), QString());
            for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
                QCoreApplication::removeTranslator(t);
                delete t;
            }
        }
    }
};

VELTRANO_TEST_CLASS(ExplorerWindowTest, 1);
#include "explorer_window_test.moc"
