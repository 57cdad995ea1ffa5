#include "equation_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "compiled_system.h"
#include "equation_text.h"
#include "typed_flow.h"
#include "system_entries.h"

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

std::variant<SystemDescription, std::string> typedFlowOf(std::string_view path) {
    EquationFile file = readEquationFile(path);
    if (!file.error.empty()) return file.error;
    try {
        return typedFlowDescription(equations::parseEquations(file.text));
    } catch (const equations::EquationError& error) {
        return std::string(path == "-" ? "standard input" : path).append(", ").append(error.what());
    }
}

std::variant<SystemDescription, std::string> chooseFlow(std::string_view system, std::string_view dimension,
                                                        std::string_view equationsPath) {
    if (equationsPath.empty()) {
        if (system.empty()) return std::string("--system NAME or --equations FILE is required");
        return chooseSystem(system, dimension);
    }
    if (!system.empty()) return std::string("--system and --equations exclude each other: give one flow");
    if (!dimension.empty())
        return std::string("--dimension is for a flow of the catalogue: typed equations have the dimension of "
                           "their text");
    auto typed = typedFlowOf(equationsPath);
    // Compiled before any file is opened: where GCC's driver, assembler or
    // linker is missing, the run is refused here. The code is kept for the
    // process, so the run itself finds it compiled.
    if (const auto* flow = std::get_if<SystemDescription>(&typed)) try {
            equations::visitCompiled(equations::parseEquations(flow->text), SimdPath::Lanes128, [](const auto&) {});
        } catch (const std::runtime_error& error) {
            return std::string(equationsPath == "-" ? "standard input" : equationsPath)
                .append(": ")
                .append(error.what());
        }
    return typed;
}

std::string flowTitle(const SystemDescription& flow) {
    return flow.text.empty() ? systemField(flow) : std::string("your equations");
}

}  // namespace veltrano::cli
