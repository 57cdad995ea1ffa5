#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "attractor_trace.h"
#include "drawn_history_rows.h"
#include "flow_point.h"
#include "rk4_integrator.h"
#include "run_settings.h"
#include "state_trace.h"

namespace veltrano::point_panel {

// One point's run on a thread of its own: the history of its estimates and
// the states it passes through, gathered as the engine produces them and
// read by the window's thread while the run goes on. Destroying the job
// stops the run within a few thousand steps and waits for the thread.
class PointJob {
public:
    PointJob(std::uint64_t generation, const FlowParameters& point, const RunSettings& settings,
             std::size_t traceCapacity = AttractorTrace::kCapacity);
    // A point of another flow of the catalogue; `traceCapacity` 0: the
    // states that fill as much memory as a trace of Lorenz.
    PointJob(std::uint64_t generation, const FlowPoint& flow, std::size_t traceCapacity = 0);
    ~PointJob();
    PointJob(const PointJob&) = delete;
    PointJob& operator=(const PointJob&) = delete;

    // Asks the run to stop within a few thousand steps; returns at once.
    void cancel();
    // Waits for the thread to end (after the run's end or a cancel).
    void wait();

    [[nodiscard]] std::uint64_t generation() const { return generation_; }
    [[nodiscard]] const FlowParameters& point() const { return point_; }
    [[nodiscard]] const RunSettings& settings() const { return settings_; }
    [[nodiscard]] bool finished() const { return finished_.load(std::memory_order_acquire); }

    // What arrived since the previous take (the job remembers what its one
    // reader has seen).
    struct Update {
        std::vector<HistoryRow> rows;        // newly kept rows, in order
        std::optional<HistoryRow> newest;    // the newest row, kept or not
        bool statesRestart = false;          // `states` holds every state kept: drop what was copied before
        std::vector<Triple> states;          // newly kept states, in order
        std::int64_t stride = 1;             // steps between two states kept
        bool finished = false;               // the run has ended; nothing more will arrive
        bool cancelled = false;              // it ended by cancel() before its end
        PointResult result;                  // how it ended, once finished and not cancelled
        // Of a flow: its newly kept states, d doubles each (as `states`),
        // and how it ended: all k estimates and half-widths, the mean
        // divergence along the orbit.
        std::vector<double> flowStates;
        std::vector<double> spectrum, spectrumHalfWidth;
        double meanDivergence = 0.0;
    };
    [[nodiscard]] Update take();

private:
    void run();
    void runFlow();

    const std::uint64_t generation_;
    const FlowParameters point_;
    const RunSettings settings_;
    const std::optional<FlowPoint> flow_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};

    std::mutex mutex_;  // guards everything below
    HistoryRows rows_;
    AttractorTrace trace_;
    StateTrace flowTrace_;
    std::vector<double> spectrum_, spectrumHalfWidth_;
    double meanDivergence_ = 0.0;
    bool cancelled_ = false;
    PointResult result_;
    std::size_t rowsTaken_ = 0;
    std::size_t statesTaken_ = 0;
    std::int64_t thinningsTaken_ = 0;

    std::thread thread_;  // last: started once everything above exists
};

}  // namespace veltrano::point_panel
