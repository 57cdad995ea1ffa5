// The Explorer's computation, offscreen: points per second of a whole map
// against veltrano-cli sweep on the same grid and threads, the time to the
// first (coarse) picture of a 400 x 300 map at n = 500, the event loop's
// worst delay while a map computes, and while the rows of a 999 x 2000 map
// (about 300 MB) are exported.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <thread>

#include "explorer_window.h"
#include "map_computation.h"

namespace {

using namespace veltrano;
using namespace veltrano::explorer;

constexpr int kThreads = 2;

MapSettings map(int columns, int rows, std::int64_t n) {
    MapSettings s;
    s.x = {SweepParameter::Sigma, 0, 40, columns};
    s.y = {SweepParameter::R, 0, 200, rows};
    s.run.intervals = n;
    s.run.errors = true;
    s.run.batch = n / 10;
    return s;
}

ExplorerWindow::Options options() {
    ExplorerWindow::Options o;
    o.threads = kThreads;
    o.remember = false;
    return o;
}

// A whole map in the window's computation (threads, passes, hand-over to
// the event loop).
void BM_WindowMap(benchmark::State& state) {
    const MapSettings s = map(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), state.range(2));
    MapComputation computation(kThreads);
    for (auto _ : state) {
        computation.start(s);
        // Sleeps until an event comes (the hand-over timer wakes it): the
        // overload with a time limit would spin and take a core from the work.
        while (!computation.complete()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    state.counters["points/s"] = benchmark::Counter(static_cast<double>(s.size()) * state.iterations(),
                                                    benchmark::Counter::kIsRate);
}

// The same grid by the command line (its output thrown away).
void BM_CliSweep(benchmark::State& state) {
    const MapSettings s = map(static_cast<int>(state.range(0)), static_cast<int>(state.range(1)), state.range(2));
    QStringList args = QString::fromStdString(commandLine(s)).split(QLatin1Char(' '));
    args.removeFirst();
    args << QStringLiteral("--threads") << QString::number(kThreads) << QStringLiteral("--no-progress");
    for (auto _ : state) {
        QProcess p;
        p.setStandardOutputFile(QProcess::nullDevice());
        p.start(QStringLiteral(VELTRANO_CLI), args);
        if (!p.waitForFinished(-1) || p.exitCode() != 0) state.SkipWithError("veltrano-cli failed");
    }
    state.counters["points/s"] = benchmark::Counter(static_cast<double>(s.size()) * state.iterations(),
                                                    benchmark::Counter::kIsRate);
}

// How long the event loop is held beyond a 5 ms timer's period, at worst.
struct LoopWatch {
    QElapsedTimer clock;
    QTimer tick;
    qint64 last = 0;
    double worstMs = 0;
    LoopWatch() {
        tick.setTimerType(Qt::PreciseTimer);
        tick.setInterval(5);
        QObject::connect(&tick, &QTimer::timeout, [this] {
            const qint64 now = clock.nsecsElapsed();
            worstMs = std::max(worstMs, static_cast<double>(now - last) * 1e-6 - 5.0);
            last = now;
        });
    }
    void start() {
        clock.start();
        tick.start();
    }
    void stop() { tick.stop(); }
};

// From the request to the moment every cell of the first pass is painted.
void BM_FirstPicture(benchmark::State& state) {
    const MapSettings s = map(400, 300, 500);
    ExplorerWindow window(map(8, 8, 10), options());
    window.resize(1200, 800);
    window.show();
    const int coarse = ((400 + 7) / 8) * ((300 + 7) / 8);
    double worst = 0;
    for (auto _ : state) {
        int painted = 0;
        auto connection = QObject::connect(&window.computation(), &MapComputation::arrived,
                                           [&](std::uint64_t, const QVector<WorkUnit>& units) {
                                               for (const WorkUnit& u : units) painted += u.pass == 0 ? u.count : 0;
                                           });
        QElapsedTimer clock;
        clock.start();
        window.showMap(s);
        while (painted < coarse) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        QCoreApplication::processEvents();  // the paint
        const double seconds = static_cast<double>(clock.nsecsElapsed()) * 1e-9;
        state.SetIterationTime(seconds);
        worst = std::max(worst, seconds);
        QObject::disconnect(connection);
        window.computation().stop();
        // A different map next time, so that nothing is skipped as unchanged.
        window.showMap(map(8, 8, 10 + static_cast<int>(state.iterations())));
    }
    state.counters["worst_s"] = worst;
}

// The longest the event loop waits beyond a 5 ms timer while a whole
// 400 x 300 map at n = 500 computes and is painted.
void BM_EventLoopLatency(benchmark::State& state) {
    ExplorerWindow window(map(8, 8, 10), options());
    window.resize(1200, 800);
    window.show();
    double worstMs = 0;
    for (auto _ : state) {
        LoopWatch watch;
        window.showMap(map(400, 300, 500 + static_cast<int>(state.iterations())));
        watch.start();
        while (!window.computation().complete()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        watch.stop();
        worstMs = std::max(worstMs, watch.worstMs);
    }
    state.counters["worst_delay_ms"] = worstMs;
}

// Rows per second of Export CSV for a 999 x 2000 map at n = 1 (written on
// a thread of its own), and the longest the event loop waits beyond a 5 ms
// timer meanwhile.
void BM_CsvExportLatency(benchmark::State& state) {
    MapSettings s = map(999, 2000, 10);
    s.run.intervals = 1;
    s.run.batch = 1;
    ExplorerWindow window(s, options());
    while (!window.computation().complete()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("map.csv"));
    double worstMs = 0;
    for (auto _ : state) {
        QFile::remove(path);
        std::optional<QString> ended;
        auto connection = QObject::connect(&window, &ExplorerWindow::csvExportEnded,
                                           [&](const QString& message) { ended = message; });
        LoopWatch watch;
        watch.start();
        if (!window.exportCsv(path).isEmpty()) state.SkipWithError("the export did not start");
        while (!ended) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        watch.stop();
        QObject::disconnect(connection);
        if (!ended->isEmpty()) state.SkipWithError("the export failed");
        worstMs = std::max(worstMs, watch.worstMs);
    }
    state.counters["rows/s"] =
        benchmark::Counter(static_cast<double>(s.size()) * state.iterations(), benchmark::Counter::kIsRate);
    state.counters["worst_delay_ms"] = worstMs;
}

}  // namespace

BENCHMARK(BM_WindowMap)->Args({160, 120, 500})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_CliSweep)->Args({160, 120, 500})->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_FirstPicture)->Unit(benchmark::kMillisecond)->UseManualTime()->Iterations(5);
BENCHMARK(BM_EventLoopLatency)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);
BENCHMARK(BM_CsvExportLatency)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
