#pragma once

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace veltrano::testing {

// A new folder for the files of one test, removed with everything in it;
// its name holds "-tag-".
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& tag = "test") {
        std::string name = (std::filesystem::temp_directory_path() / ("veltrano-" + tag + "-XXXXXX")).string();
        path_ = ::mkdtemp(name.data());
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    [[nodiscard]] std::string operator/(const std::string& name) const { return (path_ / name).string(); }
    // Everything in the folder, by name.
    [[nodiscard]] std::vector<std::string> names() const {
        std::vector<std::string> all;
        for (const auto& entry : std::filesystem::directory_iterator(path_)) all.push_back(entry.path().filename());
        std::sort(all.begin(), all.end());
        return all;
    }

private:
    std::filesystem::path path_;
};

inline void writeText(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

inline std::string readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

}  // namespace veltrano::testing
