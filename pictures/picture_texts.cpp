#include "picture_texts.h"

#include <charconv>

namespace veltrano::pictures {

std::string symbolOf(SweepParameter p) {
    return p == SweepParameter::Sigma ? "σ" : std::string(parameterName(p));
}

std::string shortText(double v) {
    char buf[32];
    return std::string(buf, std::to_chars(buf, buf + sizeof buf, v).ptr);
}

std::string lambdaName(std::size_t k) {
    std::string name = "λ";
    name += static_cast<char>('1' + k);
    return name;
}

}  // namespace veltrano::pictures
