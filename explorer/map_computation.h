#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <QVector>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "batched_exponents.h"
#include "map_passes.h"
#include "map_settings.h"
#include "trace_check.h"

namespace veltrano::explorer {

// What a map of a flow of the catalogue keeps of each cell beside its
// PointResult (which holds the first three exponents): all k exponents and
// half-widths, k a cell, the mean divergence and the status.
struct SystemCells {
    std::size_t k = 0;
    std::vector<double> spectra, halfWidths, divergences;
    std::vector<PointStatus> statuses;

    [[nodiscard]] std::span<const double> spectrum(std::size_t cell) const {
        return std::span(spectra).subspan(cell * k, k);
    }
    [[nodiscard]] std::span<const double> halfWidthsOf(std::size_t cell) const {
        return std::span(halfWidths).subspan(cell * k, k);
    }
};

// Computes a map (of Lorenz, or of any flow of the catalogue) on worker threads (every core, each running points in the
// SIMD lanes of the batched engine), pass by pass, and hands the finished
// cells to the GUI thread. Every start() begins a new generation: the work
// of the previous one is stopped (within a few thousand steps, however long
// an interval) and its threads have ended before the new ones start, and
// nothing it computed is handed on any more. The results live here, one per cell,
// and nothing else grows with the map.
class MapComputation : public QObject {
    Q_OBJECT
public:
    // threads <= 0: every hardware thread.
    explicit MapComputation(int threads = 0, QObject* parent = nullptr);
    ~MapComputation() override;
    MapComputation(const MapComputation&) = delete;
    MapComputation& operator=(const MapComputation&) = delete;

    // Starts computing `settings` (a new generation) and returns at once.
    void start(const MapSettings& settings);
    // Stops the running work within a few thousand steps; what is done stays.
    void stop();

    [[nodiscard]] bool running() const;
    [[nodiscard]] std::uint64_t generation() const { return generation_; }
    [[nodiscard]] const MapSettings& settings() const { return settings_; }
    [[nodiscard]] int threads() const { return threads_; }
    // The result of a cell where done() is true (else an empty result).
    [[nodiscard]] const PointResult& result(std::int64_t index) const;
    [[nodiscard]] bool done(std::int64_t index) const;
    // The k exponents of a cell and their half-widths (Lorenz: the three of
    // result()); empty where the cell is not done.
    [[nodiscard]] std::span<const double> spectrum(std::int64_t index) const;
    [[nodiscard]] std::span<const double> halfWidths(std::int64_t index) const;
    // Of a flow of the catalogue: the mean divergence along a cell's orbit
    // and its status (lyapunov/system_status.h); nullopt for Lorenz, whose
    // status comes from its own rule and the cell's parameters.
    [[nodiscard]] double divergence(std::int64_t index) const;
    [[nodiscard]] std::optional<PointStatus> cellStatus(std::int64_t index) const;
    // Every cell's result, kept alive for its holder whatever is computed
    // next (empty unless complete()).
    [[nodiscard]] std::shared_ptr<const std::vector<PointResult>> completeResults() const;
    // Of a flow of the catalogue, the rest of every cell (null for Lorenz or
    // unless complete()), kept alive as completeResults() is.
    [[nodiscard]] std::shared_ptr<const SystemCells> completeSystemCells() const;
    [[nodiscard]] std::int64_t doneCount() const { return doneCount_; }
    [[nodiscard]] bool complete() const { return settings_.size() > 0 && doneCount_ == settings_.size(); }
    // Cells done per second since the start, and the seconds still to go at
    // that pace (negative while unknown).
    [[nodiscard]] double pointsPerSecond() const;
    [[nodiscard]] double secondsLeft() const;
    // Milliseconds between two hand-overs to the GUI thread.
    void setDeliveryInterval(int milliseconds) { timer_.setInterval(milliseconds); }

signals:
    // Cells of the current generation that are done since the last signal.
    void arrived(std::uint64_t generation, const QVector<veltrano::explorer::WorkUnit>& units);
    // The current generation has ended: every cell done, or stopped.
    void finished(std::uint64_t generation, bool complete);

private:
    struct Job;
    // Hands on the units finished so far; true when every worker has ended.
    bool take();
    void deliver();

    int threads_;
    std::uint64_t generation_ = 0;
    MapSettings settings_;
    std::shared_ptr<Job> job_;
    std::vector<std::uint8_t> done_;
    std::int64_t doneCount_ = 0;
    QElapsedTimer clock_;
    double elapsedAtEnd_ = -1;
    QTimer timer_;
};

}  // namespace veltrano::explorer
