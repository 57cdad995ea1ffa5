#pragma once

#include <cstdint>

namespace veltrano {

// One set of inputs of a run: n intervals of 20 steps, and the Lorenz
// parameters sigma, R and b.
struct Parameters {
    std::int16_t n = 0;
    double sigma = 0.0;
    double R = 0.0;
    double b = 0.0;
};

}  // namespace veltrano
