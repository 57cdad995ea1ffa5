#include "progress.h"

#include <cmath>
#include <cstdio>

namespace veltrano::cli {

Progress::Progress(bool enabled, std::int64_t total, std::int64_t alreadyDone, const char* what)
    : enabled_(enabled), what_(what), total_(total), startDone_(alreadyDone), done_(alreadyDone) {}

void Progress::advance(std::int64_t points) {
    done_ += points;
    if (!enabled_) return;
    const auto now = Clock::now();
    if (drawn_ && now - lastDrawn_ < std::chrono::milliseconds(250) && done_ < total_) return;
    lastDrawn_ = now;
    draw();
}

void Progress::draw() {
    const double seconds = std::chrono::duration<double>(Clock::now() - start_).count();
    const double rate = seconds > 0 ? static_cast<double>(done_ - startDone_) / seconds : 0.0;
    char left[32] = "--:--:--";
    if (rate > 0) {
        const auto s = static_cast<long long>(std::ceil(static_cast<double>(total_ - done_) / rate));
        std::snprintf(left, sizeof left, "%lld:%02lld:%02lld", s / 3600, s / 60 % 60, s % 60);
    }
    std::fprintf(stderr, "\r%lld / %lld %s  %.1f/s  %s left \x1b[K", static_cast<long long>(done_),
                 static_cast<long long>(total_), what_, rate, left);
    std::fflush(stderr);
    drawn_ = true;
}

void Progress::finish() {
    if (!enabled_) return;
    draw();
    std::fputc('\n', stderr);
}

}  // namespace veltrano::cli
