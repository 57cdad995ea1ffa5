#include "picture_texts.h"

namespace veltrano::pictures {

std::string symbolOf(SweepParameter p) {
    return p == SweepParameter::Sigma ? "σ" : std::string(parameterName(p));
}

std::string lambdaName(std::size_t k) {
    std::string name = "λ";
    name += std::to_string(k + 1);
    return name;
}

}  // namespace veltrano::pictures
