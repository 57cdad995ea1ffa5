#include "map_computation.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <mutex>
#include <thread>

#include "compiled_system.h"
#include "system_exponents.h"
#include "system_status.h"
#include "visit_system.h"

namespace veltrano::explorer {

// One generation's work. Workers take units in order and write the results
// of their cells straight into `results` (each cell is written by one
// thread only); the GUI thread reads a cell only after it has taken the
// cell's unit from `finished` under the mutex.
struct MapComputation::Job {
    Job(const MapSettings& s, int threads)
        : grid(gridOf(s)),
          run(s.run),
          path(widestPath()),
          units(workUnits(s.x.count, s.y.count, unitSize(s.run, path))),
          results(static_cast<std::size_t>(s.size())) {
        if (s.system) prepareSystem(s);
        working = threads;
        for (int i = 0; i < threads; ++i) workers.emplace_back([this] { work(); });
    }
    ~Job() { end(); }
    Job(const Job&) = delete;
    Job& operator=(const Job&) = delete;

    // Stops the workers and waits for them: they see the stop within a few
    // thousand steps, however long an interval is.
    void end() {
        stop = true;
        workers.clear();  // joins
    }

    // As many cells as the command line's sweep gives a thread at a time.
    static int unitSize(const RunSettings& run, SimdPath path) {
        return lanesOf(path) * (run.targetError > 0 ? 32 : 4);
    }

    // A flow of the catalogue or a typed one: its engine for the flow's own type, its k
    // exponents, half-widths, mean divergence and status kept per cell
    // beside the first three in `results`.
    void prepareSystem(const MapSettings& s) {
        const std::size_t k = cells.k = s.system->exponents;
        const auto count = static_cast<std::size_t>(s.size());
        cells.spectra.assign(count * k, 0.0);
        cells.halfWidths.assign(count * k, 0.0);
        cells.divergences.assign(count, 0.0);
        cells.statuses.assign(count, PointStatus::Error);
        const SystemSettings systemSettings = systemRun(s);
        const auto prepare = [&](auto system) {
            using System = decltype(system);
            runCells = [this, system, systemSettings, s](std::span<const std::int64_t> indices) {
                std::vector<ParametersOf<System>> points(indices.size());
                for (std::size_t c = 0; c < indices.size(); ++c) {
                    const std::vector<double> p = systemPoint(s, indices[c]);
                    // A typed flow has room for more parameters than its text names.
                    for (std::size_t j = 0; j < points[c].size() && j < p.size(); ++j) points[c][j] = p[j];
                }
                std::vector<ResultOf<System>> out(indices.size());
                runSystemPoints(path, system, systemSettings, std::span<const ParametersOf<System>>(points),
                                std::span<ResultOf<System>>(out), nullptr, &stop);
                if (stop.load()) return;
                for (std::size_t c = 0; c < indices.size(); ++c) keep(indices[c], out[c], systemSettings, system);
            };
        };
        // A typed flow runs its code compiled for this path (once per
        // process for each text, so at once where it was compiled before).
        if (!s.system->equations.empty())
            equations::visitCompiled(equations::parseEquations(s.system->equations), path, prepare);
        else
            visitSystem(s.system->name, s.system->dimension, prepare);
    }

    template <class System, class Result>
    void keep(std::int64_t cell, const Result& r, const SystemSettings& settings, const System& system) {
        const auto i = static_cast<std::size_t>(cell);
        PointResult& head = results[i];
        head.completed = r.completed;
        head.t = r.t;
        head.intervals = r.intervals;
        head.batches = r.batches;
        head.errorsKnown = r.errorsKnown;
        const std::size_t k = cells.k;
        for (std::size_t j = 0; j < std::min<std::size_t>(3, k); ++j) {
            head.expo[j] = r.expo[j];
            head.halfWidth[j] = r.halfWidth[j];
        }
        std::copy_n(r.expo.begin(), k, cells.spectra.begin() + static_cast<std::ptrdiff_t>(i * k));
        std::copy_n(r.halfWidth.begin(), k, cells.halfWidths.begin() + static_cast<std::ptrdiff_t>(i * k));
        cells.divergences[i] = r.meanDivergence;
        cells.statuses[i] = veltrano::systemStatus(r.completed, r.t, r.estimates(), r.meanDivergence,
                                                   system.dimension(), settings.step, settings.stepsPerInterval);
    }

    void work() {
        std::vector<FlowParameters> points;
        std::vector<PointResult> out;
        std::vector<std::int64_t> indices;
        for (;;) {
            const std::size_t u = next.fetch_add(1);
            if (u >= units.size() || stop.load()) break;
            const WorkUnit& unit = units[u];
            if (runCells) {
                indices.clear();
                for (int c = 0; c < unit.count; ++c)
                    indices.push_back(std::int64_t{unit.column} * grid.axes[1].count + unit.firstRow +
                                      std::int64_t{c} * unit.rowStep);
                runCells(indices);
                if (stop.load()) break;
                std::lock_guard lock(mutex);
                finished.push_back(unit);
                continue;
            }
            points.clear();
            for (int k = 0; k < unit.count; ++k)
                points.push_back(grid.pointAt(std::int64_t{unit.column} * grid.axes[1].count + unit.firstRow +
                                              std::int64_t{k} * unit.rowStep));
            out.assign(points.size(), {});
            runPoints(path, run, points, out, nullptr, &stop);
            if (stop.load()) break;  // a unit cut short is not handed on
            for (int k = 0; k < unit.count; ++k)
                results[static_cast<std::size_t>(std::int64_t{unit.column} * grid.axes[1].count + unit.firstRow +
                                                 std::int64_t{k} * unit.rowStep)] = out[static_cast<std::size_t>(k)];
            std::lock_guard lock(mutex);
            finished.push_back(unit);
        }
        std::lock_guard lock(mutex);
        --working;
    }

