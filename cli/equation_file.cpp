#include "equation_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

#include "equation_text.h"

namespace veltrano::cli {

EquationFile readEquationFile(std::string_view path) {
    const bool standardInput = path == "-";
    const std::string name(path);
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> opened(
        standardInput ? nullptr : std::fopen(name.c_str(), "rb"), [](std::FILE* f) { return std::fclose(f); });
    std::FILE* in = standardInput ? stdin : opened.get();
    if (!in) return {{}, std::string("cannot open ").append(name).append(": ").append(std::strerror(errno))};
    EquationFile file;
    char buffer[1 << 16];
    while (true) {
        const std::size_t got = std::fread(buffer, 1, sizeof buffer, in);
        file.text.append(buffer, got);
        if (file.text.size() > equations::kMaxTextBytes)
            return {{},
                    std::string(standardInput ? "the standard input" : name)
                        .append(" is longer than ")
                        .append(std::to_string(equations::kMaxTextBytes / 1024))
                        .append(" KiB")};
        if (got < sizeof buffer) break;
    }
    if (std::ferror(in)) return {{}, std::string("cannot read ").append(standardInput ? "the standard input" : name)};
    return file;
}

}  // namespace veltrano::cli
