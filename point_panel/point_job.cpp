#include "point_job.h"

#include "batched_exponents.h"
#include "compiled_system.h"
#include "system_exponents.h"
#include "visit_system.h"

namespace veltrano::point_panel {

PointJob::PointJob(std::uint64_t generation, const FlowParameters& point, const RunSettings& settings,
                   std::size_t traceCapacity)
    : generation_(generation),
      point_(point),
      settings_(settings),
      trace_(traceCapacity),
      flowTrace_(1, 2),
      thread_([this] { run(); }) {}

PointJob::PointJob(std::uint64_t generation, const FlowPoint& flow, std::size_t traceCapacity)
    : generation_(generation),
      point_{},
      settings_{},
      flow_(flow),
      trace_(2),
      flowTrace_(flow.dimension, traceCapacity),
      thread_([this] { runFlow(); }) {}

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

void PointJob::runFlow() {
    const FlowPoint& flow = *flow_;
    const std::size_t d = flow.dimension;
    constexpr std::size_t kPart = 4096;
    std::vector<double> pending;
    const auto flush = [&] {
        for (std::size_t i = 0; i + d <= pending.size(); i += d) flowTrace_.add(std::span(pending).subspan(i, d));
        pending.clear();
    };
    PointResult head;
    const auto runPoint = [&](auto system) {
        using System = decltype(system);
        ParametersOf<System> p{};
        for (std::size_t j = 0; j < p.size() && j < flow.parameters.size(); ++j) p[j] = flow.parameters[j];
        const auto observe = [&](const IntervalStateOf<System>& state) {
            HistoryRow row{state.interval, state.t, {}, std::nullopt};
            row.spectrum.assign(state.expo.begin(), state.expo.end());
            for (std::size_t j = 0; j < std::min<std::size_t>(3, row.spectrum.size()); ++j)
                row.expo[j] = row.spectrum[j];
            if (flow.settings.errors && state.batches)
                if (const auto widths = state.batches->halfWidths()) {
                    row.spectrumHalfWidth.assign(widths->begin(),
                                                 widths->begin() + static_cast<std::ptrdiff_t>(row.spectrum.size()));
                    Triple first{};
                    for (std::size_t j = 0; j < std::min<std::size_t>(3, row.spectrum.size()); ++j)
                        first[j] = row.spectrumHalfWidth[j];
                    row.halfWidth = first;
                }
            const std::lock_guard lock(mutex_);
            flush();
            rows_.add(row);
        };
        const auto step = [&](double, std::span<const double> x) {
            pending.insert(pending.end(), x.begin(), x.end());
            if (pending.size() < kPart * d) return;
            const std::lock_guard lock(mutex_);
            flush();
        };
        const auto r = runSystemObserved(system, flow.settings, p, observe, &stop_, step);
        head.completed = r.completed;
        head.t = r.t;
        head.intervals = r.intervals;
        head.batches = r.batches;
        head.errorsKnown = r.errorsKnown;
        for (std::size_t j = 0; j < std::min<std::size_t>(3, r.exponents); ++j) {
            head.expo[j] = r.expo[j];
            head.halfWidth[j] = r.halfWidth[j];
        }
        const std::lock_guard lock(mutex_);
        spectrum_.assign(r.expo.begin(), r.expo.begin() + static_cast<std::ptrdiff_t>(r.exponents));
        spectrumHalfWidth_.assign(r.halfWidth.begin(), r.halfWidth.begin() + static_cast<std::ptrdiff_t>(r.exponents));
        meanDivergence_ = r.meanDivergence;
    };
    // A typed flow runs its code compiled for the two lanes of one run, here
    // off the window's thread; a text that does not compile ends the run as
    // an error at t = 0.
    if (flow.equations.empty()) {
        visitSystem(flow.name, d, runPoint);
    } else {
        try {
            equations::visitCompiled(equations::parseEquations(flow.equations), SimdPath::Lanes128, runPoint);
        } catch (const std::exception&) {
            head = PointResult{};
        }
    }
    const std::lock_guard lock(mutex_);
    flush();
    cancelled_ = stop_.load(std::memory_order_relaxed) && !head.completed && head.t == 0;
    result_ = head;
    finished_.store(true, std::memory_order_release);
}

PointJob::Update PointJob::take() {
    Update update;
    const std::lock_guard lock(mutex_);
    const std::vector<HistoryRow>& kept = rows_.kept();
    update.rows.assign(kept.begin() + static_cast<std::ptrdiff_t>(rowsTaken_), kept.end());
    rowsTaken_ = kept.size();
    update.newest = rows_.newest();
    if (!flow_) {
        const std::span<const Triple> states = trace_.states();
        if (trace_.thinnings() != thinningsTaken_) {
            update.statesRestart = true;
            thinningsTaken_ = trace_.thinnings();
            statesTaken_ = 0;
        }
        update.states.assign(states.begin() + static_cast<std::ptrdiff_t>(statesTaken_), states.end());
        statesTaken_ = states.size();
        update.stride = trace_.stride();
    } else {
        // A flow's states, d doubles each.
        if (flowTrace_.thinnings() != thinningsTaken_) {
            update.statesRestart = true;
            thinningsTaken_ = flowTrace_.thinnings();
            statesTaken_ = 0;
        }
        const std::size_t d = flowTrace_.width();
        for (std::size_t i = statesTaken_; i < flowTrace_.size(); ++i) {
            const auto x = flowTrace_.state(i);
            update.flowStates.insert(update.flowStates.end(), x.begin(), x.begin() + static_cast<std::ptrdiff_t>(d));
        }
        statesTaken_ = flowTrace_.size();
        update.stride = flowTrace_.stride();
    }
    update.finished = finished_.load(std::memory_order_acquire);
    if (update.finished) {
        update.cancelled = cancelled_;
        update.result = result_;
        update.spectrum = spectrum_;
        update.spectrumHalfWidth = spectrumHalfWidth_;
        update.meanDivergence = meanDivergence_;
    }
    return update;
}

}  // namespace veltrano::point_panel
