#include "plot_plugin.h"

#include <dlfcn.h>
#include <unistd.h>

#include <array>
#include <filesystem>

namespace veltrano::cli {

namespace {

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

struct Plugin {
    void* handle = nullptr;
    std::string error;
};

const Plugin& plugin() {
    static const Plugin loaded = [] {
        Plugin p;
        for (const std::string& path : pluginCandidates()) {
            if (::access(path.c_str(), F_OK) != 0) continue;
            p.handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
            if (p.handle) return p;
            const char* why = ::dlerror();
            p.error = "cannot open the plotting plugin " + path + ": " + (why ? why : "unknown error");
            return p;
        }
        p.error = std::string("this veltrano-cli draws no pictures: its plotting plugin ") + plot::kPluginFile +
                  " is not installed beside it";
        return p;
    }();
    return loaded;
}

template <class Function, class Data>
std::string call(const char* symbol, const Data& data, const std::string& path) {
    const Plugin& p = plugin();
    if (!p.handle) return p.error;
    auto* function = reinterpret_cast<Function*>(::dlsym(p.handle, symbol));
    if (!function) return std::string("the plotting plugin lacks ") + symbol;
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

std::string picturesUnavailable() {
#if VELTRANO_PLOT
    return {};
#else
    return "this build of veltrano-cli draws no pictures (it was built without Qt)";
#endif
}

std::string drawPicture(const plot::LineChart& chart, const std::string& path) {
    return call<plot::WriteLineChart>(plot::kWriteLineChartSymbol, chart, path);
}

std::string drawPicture(const plot::HeatMap& map, const std::string& path) {
    return call<plot::WriteHeatMap>(plot::kWriteHeatMapSymbol, map, path);
}

}  // namespace veltrano::cli
