#include "picture_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "output_file.h"
#include "plot_plugin.h"

namespace veltrano::cli {

namespace {

template <class Picture>
std::string writeBeside(const Picture& picture, const std::string& path) {
    if (const std::string why = picturesUnavailable(); !why.empty()) return why;
    const std::string temporary = temporaryBeside(path);
    if (temporary.empty()) return "cannot write " + path + ": " + std::strerror(errno);
    if (const std::string error = drawPicture(picture, temporary); !error.empty()) {
        ::unlink(temporary.c_str());
        return error;
    }
    return publishWithoutReplacing(temporary, path);
}

}  // namespace

std::string writePictureFile(const plot::LineChart& chart, const std::string& path) {
    return writeBeside(chart, path);
}

std::string writePictureFile(const plot::HeatMap& map, const std::string& path) {
    return writeBeside(map, path);
}

std::string writePictureFile(const SweepPicture& picture, const std::string& path, int only) {
    return picture.isMap() ? writeBeside(picture.heatMap(), path) : writeBeside(picture.lineChart(only), path);
}

}  // namespace veltrano::cli
