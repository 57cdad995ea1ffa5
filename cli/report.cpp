#include "report.h"

#include <iostream>

namespace veltrano::cli {

int fail(std::string_view form, std::string_view message, int status) {
    std::cerr << "veltrano-cli";
    if (!form.empty()) std::cerr << ' ' << form;
    std::cerr << ": " << message << '\n';
    return status;
}

bool writeAll(std::FILE* out, std::string_view text) {
    return std::fwrite(text.data(), 1, text.size(), out) == text.size() && std::fflush(out) == 0;
}

}  // namespace veltrano::cli
