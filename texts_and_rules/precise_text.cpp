#include "precise_text.h"

#include <charconv>

namespace veltrano {

std::string preciseText(double value) {
    char buf[64];
    const auto end = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 17).ptr;
    return std::string(buf, end);
}

}  // namespace veltrano
