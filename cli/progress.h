#pragma once

#include <chrono>
#include <cstdint>

namespace veltrano::cli {

// A line on standard error that tells how far a sweep is: points (or rows)
// done of the total, how many a second and the time left, redrawn a few
// times a second.
class Progress {
public:
    Progress(bool enabled, std::int64_t total, std::int64_t alreadyDone, const char* what = "points");
    void advance(std::int64_t points);
    void set(std::int64_t done) { advance(done - done_); }
    // Ends the line.
    void finish();

private:
    void draw();

    using Clock = std::chrono::steady_clock;
    bool enabled_;
    const char* what_;
    std::int64_t total_;
    std::int64_t startDone_;
    std::int64_t done_;
    Clock::time_point start_ = Clock::now();
    Clock::time_point lastDrawn_{};
    bool drawn_ = false;
};

}  // namespace veltrano::cli
