#pragma once

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <span>
#include <thread>
#include <vector>

#include "simd_path.h"
#include "sweep_grid.h"

namespace veltrano {

// How the points of a sweep are shared out: threads, points a thread takes
// at a time, where the lanes' usage goes and what stops the sweep early.
struct BlockPlan {
    int threads = 1;
    std::int64_t pointsPerBlock = 1;
    LaneUsage* usage = nullptr;
    const std::atomic<bool>* stop = nullptr;
};

// Points a thread takes at a time when the caller leaves it open: a few
// batches of lanes, more when points end at different times (a target
// error): a lane that ends takes the next point of its block, so longer
// blocks keep the lanes busy until the last few points of each.
[[nodiscard]] inline std::int64_t defaultBlockSize(SimdPath path, bool targetError) {
    return lanesOf(path) * (targetError ? 32 : 4);
}

namespace blocks {

// The blocks in flight: workers take the next block while it lies within a
// window of the first one not yet handed on, and put it in its slot; the
// caller's thread hands the slots on in order. `compute(first, last, done,
// usage)` fills `done` with the points first .. last - 1.
template <class Point, class Compute>
class BlockQueue {
public:
    BlockQueue(IndexRange range, const BlockPlan& plan, const Compute& compute)
        : range_(range),
          plan_(plan),
          compute_(compute),
          blocks_((range.end - range.begin + plan.pointsPerBlock - 1) / plan.pointsPerBlock),
          slots_(static_cast<std::size_t>(std::max(1, plan.threads) * 4)) {}

    void work() {
        for (;;) {
            std::int64_t block;
            {
                std::unique_lock lock(mutex_);
                changed_.wait(lock, [&] { return stopped_ || next_ >= blocks_ || next_ < handed_ + windowSize(); });
                if (stopped_ || next_ >= blocks_ || externallyStopped()) return;
                block = next_++;
            }
            const std::int64_t first = range_.begin + block * plan_.pointsPerBlock;
            const std::int64_t last = std::min(range_.end, first + plan_.pointsPerBlock);
            std::vector<Point> done;
            LaneUsage usage;
            compute_(first, last, done, plan_.usage ? &usage : nullptr);
            if (externallyStopped()) {
                stop();  // a block cut short is not handed on
                return;
            }
            {
                std::lock_guard lock(mutex_);
                if (plan_.usage) {
                    plan_.usage->busy += usage.busy;
                    plan_.usage->total += usage.total;
                }
                Slot& slot = slots_[static_cast<std::size_t>(block) % slots_.size()];
                slot.block = block;
                slot.points = std::move(done);
            }
            changed_.notify_all();
        }
    }

    bool handOn(const std::function<bool(std::span<const Point>)>& sink) {
        for (std::int64_t block = 0; block < blocks_; ++block) {
            std::vector<Point> points;
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
        std::vector<Point> points;
    };

    [[nodiscard]] bool externallyStopped() const { return plan_.stop && plan_.stop->load(std::memory_order_relaxed); }
    [[nodiscard]] std::int64_t windowSize() const { return static_cast<std::int64_t>(slots_.size()); }

    const IndexRange range_;
    const BlockPlan plan_;
    const Compute& compute_;
    const std::int64_t blocks_;
    std::vector<Slot> slots_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::int64_t next_ = 0;
    std::int64_t handed_ = 0;
    bool stopped_ = false;
};

}  // namespace blocks

// Computes the points `range` in blocks on `plan.threads` threads and hands
// them to `sink` in index order, on the calling thread, as soon as they are
// done; at most a few blocks per thread are held at any time. Returns false
// when the sink or `plan.stop` stopped it.
template <class Point, class Compute>
bool runBlocks(IndexRange range, const BlockPlan& plan, const Compute& compute,
               const std::function<bool(std::span<const Point>)>& sink) {
    if (range.end <= range.begin) return true;
    blocks::BlockQueue<Point, Compute> queue(range, plan, compute);
    std::vector<std::jthread> workers;
    for (int i = 0; i < std::max(1, plan.threads); ++i) workers.emplace_back([&queue] { queue.work(); });
    const bool finished = queue.handOn(sink);
    queue.stop();
    return finished;
}

}  // namespace veltrano
