// A stand-in for the plotting plugin, to try the tool's side of the
// boundary: it says the version it was built with (none without
// FAKE_VERSION), has no writers with FAKE_NO_WRITERS, only the line chart's
// with FAKE_ONLY_LINES and only the map's with FAKE_ONLY_MAPS. Its writers
// write what was drawn (a map's value title, or a line's curves) and then do
// what the name of its folder asks: "-fail-" fails, "-terminate-" and
// "-interrupt-" raise SIGTERM and SIGINT, "-throw-" throws; any other succeeds.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <string>

#include "plot.h"

#ifndef FAKE_NO_WRITERS
namespace {

int write(const std::string& what, const char* path, char* error, unsigned long errorSize) {
    if (std::FILE* f = std::fopen(path, "wb")) {
        std::fputs(what.c_str(), f);
        std::fclose(f);
    }
    if (std::strstr(path, "-terminate-")) std::raise(SIGTERM);
    if (std::strstr(path, "-interrupt-")) std::raise(SIGINT);
    if (std::strstr(path, "-throw-")) throw std::runtime_error("thrown while drawing");
    if (std::strstr(path, "-fail-")) {
        std::snprintf(error, errorSize, "cannot draw %s", path);
        return 1;
    }
    return 0;
}

}  // namespace
#endif

#ifdef FAKE_VERSION
extern "C" __attribute__((visibility("default"))) int veltrano_plot_abi_version() {
    return FAKE_VERSION;
}
#endif

#if !defined(FAKE_NO_WRITERS) && !defined(FAKE_ONLY_MAPS)
extern "C" __attribute__((visibility("default"))) int veltrano_plot_line_chart(const veltrano::pictures::LineChart* chart,
                                                                                const char* path, char* error,
                                                                                unsigned long errorSize) {
    std::string curves;
    for (const auto& c : chart->curves) curves += c.name + ';';
    return write(curves, path, error, errorSize);
}

#endif

#if !defined(FAKE_NO_WRITERS) && !defined(FAKE_ONLY_LINES)
extern "C" __attribute__((visibility("default"))) int veltrano_plot_heat_map(const veltrano::pictures::HeatMap* map,
                                                                              const char* path, char* error,
                                                                              unsigned long errorSize) {
    return write(map->valueTitle, path, error, errorSize);
}
#endif