    // The units finished since the last call, and whether every worker has
    // ended.
    bool take(QVector<WorkUnit>& taken) {
        std::lock_guard lock(mutex);
        taken.swap(finished);
        finished.clear();
        return working == 0;
    }

    const SweepGrid grid;
    const RunSettings run;
    const SimdPath path;
    const std::vector<WorkUnit> units;
    std::vector<PointResult> results;
    SystemCells cells;  // of a flow of the catalogue (else empty)
    std::function<void(std::span<const std::int64_t>)> runCells;
    std::atomic<std::size_t> next{0};
    std::atomic<bool> stop{false};
    std::mutex mutex;
    QVector<WorkUnit> finished;
    int working = 0;
    std::vector<std::jthread> workers;  // last: joined before the rest goes
};

MapComputation::MapComputation(int threads, QObject* parent)
    : QObject(parent),
      threads_(threads > 0 ? threads : static_cast<int>(std::max(1U, std::thread::hardware_concurrency()))) {
    timer_.setInterval(30);
    connect(&timer_, &QTimer::timeout, this, &MapComputation::deliver);
}

MapComputation::~MapComputation() {
    if (job_) job_->end();
}

void MapComputation::start(const MapSettings& settings) {
    // The previous generation's threads end before the new ones begin, so
    // that however fast the settings change, no more than `threads_` work.
    if (job_) job_->end();
    ++generation_;
    settings_ = settings;
    done_.assign(static_cast<std::size_t>(settings.size()), 0);
    doneCount_ = 0;
    elapsedAtEnd_ = -1;
    clock_.start();
    job_ = std::make_shared<Job>(settings, threads_);
    timer_.start();
}

void MapComputation::stop() {
    if (!job_) return;
    if (running()) {
        take();  // what is done is shown
        job_->stop = true;
        elapsedAtEnd_ = static_cast<double>(clock_.nsecsElapsed()) * 1e-9;
        emit finished(generation_, false);
    }
    // The results stay readable while the job is current; its threads end
    // on their own within a few thousand steps.
    if (!running()) timer_.stop();
}

bool MapComputation::running() const {
    return job_ && !job_->stop.load() && elapsedAtEnd_ < 0;
}

const PointResult& MapComputation::result(std::int64_t index) const {
    static const PointResult none;
    if (!done(index)) return none;
    return job_->results[static_cast<std::size_t>(index)];
}

std::shared_ptr<const std::vector<PointResult>> MapComputation::completeResults() const {
    if (!complete()) return {};
    return {job_, &job_->results};
}

std::span<const double> MapComputation::spectrum(std::int64_t index) const {
    if (!done(index)) return {};
    if (!job_->runCells) return job_->results[static_cast<std::size_t>(index)].expo;
    return job_->cells.spectrum(static_cast<std::size_t>(index));
}

std::span<const double> MapComputation::halfWidths(std::int64_t index) const {
    if (!done(index)) return {};
    if (!job_->runCells) return job_->results[static_cast<std::size_t>(index)].halfWidth;
    return job_->cells.halfWidthsOf(static_cast<std::size_t>(index));
}

double MapComputation::divergence(std::int64_t index) const {
    return done(index) && job_->runCells ? job_->cells.divergences[static_cast<std::size_t>(index)] : 0.0;
}

std::optional<PointStatus> MapComputation::cellStatus(std::int64_t index) const {
    if (!done(index) || !job_->runCells) return std::nullopt;
    return job_->cells.statuses[static_cast<std::size_t>(index)];
}

std::shared_ptr<const SystemCells> MapComputation::completeSystemCells() const {
    if (!complete() || !job_->runCells) return {};
    return {job_, &job_->cells};
}

bool MapComputation::done(std::int64_t index) const {
    return index >= 0 && static_cast<std::size_t>(index) < done_.size() && done_[static_cast<std::size_t>(index)] != 0;
}

double MapComputation::pointsPerSecond() const {
    const double seconds = elapsedAtEnd_ >= 0 ? elapsedAtEnd_ : static_cast<double>(clock_.nsecsElapsed()) * 1e-9;
    return seconds > 0 ? static_cast<double>(doneCount_) / seconds : 0;
}

double MapComputation::secondsLeft() const {
    const double rate = pointsPerSecond();
    if (!(rate > 0)) return -1;
    return static_cast<double>(settings_.size() - doneCount_) / rate;
}

bool MapComputation::take() {
    QVector<WorkUnit> units;
    const bool ended = job_->take(units);
    const std::int64_t rows = settings_.y.count;
    for (const WorkUnit& u : units)
        for (int k = 0; k < u.count; ++k) {
            done_[static_cast<std::size_t>(u.column * rows + u.firstRow + std::int64_t{k} * u.rowStep)] = 1;
            ++doneCount_;
        }
    if (!units.isEmpty()) emit arrived(generation_, units);
    return ended;
}

void MapComputation::deliver() {
    if (!job_ || job_->stop.load()) {
        timer_.stop();
        return;
    }
    const std::uint64_t generation = generation_;
    const bool ended = take();
    if (ended && generation == generation_ && job_ && !job_->stop.load()) {
        elapsedAtEnd_ = static_cast<double>(clock_.nsecsElapsed()) * 1e-9;
        job_->stop = true;
        timer_.stop();
        emit finished(generation, complete());
    }
}

}  // namespace veltrano::explorer
