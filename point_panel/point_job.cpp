#include "point_job.h"

#include "batched_exponents.h"

namespace veltrano::point_panel {

PointJob::PointJob(std::uint64_t generation, const FlowParameters& point, const RunSettings& settings,
                   std::size_t traceCapacity)
    : generation_(generation), point_(point), settings_(settings), trace_(traceCapacity), thread_([this] { run(); }) {}

PointJob::~PointJob() {
    cancel();
    wait();
}

void PointJob::cancel() {
    stop_.store(true, std::memory_order_relaxed);
}

void PointJob::wait() {
    if (thread_.joinable()) thread_.join();
}

void PointJob::run() {
    // The states of an interval go to the trace with the interval's row, one
    // lock per interval rather than one per step; long intervals hand them
    // over in parts.
    constexpr std::size_t kPart = 4096;
    std::vector<Triple> pending;
    pending.reserve(kPart);
    const auto flush = [&] {
        for (const Triple& xyz : pending) trace_.add(xyz);
        pending.clear();
    };
    const PointResult result = runObserved(
        settings_, point_,
        [&](const IntervalState& state) {
            HistoryRow row{state.interval, state.t, state.expo, std::nullopt};
            if (settings_.errors && state.batches) row.halfWidth = state.batches->halfWidths();
            const std::lock_guard lock(mutex_);
            flush();
            rows_.add(row);
        },
        &stop_,
        [&](double, const Triple& xyz) {
            pending.push_back(xyz);
            if (pending.size() < kPart) return;
            const std::lock_guard lock(mutex_);
            flush();
        });
    const std::lock_guard lock(mutex_);
    flush();
    // A run stopped on request leaves its result as it was made; a run that
    // ended of itself (completed or stopped by a fault) has written it.
    cancelled_ = stop_.load(std::memory_order_relaxed) && result == PointResult{};
    result_ = result;
    finished_.store(true, std::memory_order_release);
}

PointJob::Update PointJob::take() {
    Update update;
    const std::lock_guard lock(mutex_);
    const std::vector<HistoryRow>& kept = rows_.kept();
    update.rows.assign(kept.begin() + static_cast<std::ptrdiff_t>(rowsTaken_), kept.end());
    rowsTaken_ = kept.size();
    update.newest = rows_.newest();
    const std::span<const Triple> states = trace_.states();
    if (trace_.thinnings() != thinningsTaken_) {
        update.statesRestart = true;
        thinningsTaken_ = trace_.thinnings();
        statesTaken_ = 0;
    }
    update.states.assign(states.begin() + static_cast<std::ptrdiff_t>(statesTaken_), states.end());
    statesTaken_ = states.size();
    update.stride = trace_.stride();
    update.finished = finished_.load(std::memory_order_acquire);
    if (update.finished) {
        update.cancelled = cancelled_;
        update.result = result_;
    }
    return update;
}

}  // namespace veltrano::point_panel
