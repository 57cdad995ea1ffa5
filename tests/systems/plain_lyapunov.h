#pragma once

#include <cmath>
#include <cstddef>
#include <vector>

// A second, deliberately plain spectrum computation over a system's flow,
// tangent and divergence, written apart from the engine: scalar doubles,
// one std::vector per tangent vector, RK4 with h = 0.01 on the state, the
// vectors and the integral of the divergence together, classical
// Gram-Schmidt every 20 steps. The measured time is cut into batches of
// equal length; each batch gives its own estimate of every exponent and of
// the mean divergence.
namespace plain {

struct Run {
    double transient = 0;  // time integrated and orthonormalised, not measured
    double time = 0;       // measured time, a multiple of the batch length
    int batches = 20;
};

struct Spectrum {
    // batch[b][k]: the exponent k (k < d) or the mean divergence (k == d)
    // over batch b.
    std::vector<std::vector<double>> batch;
    bool finite = true;

    // The mean over the batches of sum_k weights[k] * batch[b][k].
    [[nodiscard]] double mean(const std::vector<double>& weights) const;
    // Its 95 % half-width by batch means: t(0.975, B - 1) s / sqrt(B).
    [[nodiscard]] double halfWidth(const std::vector<double>& weights) const;
    [[nodiscard]] double exponent(std::size_t k) const;
    [[nodiscard]] double exponentHalfWidth(std::size_t k) const;
};

inline constexpr double kStep = 0.01;
inline constexpr int kStepsPerInterval = 20;

template <class System>
Spectrum spectrum(const System& system, std::vector<double> x, const std::vector<double>& p, const Run& run) {
    const std::size_t d = system.dimension();
    const double h = kStep;
    const double intervalTime = h * kStepsPerInterval;
    const long transientIntervals = std::lround(run.transient / intervalTime);
    const long batchIntervals = std::lround(run.time / intervalTime / run.batches);

    // The whole state as one list: x, then vector j at d + j d, then the
    // divergence integral.
    const std::size_t n = d + d * d + 1;
    std::vector<double> s(n, 0.0);
    for (std::size_t i = 0; i < d; ++i) s[i] = x[i];
    for (std::size_t j = 0; j < d; ++j) s[d + j * d + j] = 1.0;
    const double* pp = p.empty() ? nullptr : p.data();

    auto field = [&](const std::vector<double>& in, std::vector<double>& out) {
        system.flow(in.data(), pp, out.data());
        for (std::size_t j = 0; j < d; ++j) system.tangent(in.data(), pp, &in[d + j * d], &out[d + j * d], 1);
        out[n - 1] = system.divergence(in.data(), pp);
    };
    std::vector<double> k1(n), k2(n), k3(n), k4(n), trial(n);
    auto step = [&] {
        field(s, k1);
        for (std::size_t i = 0; i < n; ++i) trial[i] = s[i] + h / 2 * k1[i];
        field(trial, k2);
        for (std::size_t i = 0; i < n; ++i) trial[i] = s[i] + h / 2 * k2[i];
        field(trial, k3);
        for (std::size_t i = 0; i < n; ++i) trial[i] = s[i] + h * k3[i];
        field(trial, k4);
        for (std::size_t i = 0; i < n; ++i) s[i] = s[i] + h / 6 * (k1[i] + 2 * k2[i] + 2 * k3[i] + k4[i]);
    };
    // Classical Gram-Schmidt: every projection on the vector as it came.
    std::vector<double> logs(d), w(d);
    auto orthonormalise = [&] {
        for (std::size_t j = 0; j < d; ++j) {
            const double* v = &s[d + j * d];
            for (std::size_t c = 0; c < d; ++c) w[c] = v[c];
            for (std::size_t m = 0; m < j; ++m) {
                const double* q = &s[d + m * d];
                double dot = 0;
                for (std::size_t c = 0; c < d; ++c) dot += q[c] * v[c];
                for (std::size_t c = 0; c < d; ++c) w[c] -= dot * q[c];
            }
            double norm = 0;
            for (std::size_t c = 0; c < d; ++c) norm += w[c] * w[c];
            norm = std::sqrt(norm);
            logs[j] = std::log(norm);
            for (std::size_t c = 0; c < d; ++c) s[d + j * d + c] = w[c] / norm;
        }
    };

    Spectrum result;
    for (long i = 0; i < transientIntervals; ++i) {
        for (int k = 0; k < kStepsPerInterval; ++k) step();
        orthonormalise();
    }
    const double batchTime = static_cast<double>(batchIntervals) * intervalTime;
    for (int b = 0; b < run.batches; ++b) {
        std::vector<double> sums(d + 1, 0.0);
        s[n - 1] = 0;
        for (long i = 0; i < batchIntervals; ++i) {
            for (int k = 0; k < kStepsPerInterval; ++k) step();
            orthonormalise();
            for (std::size_t j = 0; j < d; ++j) sums[j] += logs[j];
        }
        sums[d] = s[n - 1];
        for (double& v : sums) {
            v /= batchTime;
            result.finite = result.finite && std::isfinite(v);
        }
        result.batch.push_back(sums);
    }
    return result;
}

}  // namespace plain
