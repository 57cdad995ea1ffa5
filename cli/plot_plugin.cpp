#include "plot_plugin.h"

#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <filesystem>
#include <vector>

#include "plot.h"

namespace veltrano::cli {

namespace {

#if VELTRANO_PLOT
// Where the plugin lies: beside the tool (the build tree), then where the
// installation puts it relative to the tool.
std::vector<std::string> pluginCandidates() {
    std::error_code ignored;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ignored);
    const std::filesystem::path folder = self.parent_path();
    return {(folder / plot::kPluginFile).string(),
#ifdef VELTRANO_PLUGIN_RELATIVE
            (folder / VELTRANO_PLUGIN_RELATIVE / plot::kPluginFile).lexically_normal().string()
#endif
    };
}
#endif

struct Plugin {
    void* handle = nullptr;
    plot::WriteLineChart* lineChart = nullptr;
    plot::WriteHeatMap* heatMap = nullptr;
    std::string error;
};

// Opens the plugin at `path` and checks its version before anything else
// in it is looked up; a plugin that fails is closed again.
Plugin open(const std::string& path) {
    Plugin p;
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = ::dlerror();
        p.error = "cannot open the plotting plugin " + path + ": " + (why ? why : "unknown error");
        return p;
    }
    auto* version = reinterpret_cast<plot::AbiVersion*>(::dlsym(handle, plot::kAbiVersionSymbol));
    if (!version) {
        p.error = "the plotting plugin " + path + " is not one of this veltrano-cli (it has no version)";
    } else if (const int found = version(); found != plot::kAbiVersion) {
        p.error = "the plotting plugin " + path + " is of another version of veltrano-cli (its pictures are version " +
                  std::to_string(found) + ", this tool's " + std::to_string(plot::kAbiVersion) +
                  "); install the two together";
    } else {
        p.lineChart = reinterpret_cast<plot::WriteLineChart*>(::dlsym(handle, plot::kWriteLineChartSymbol));
        p.heatMap = reinterpret_cast<plot::WriteHeatMap*>(::dlsym(handle, plot::kWriteHeatMapSymbol));
        if (!p.lineChart || !p.heatMap) p.error = "the plotting plugin " + path + " lacks its writers";
    }
    if (!p.error.empty()) {
        ::dlclose(handle);
        return Plugin{.error = p.error};
    }
    p.handle = handle;
    return p;
}

const Plugin& plugin() {
    static const Plugin loaded = [] {
#if VELTRANO_PLOT
        for (const std::string& path : pluginCandidates())
            if (::access(path.c_str(), F_OK) == 0) return open(path);
        return Plugin{.error = std::string("this veltrano-cli draws no pictures: its plotting plugin ") +
                               plot::kPluginFile + " is not installed beside it"};
#else
        return Plugin{.error = "this build of veltrano-cli draws no pictures (it was built without Qt)"};
#endif
    }();
    return loaded;
}

template <class Function, class Data>
std::string call(Function* function, const Data& data, const std::string& path) {
    std::array<char, 1024> error{};
    if (function(&data, path.c_str(), error.data(), error.size()) != 0) return error.data();
    return {};
}

}  // namespace

bool supportedPictureFile(const std::string& path) {
    if (path.size() < 5) return false;
    std::string ext = path.substr(path.size() - 4);
    for (char& c : ext) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ext == ".png" || ext == ".svg";
}

std::string checkPlotPlugin(const std::string& path) {
    Plugin p = open(path);
    if (p.handle) ::dlclose(p.handle);
    return p.error;
}

std::string picturesUnavailable() {
    return plugin().error;
}

std::string plotOptionRefusal(const std::string& plot) {
    if (const std::string why = picturesUnavailable(); !why.empty()) return "--plot: " + why;
    if (!supportedPictureFile(plot)) return "--plot " + plot + ": the picture's name must end in .png or .svg";
    return {};
}

std::string drawPicture(const pictures::LineChart& chart, const std::string& path) {
    const Plugin& p = plugin();
    return p.handle ? call(p.lineChart, chart, path) : p.error;
}

std::string drawPicture(const pictures::HeatMap& map, const std::string& path) {
    const Plugin& p = plugin();
    return p.handle ? call(p.heatMap, map, path) : p.error;
}

}  // namespace veltrano::cli
