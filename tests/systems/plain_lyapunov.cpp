#include "plain_lyapunov.h"

#include <boost/math/distributions/students_t.hpp>

namespace plain {

namespace {

double combination(const std::vector<double>& values, const std::vector<double>& weights) {
    double v = 0;
    for (std::size_t k = 0; k < weights.size(); ++k) v += weights[k] * values[k];
    return v;
}

std::vector<double> unit(std::size_t size, std::size_t k) {
    std::vector<double> w(size, 0.0);
    w[k] = 1;
    return w;
}

}  // namespace

double Spectrum::mean(const std::vector<double>& weights) const {
    double sum = 0;
    for (const auto& b : batch) sum += combination(b, weights);
    return sum / static_cast<double>(batch.size());
}

double Spectrum::halfWidth(const std::vector<double>& weights) const {
    const double m = mean(weights);
    double squares = 0;
    for (const auto& b : batch) squares += (combination(b, weights) - m) * (combination(b, weights) - m);
    const double count = static_cast<double>(batch.size());
    const boost::math::students_t_distribution<double> student(count - 1);
    return boost::math::quantile(student, 0.975) * std::sqrt(squares / (count - 1)) / std::sqrt(count);
}

double Spectrum::exponent(std::size_t k) const {
    return mean(unit(batch.front().size(), k));
}

double Spectrum::exponentHalfWidth(std::size_t k) const {
    return halfWidth(unit(batch.front().size(), k));
}

}  // namespace plain
