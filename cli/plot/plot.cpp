#include "plot.h"

#include <QApplication>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <memory>
#include <new>
#include <string>

#include "picture_writer.h"

namespace veltrano::plot {

namespace {

// Charts need an application object; a command-line tool has none and no
// display, so it gets one on Qt's offscreen platform while it draws. Qt's
// notes about its environment are not the tool's business: standard error
// carries errors only.
class Application {
public:
    Application() {
        if (QCoreApplication::instance()) return;
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        previous_ = qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
            if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(message));
        });
        app_ = std::make_unique<QApplication>(argc_, argv_);
    }
    ~Application() {
        app_.reset();
        if (previous_) qInstallMessageHandler(previous_);
    }
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

private:
    int argc_ = 1;
    char name_[13] = "veltrano-cli";
    char* argv_[2] = {name_, nullptr};
    QtMessageHandler previous_ = nullptr;
    std::unique_ptr<QApplication> app_;
};

int report(const std::string& error, char* out, unsigned long size) {
    if (error.empty()) return 0;
    if (size > 0) {
        const std::size_t n = std::min<std::size_t>(error.size(), size - 1);
        error.copy(out, n);
        out[n] = '\0';
    }
    return 1;
}

// Draws with the shared library; nothing thrown crosses back into the tool.
template <class Picture>
int draw(const Picture& picture, const char* path, char* error, unsigned long errorSize) {
    try {
        const Application application;
        return report(drawing::writePicture(picture, path), error, errorSize);
    } catch (const std::bad_alloc&) {
        return report(std::string("not enough memory to draw ") + path, error, errorSize);
    } catch (const std::exception& e) {
        return report(std::string("cannot draw ") + path + ": " + e.what(), error, errorSize);
    } catch (...) {
        return report(std::string("cannot draw ") + path, error, errorSize);
    }
}

}  // namespace

}  // namespace veltrano::plot

extern "C" __attribute__((visibility("default"))) int veltrano_plot_abi_version() {
    return veltrano::plot::kAbiVersion;
}

extern "C" __attribute__((visibility("default"))) int veltrano_plot_line_chart(
    const veltrano::pictures::LineChart* chart, const char* path, char* error, unsigned long errorSize) {
    return veltrano::plot::draw(*chart, path, error, errorSize);
}

extern "C" __attribute__((visibility("default"))) int veltrano_plot_heat_map(const veltrano::pictures::HeatMap* map,
                                                                              const char* path, char* error,
                                                                              unsigned long errorSize) {
    return veltrano::plot::draw(*map, path, error, errorSize);
}
