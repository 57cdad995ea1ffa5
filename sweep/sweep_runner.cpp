#include "sweep_runner.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace veltrano {

namespace {

// The blocks in flight: workers take the next block while it lies within a
// window of the first one not yet handed on, and put it in its slot; the
// caller's thread hands the slots on in order.
class BlockQueue {
public:
    BlockQueue(const SweepGrid& grid, IndexRange range, const SweepSettings& settings)
        : grid_(grid),
          range_(range),
          settings_(settings),
          blockSize_(blockSize(settings)),
          blocks_((range.end - range.begin + blockSize_ - 1) / blockSize_),
          slots_(static_cast<std::size_t>(std::max(1, settings.threads) * 4)) {}

    void work() {
        std::vector<FlowParameters> parameters;
        std::vector<PointResult> results;
        for (;;) {
            std::int64_t block;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return stopped_ || next_ >= blocks_ || next_ < handed_ + windowSize(); });
                if (stopped_ || next_ >= blocks_ || externallyStopped()) return;
                block = next_++;
            }
            const std::int64_t first = range_.begin + block * blockSize_;
            const std::int64_t last = std::min(range_.end, first + blockSize_);
            parameters.clear();
            for (std::int64_t i = first; i < last; ++i) parameters.push_back(grid_.pointAt(i));
            results.assign(parameters.size(), {});
            LaneUsage usage;
            runPoints(settings_.path, settings_.run, parameters, results, settings_.usage ? &usage : nullptr,
                      settings_.stop);
            if (externallyStopped()) {
                stop();  // a block cut short is not handed on
                return;
            }

            std::vector<SweepPoint> done;
            done.reserve(parameters.size());
            for (std::size_t i = 0; i < parameters.size(); ++i)
                done.push_back({first + static_cast<std::int64_t>(i), parameters[i], results[i]});
            {
                std::lock_guard lock(mutex_);
                if (settings_.usage) {
                    settings_.usage->busy += usage.busy;
                    settings_.usage->total += usage.total;
                }
                Slot& slot = slots_[static_cast<std::size_t>(block) % slots_.size()];
                slot.block = block;
                slot.points = std::move(done);
            }
            changed_.notify_all();
        }
    }

    bool handOn(const SweepSink& sink) {
        for (std::int64_t block = 0; block < blocks_; ++block) {
            std::vector<SweepPoint> points;
            {
                std::unique_lock lock(mutex_);
                Slot& slot = slots_[static_cast<std::size_t>(block) % slots_.size()];
                // Woken by every block that is put in its slot; a stop from
                // outside is noticed within a tenth of a second.
                while (!changed_.wait_for(lock, std::chrono::milliseconds(100),
                                          [&] { return slot.block == block || stopped_; })) {
                    if (externallyStopped()) stopped_ = true;
                }
                if (slot.block != block) return false;
                points = std::move(slot.points);
                slot.block = -1;
                ++handed_;
            }
            changed_.notify_all();
            if (!sink(points)) {
                stop();
                return false;
            }
        }
        return true;
    }

    void stop() {
        {
            std::lock_guard lock(mutex_);
            stopped_ = true;
        }
        changed_.notify_all();
    }

private:
    struct Slot {
        std::int64_t block = -1;
        std::vector<SweepPoint> points;
    };

    static std::int64_t blockSize(const SweepSettings& settings) {
        if (settings.pointsPerBlock > 0) return settings.pointsPerBlock;
        // With a target error points end at very different times; a lane
        // that ends takes the next point of its block, so longer blocks keep
        // the lanes busy until the last few points of each.
        return lanesOf(settings.path) * (settings.run.targetError > 0 ? 32 : 4);
    }

    [[nodiscard]] bool externallyStopped() const {
        return settings_.stop && settings_.stop->load(std::memory_order_relaxed);
    }

    [[nodiscard]] std::int64_t windowSize() const { return static_cast<std::int64_t>(slots_.size()); }

    const SweepGrid& grid_;
    const IndexRange range_;
    const SweepSettings settings_;
    const std::int64_t blockSize_;
    const std::int64_t blocks_;
    std::vector<Slot> slots_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::int64_t next_ = 0;
    std::int64_t handed_ = 0;
    bool stopped_ = false;
};

}  // namespace

bool runSweep(const SweepGrid& grid, IndexRange range, const SweepSettings& settings, const SweepSink& sink) {
    if (range.end <= range.begin) return true;
    BlockQueue queue(grid, range, settings);
    std::vector<std::jthread> workers;
    for (int i = 0; i < std::max(1, settings.threads); ++i) workers.emplace_back([&queue] { queue.work(); });
    const bool finished = queue.handOn(sink);
    queue.stop();
    return finished;
}

}  // namespace veltrano
