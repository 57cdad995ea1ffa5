#include "picture_file.h"

#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

#include "output_file.h"
#include "plot_plugin.h"

namespace veltrano::cli {

namespace {

// The temporary file being drawn, for the signal handler: a fixed buffer,
// since a handler may not allocate.
char pendingName[4096];
volatile std::sig_atomic_t pending = 0;
constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

extern "C" void removePendingAndStop(int signal) {
    if (pending) ::unlink(pendingName);
    // The handler was reset on entry: the signal, raised again, stops the
    // process as it would have without us once this returns.
    ::raise(signal);
}

// Owns a temporary file while it is drawn: removes it when the drawing
// ends without publishing it, however it ends, and when a stop signal
// arrives meanwhile.
class PendingFile {
public:
    explicit PendingFile(const std::string& name) : name_(name) {
        if (name.size() >= sizeof pendingName) return;  // not watched; still removed on return
        std::memcpy(pendingName, name.c_str(), name.size() + 1);
        pending = 1;
        struct sigaction action {};
        action.sa_handler = removePendingAndStop;
        action.sa_flags = SA_RESETHAND;
        sigemptyset(&action.sa_mask);
        for (std::size_t i = 0; i < std::size(kStopSignals); ++i) ::sigaction(kStopSignals[i], &action, &previous_[i]);
        watched_ = true;
    }
    ~PendingFile() {
        if (watched_) {
            for (std::size_t i = 0; i < std::size(kStopSignals); ++i) ::sigaction(kStopSignals[i], &previous_[i], nullptr);
            pending = 0;
        }
        if (!published_) ::unlink(name_.c_str());
    }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;
    // Publishing (or failing to) has removed the temporary file.
    void published() { published_ = true; }

private:
    std::string name_;
    bool watched_ = false;
    bool published_ = false;
    struct sigaction previous_[std::size(kStopSignals)] {};
};

template <class Picture>
std::string writeBeside(const Picture& picture, const std::string& path) {
    if (const std::string why = picturesUnavailable(); !why.empty()) return why;
    const std::string temporary = temporaryBeside(path);
    if (temporary.empty()) return "cannot write " + path + ": " + std::strerror(errno);
    PendingFile pendingFile(temporary);
    if (const std::string error = drawPicture(picture, temporary); !error.empty()) return error;
    std::string error = publishWithoutReplacing(temporary, path);
    pendingFile.published();
    return error;
}

}  // namespace

std::string writePictureFile(const pictures::LineChart& chart, const std::string& path) {
    return writeBeside(chart, path);
}

std::string writePictureFile(const pictures::HeatMap& map, const std::string& path) {
    return writeBeside(map, path);
}

std::string writePictureFile(const pictures::SweepPicture& picture, const std::string& path, int only) {
    return picture.isMap() ? writeBeside(picture.heatMap(only), path) : writeBeside(picture.lineChart(only), path);
}

}  // namespace veltrano::cli
