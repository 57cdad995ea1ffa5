// The panel of one point against veltrano-cli history and the single run.

#include "point_panel.h"

#include <QAbstractButton>
#include <QChart>
#include <QLabel>
#include <QLegendMarker>
#include <QLogValueAxis>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QSignalSpy>
#include <map>

#include "attractor_view.h"
#include "batched_exponents.h"
#include "convergence_view.h"
#include "exponents.h"
#include "kaplan_yorke.h"
#include "number_text.h"
#include "point_job.h"
#include "precise_text.h"
#include "rk4_integrator.h"
#include "system_exponents.h"
#include "ui_test_support.h"
#include "visit_system.h"

using namespace veltrano;
using veltrano::point_panel::HistoryRow;
using veltrano::point_panel::PointJob;
using veltrano::point_panel::PointPanel;

namespace {

const FlowParameters kClassic{10, 28, 2.5};

// One run, as the command line states it and as the panel is asked it.
struct Case {
    const char* name;
    QStringList options;
    FlowParameters p;
    RunSettings settings;
};

const std::vector<Case> kCases = {
    {"the calculator's experiment", {}, {10, 28, 8.0 / 3}, {.intervals = 3000}},
    {"error bars", {"--errors", "--batch", "100"}, {10, 28, 2.5},
     {.intervals = 3000, .errors = true, .batch = 100}},
    {"transient and initial point", {"--transient", "300", "--initial", "0.5,-1,20"}, {16, 45.92, 4},
     {.intervals = 1500, .transient = 300, .initial = {0.5, -1, 20}}},
    {"step and steps per interval", {"--step", "0.005", "--steps-per-interval", "12"}, {10, 160, 2.5},
     {.intervals = 2500, .step = 0.005, .stepsPerInterval = 12}},
    {"target error, a long run", {"--errors", "--batch", "50", "--target-error", "0.02"}, {10, 28, 2.5},
     {.intervals = 200000, .errors = true, .batch = 50, .targetError = 0.02}},
    {"three batches: never a bar", {"--errors", "--batch", "100"}, {10, 28, 2.5},
     {.intervals = 300, .errors = true, .batch = 100}},
    {"stopped by a fault", {"--step", "0.2"}, {10, 28, 2.5}, {.intervals = 50, .step = 0.2}},
};

QString decimal(double v) { return QString::fromStdString(preciseText(v)); }

// A row as veltrano-cli history writes it.
QString rowText(const HistoryRow& row, bool errors) {
    QString text = QString::number(row.interval) + ',' + decimal(row.t);
    for (double e : row.expo) text += ',' + decimal(e);
    if (errors && row.halfWidth)
        for (double w : *row.halfWidth) text += ',' + decimal(w);
    else if (errors)
        text += QStringLiteral(",,,");
    return text;
}

struct CommandLineHistory {
    std::map<std::int64_t, QString> rows;  // by interval
    int status = -1;
};

CommandLineHistory commandLineHistory(const Case& c) {
    QStringList args{QStringLiteral("history")};
    args << c.options << QString::number(c.settings.intervals) << decimal(c.p.sv) << decimal(c.p.rv)
         << decimal(c.p.bv);
    QProcess tool;
    tool.start(QStringLiteral(VELTRANO_CLI), args);
    CommandLineHistory history;
    if (!tool.waitForFinished(120000)) return history;
    history.status = tool.exitCode();
    const QStringList lines = QString::fromUtf8(tool.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    for (qsizetype i = 1; i < lines.size(); ++i)
        history.rows[lines[i].section(',', 0, 0).toLongLong()] = lines[i];
    return history;
}

QString textOf(PointPanel& panel, const char* name) {
    auto* label = panel.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<no %1>").arg(QLatin1String(name));
}

// The states (x, y, z) after each step of the single run's integrator from
// `initial`, the transient's steps left out.
std::vector<Triple> singleRunStates(const Case& c) {
    const std::int64_t transient = c.settings.transient * c.settings.stepsPerInterval;
    StateVector state{};
    for (std::size_t i = 0; i < kDim; ++i) state[i] = c.settings.initial[i], state[tangentIndex(i, i)] = 1.0;
    double t = 0;
    std::vector<Triple> states;
    for (std::int64_t k = 0; k < transient + c.settings.intervals * c.settings.stepsPerInterval; ++k) {
        if (integrateRk4(state, t, 1, c.p) != 1) break;
        if (k >= transient) states.push_back({state[0], state[1], state[2]});
    }
    return states;
}

}  // namespace

class PointPanelTest : public QObject {
    Q_OBJECT

private slots:
    void rowsAndEstimatesEqualTheCommandLine_data() {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < kCases.size(); ++i) QTest::newRow(kCases[i].name) << static_cast<int>(i);
    }
    void rowsAndEstimatesEqualTheCommandLine() {
        QFETCH(int, index);
        const Case& c = kCases[static_cast<std::size_t>(index)];
        const CommandLineHistory expected = commandLineHistory(c);
        QVERIFY(expected.status == 0 || expected.status == 3);
        // Numbers are written with the point in every language.
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        const auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });

        PointPanel panel;
        panel.question(c.p, c.settings);
        QVERIFY(QSignalSpy(&panel, &PointPanel::finished).wait(120000));
        QVERIFY(!panel.running());
        const std::vector<HistoryRow> rows = panel.historyRows();
        QCOMPARE(rows.empty(), expected.rows.empty());
        for (const HistoryRow& row : rows) {
            const auto it = expected.rows.find(row.interval);
            QVERIFY2(it != expected.rows.end(), qPrintable(QStringLiteral("interval %1").arg(row.interval)));
            QCOMPARE(rowText(row, c.settings.errors), it->second);
        }
        QVERIFY(panel.result().has_value());
        // A screen reader reads each value as its name, what it is as its description.
        for (QLabel* label : panel.findChildren<QLabel*>()) {
            if (!(label->focusPolicy() & Qt::TabFocus)) continue;
            QCOMPARE(spoken(label), label->text());
            QVERIFY2(!spoken(label, QAccessible::Description).isEmpty(), qPrintable(label->objectName()));
        }
        const PointResult& result = *panel.result();
        QCOMPARE(result.completed, expected.status == 0);
        if (!result.completed) {
            QVERIFY(textOf(panel, "status").startsWith(QStringLiteral("error")));
            QCOMPARE(textOf(panel, "lambda1"), QStringLiteral("?"));
            return;
        }
        // The last row is the run's result, and the values shown are its own.
        QCOMPARE(rowText(rows.back(), c.settings.errors), expected.rows.rbegin()->second);
        QCOMPARE(rows.back().expo, result.expo);
        QVERIFY(textOf(panel, "status").startsWith(QStringLiteral("ok")));
        for (std::size_t k = 0; k < 3; ++k) {
            const QString shown = textOf(panel, k == 0 ? "lambda1" : k == 1 ? "lambda2" : "lambda3");
            QVERIFY2(shown.startsWith(QString::number(result.expo[k], 'g', 8)), qPrintable(shown));
            QCOMPARE(shown.contains(QStringLiteral("±")), result.errorsKnown);
            if (result.errorsKnown)
                QVERIFY(shown.endsWith(QStringLiteral("± ") + QString::number(result.halfWidth[k], 'g', 2)));
        }
        QCOMPARE(textOf(panel, "b"), QString::fromStdString(shortest(c.p.bv)));
        QCOMPARE(textOf(panel, "dimension"), QString::number(kaplanYorke(result.expo), 'g', 6));
        const QString note = textOf(panel, "errorsNote");
        QCOMPARE(note.startsWith(QStringLiteral("Error bars are off")), !c.settings.errors);
        QCOMPARE(note.startsWith(QStringLiteral("± 95 % half-width")), result.errorsKnown);
        if (c.settings.errors && !result.errorsKnown)
            QCOMPARE(note, QStringLiteral("No error bars: they need at least 10 batches, and this run has %1 (n = %2, "
                                          "batches of %3 intervals).")
                               .arg(c.settings.intervals / c.settings.batch)
                               .arg(c.settings.intervals)
                               .arg(c.settings.batch));
        // Every state the attractor shows is each step's of the single run, to the bit (the runs of the usual
        // step without error bars: the calculator's experiment; a transient and another initial point). A trace
        // far smaller than the run keeps every stride-th of them.
        if (c.settings.errors || c.settings.step != RunSettings{}.step) return;
        QCOMPARE(panel.attractorStride(), 1);
        const std::span<const Triple> drawn = panel.attractorStates();
        QVERIFY(std::ranges::equal(drawn, singleRunStates(c)));
        PointJob job(1, c.p, c.settings, 64);
        job.wait();
        const PointJob::Update update = job.take();
        QVERIFY(update.stride >= 512);
        const auto stride = static_cast<std::size_t>(update.stride);
        QCOMPARE(update.states.size(), drawn.size() / stride);
        for (std::size_t i = 0; i < update.states.size(); ++i) QCOMPARE(update.states[i], drawn[(i + 1) * stride - 1]);
    }

    // A flow's states read while its run goes, through many thinnings: they
    // end as the states of every stride-th step of the run alone.
    void aFlowsStatesArriveWhileItRuns() {
        const point_panel::FlowPoint flow{
            "rossler", 3, {0.2, 0.2, 5.7}, {.intervals = 20'000, .initial = {1, 1, 1}, .exponents = 3}, {}};
        PointJob job(1, flow, 64);
        std::vector<double> states;
        std::int64_t stride = 1;
        int takes = 0;
        for (bool finished = false; !finished; ++takes) {
            const PointJob::Update update = job.take();
            if (update.statesRestart) states.clear();
            states.insert(states.end(), update.flowStates.begin(), update.flowStates.end());
            stride = update.stride;
            finished = update.finished;
            QTest::qWait(1);
        }
        QVERIFY(takes > 2);
        // Once all is taken nothing more comes.
        const PointJob::Update again = job.take();
        QVERIFY(!again.statesRestart && again.flowStates.empty());
        std::vector<double> expected;
        std::int64_t step = 0;
        runSystemObserved(
            RosslerSystem{}, flow.settings, {0.2, 0.2, 5.7}, [](const auto&) {}, nullptr,
            [&](double, std::span<const double> x) {
                if (++step % stride == 0) expected.insert(expected.end(), x.begin(), x.end());
            });
        QVERIFY(states == expected);
    }

    // A new question while one runs: from then on only the new point's values are shown, never the old run's.
    // Its attractor is drawn at the screen's pixels, not enlarged from a picture at 100 %: at 200 % its thin
    // lines leave 2 x 2 blocks of device pixels that are not of one colour. Its plane can be switched, and
    // every control is reached by the keyboard. However a run is stopped it ends, within an interval even when
    // that is minutes of work: by the Stop button (which says so), by closing the panel or the window it lives
    // in, by the panel's end.
    void newQuestionsStopsAndTheAttractor() {
        const FlowParameters newPoint{16, 45.92, 4};
        const RunSettings newRun = {.intervals = 4000, .errors = true, .batch = 200};
        std::map<std::int64_t, HistoryRow> expected;
        const PointResult expectedResult = runObserved(newRun, newPoint, [&](const IntervalState& state) {
            expected[state.interval] = {state.interval, state.t, state.expo, state.batches->halfWidths()};
        });
        const RunSettings s = {.intervals = 100'000'000};
        const auto endsWhen = [](PointPanel& panel, const std::function<void()>& stop, bool waitFirst = true) {
            if (waitFirst) QTRY_VERIFY_WITH_TIMEOUT(!panel.historyRows().empty(), 60000);
            QSignalSpy ended(&panel, &PointPanel::finished);
            stop();
            QVERIFY(ended.wait(60000));
            QVERIFY(!panel.running());
        };
        PointPanel panel;
        panel.resize(1180, 520);
        QVERIFY(shownActive(&panel));
        auto* stop = panel.findChild<QPushButton*>(QStringLiteral("stop"));
        panel.question(kClassic, s);
        endsWhen(panel, [&] { stop->click(); });
        QVERIFY(!panel.result().has_value());
        QVERIFY(textOf(panel, "status").startsWith(QStringLiteral("stopped")));
        QVERIFY(!stop->isEnabled());
        panel.question(kClassic, s);
        QTRY_VERIFY_WITH_TIMEOUT(!panel.historyRows().empty() && !panel.attractorStates().empty(), 60000);
        QTRY_VERIFY(!textOf(panel, "lambda1").isEmpty());
        const std::uint64_t before = panel.generation();
        QSignalSpy ended(&panel, &PointPanel::finished);
        panel.question(newPoint, newRun);
        QCOMPARE(panel.generation(), before + 1);
        QVERIFY(panel.historyRows().empty() && panel.attractorStates().empty());
        QVERIFY(textOf(panel, "lambda1").isEmpty());
        QCOMPARE(textOf(panel, "sigma"), QStringLiteral("16"));
        QCOMPARE(textOf(panel, "r"), QStringLiteral("45.92"));
        while (ended.isEmpty()) {
            for (const HistoryRow& row : panel.historyRows()) {
                const auto it = expected.find(row.interval);
                QVERIFY(it != expected.end());
                QCOMPARE(row, it->second);
            }
            QVERIFY(ended.wait(5) || ended.isEmpty());
        }
        QCOMPARE(ended.size(), 1);  // the old run's end is not announced
        QCOMPARE(*panel.result(), expectedResult);
        QCOMPARE(panel.historyRows().back(), expected.rbegin()->second);
        auto* view = panel.findChild<point_panel::AttractorView*>(QStringLiteral("attractor"));
        // The last values' texts may still have a layout pass waiting that
        // narrows the view by a pixel: let it run before the picture is taken.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCoreApplication::processEvents();
        QTRY_VERIFY_WITH_TIMEOUT(!view->drawing(), 30000);
        const qreal ratio = view->devicePixelRatioF();
        const QImage image = grabbed(view);
        // Inside the plotted area, off its frame.
        const QRect inside = QRectF(view->plotArea().topLeft() * ratio, view->plotArea().size() * ratio)
                                 .toAlignedRect()
                                 .adjusted(4, 4, -4, -4);
        bool finer = false;
        for (int y = inside.top() & ~1; y + 1 <= inside.bottom() && !finer; y += 2)
            for (int x = inside.left() & ~1; x + 1 <= inside.right() && !finer; x += 2)
                finer = image.pixel(x, y) != image.pixel(x + 1, y) || image.pixel(x, y) != image.pixel(x, y + 1) ||
                        image.pixel(x, y) != image.pixel(x + 1, y + 1);
        QVERIFY(finer || ratio < 2);
        // The buttons switch the plane (x–z first) and its description.
        QVERIFY(view->accessibleDescription().startsWith(QStringLiteral("Projection on x–z of 80,000 states")) ||
                view->accessibleDescription().startsWith(QStringLiteral("Projection on x–z of 80000 states")));
        panel.findChild<QRadioButton*>(QStringLiteral("projection2"))->click();
        QVERIFY(view->accessibleDescription().startsWith(QStringLiteral("Projection on y–z")));
        QTRY_VERIFY_WITH_TIMEOUT(!view->drawing(), 30000);
        QVERIFY(grabbed(view) != image);
        panel.findChild<QRadioButton*>(QStringLiteral("projection1"))->click();
        QCOMPARE(view->projection(), point_panel::Projection::XY);
        // Back on x–z: the same picture, nothing left of the other planes.
        // The picture is drawn in pieces: wait for it whole.
        panel.findChild<QRadioButton*>(QStringLiteral("projection0"))->click();
        QTRY_COMPARE_WITH_TIMEOUT(grabbed(view), image, 30000);
        // Tab goes round every control once, in the order they are read (the
        // values, the plane, then the charts); each says what it is to a screen reader.
        panel.findChild<QLabel*>(QStringLiteral("sigma"))->setFocus();
        const QStringList names = tabStops([](QWidget* w) {
            const QString name = w->objectName().isEmpty() ? w->parentWidget()->objectName() : w->objectName();
            return !w->accessibleName().isEmpty() || qobject_cast<QAbstractButton*>(w) ? name : name + "(unnamed)";
        });
        QCOMPARE(names.join(' '), QStringLiteral("sigma r b lambda1 lambda2 lambda3 dimension time status projection0 "
                                                 "convergence attractor"));
        // The other planes lie behind the arrow keys, as in any group of choices.
        panel.findChild<QRadioButton*>(QStringLiteral("projection0"))->setFocus();
        for (const char* next : {"projection1", "projection2"}) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
            QCOMPARE(QApplication::focusWidget()->objectName(), QString::fromLatin1(next));
        }
        // The Stop button while a run goes comes before the chosen plane.
        panel.question(kClassic, s);
        stop->setFocus();
        QTest::keyClick(stop, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("projection2"));
        endsWhen(panel, [&] { panel.close(); });
        // In an interval of 10^9 steps: the stop is seen within it.
        QWidget window;
        auto* inner = new PointPanel(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        inner->question(kClassic, {.intervals = 100'000'000, .stepsPerInterval = 1'000'000'000});
        endsWhen(*inner, [&] { QTest::qWait(50), window.close(); }, false);
        // Destroyed (with the window, at the end) while it computes, with an earlier question still ending.
        inner->question(kClassic, s);
        inner->question({12, 30, 2.5}, s);
        QTRY_VERIFY_WITH_TIMEOUT(!inner->historyRows().empty(), 60000);
    }

    // On a narrow chart the legend names each estimate in words and the axis
    // of t spaces its labels so that each is whole.
    void convergenceLabelsAreWhole() {
        for (const bool errors : {true, false}) {
            point_panel::ConvergenceView view;
            view.resize(260, 300);
            view.show();
            QVERIFY(QTest::qWaitForWindowExposed(&view));
            std::vector<HistoryRow> rows;
            for (std::int64_t k = 1; k <= 1'000'000; k = k < 1000 ? k + 1 : k + k / 100) {
                const auto x = static_cast<double>(k);
                rows.push_back({k, x * 0.2, {1 / x, -1 / x, -14 + 1 / x}, std::nullopt});
                if (errors && k >= 10) rows.back().halfWidth = Triple{0.5 / x, 0.25 / x, 0.1 / x};
            }
            view.append(rows, rows.back(), errors);
            view.redraw();
            QCoreApplication::processEvents();
            QChart* chart = view.chart();
            QStringList named;
            double legendWidth = 0;
            const QFontMetricsF legendFont(chart->legend()->font());
            for (QLegendMarker* marker : chart->legend()->markers())
                if (marker->isVisible()) {
                    named << marker->label();
                    legendWidth += legendFont.horizontalAdvance(marker->label()) + 2 * legendFont.height();
                }
            QCOMPARE(named, (QStringList{QStringLiteral("λ1"), QStringLiteral("λ2"), QStringLiteral("λ3")}));
            QVERIFY(legendWidth <= chart->plotArea().width());
            auto* t = qobject_cast<QLogValueAxis*>(chart->axes(Qt::Horizontal).value(0));
            QVERIFY(t);
            const double perLabel = chart->plotArea().width() * std::log10(t->base()) / std::log10(t->max() / t->min());
            QVERIFY2(perLabel >= QFontMetricsF(t->labelsFont()).horizontalAdvance(QStringLiteral("100000")),
                     qPrintable(QStringLiteral("%1 px a label").arg(perLabel)));
        }
    }
};

VELTRANO_TEST_CLASS(PointPanelTest, 1);
#include "point_panel_test.moc"
