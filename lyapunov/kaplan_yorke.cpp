#include "kaplan_yorke.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

namespace veltrano {

double kaplanYorke(std::span<const double> exponents) {
    std::vector<double> l(exponents.begin(), exponents.end());
    std::sort(l.begin(), l.end(), std::greater<>());
    double sum = 0.0;
    for (std::size_t j = 0; j < l.size(); ++j) {
        if (sum + l[j] < 0) return static_cast<double>(j) + sum / std::fabs(l[j]);
        sum = sum + l[j];
    }
    return static_cast<double>(l.size());
}

}  // namespace veltrano
