#include "reference_exponents.h"

#include <boost/math/distributions/students_t.hpp>
#include <cmath>

namespace reference {

namespace {

struct Fault {};

double checked(double v) {
    if (std::isnan(v) || std::isinf(v)) throw Fault{};
    return v;
}

void lorentz(const double X[13], double dxdt[13], double sv, double rv, double bv) {
    dxdt[1] = checked(sv * (X[2] - X[1]));
    dxdt[2] = checked((rv * X[1] - X[2]) - X[1] * X[3]);
    dxdt[3] = checked((-bv) * X[3] + X[1] * X[2]);
    for (int i = 0; i <= 2; i++) {
        dxdt[4 + i] = checked(sv * (X[7 + i] - X[4 + i]));
        dxdt[7 + i] = checked(((rv - X[3]) * X[4 + i] - X[7 + i]) - X[1] * X[10 + i]);
        dxdt[10 + i] = checked((X[2] * X[4 + i] + X[1] * X[7 + i]) - bv * X[10 + i]);
    }
}

double quantile975(long long nu) {
    using namespace boost::math;
    using Policy = policies::policy<policies::promote_double<false>>;
    return std::nearbyint(quantile(students_t_distribution<double, Policy>(static_cast<double>(nu)), 0.975) * 1e9) / 1e9;
}

// Batch means by Welford's update; a half-width is known from ten batches
// on while every value stays finite.
struct Batches {
    long long count = 0;
    double mean[4] = {0, 0, 0, 0}, m2[4] = {0, 0, 0, 0};

    void add(const double e[4]) {
        count = count + 1;
        for (int k = 1; k <= 3; k++) {
            const double d = e[k] - mean[k];
            mean[k] = mean[k] + d / static_cast<double>(count);
            m2[k] = m2[k] + d * (e[k] - mean[k]);
        }
    }
    bool halfWidths(double out[4]) const {
        if (count < 10) return false;
        const double q = quantile975(count - 1);
        for (int k = 1; k <= 3; k++) {
            out[k] = (q * std::sqrt(m2[k] / (static_cast<double>(count) - 1))) / std::sqrt(static_cast<double>(count));
            if (std::isnan(out[k]) || std::isinf(out[k])) return false;
        }
        return true;
    }
};

}  // namespace

Result lyapunovSpectrum(int n, double sigma, double R, double b) {
    return lyapunovSpectrum(n, sigma, R, b, Options{});
}

Result lyapunovSpectrum(long long n, double sigma, double R, double b, const Options& o) {
    Result r;
    double state[13], trial[13], k1[13], k2[13], k3[13], k4[13];
    double norms[4], proj[4], logSum[4], batchSum[4] = {0, 0, 0, 0};
    const double h = o.h;
    double t = 0, batchStart = 0;
    Batches batches;
    state[1] = o.x0;
    state[2] = o.y0;
    state[3] = o.z0;
    for (int i = 4; i <= 12; i++) state[i] = 0;
    for (int i = 1; i <= 3; i++) {
        state[4 * i] = 1.0;
        logSum[i] = 0;
    }
    bool inTransient = o.transient > 0;
    try {
        for (long long it = 1; it <= o.transient + n; it++) {
            for (long long st = 1; st <= o.stepsPerInterval; st++) {
                double next[13];
                lorentz(state, k1, sigma, R, b);
                for (int i = 1; i <= 12; i++) trial[i] = checked((k1[i] * h) / 2 + state[i]);
                lorentz(trial, k2, sigma, R, b);
                for (int i = 1; i <= 12; i++) trial[i] = checked((k2[i] * h) / 2 + state[i]);
                lorentz(trial, k3, sigma, R, b);
                for (int i = 1; i <= 12; i++) trial[i] = checked(k3[i] * h + state[i]);
                lorentz(trial, k4, sigma, R, b);
                for (int i = 1; i <= 12; i++)
                    next[i] = checked(((((k3[i] + k2[i]) * 2) + (k4[i] + k1[i])) * h) / 6 + state[i]);
                const double nextT = checked(h + t);
                for (int i = 1; i <= 12; i++) state[i] = next[i];
                t = nextT;
                if (!inTransient && o.afterStep) o.afterStep(t, state[1], state[2], state[3]);
            }
            // Gram-Schmidt on v_j(c) = state(3c + j); squares are exact products.
            double v[4][4];
            for (int j = 1; j <= 3; j++)
                for (int c = 1; c <= 3; c++) v[j][c] = state[3 * c + j];
            for (int j = 1; j <= 3; j++) {
                for (int m = 1; m <= j - 1; m++) {
                    double s = 0;
                    for (int c = 1; c <= 3; c++) s = checked(s + v[m][c] * v[j][c]);
                    proj[m] = s;
                }
                for (int c = 1; c <= 3; c++)
                    for (int m = 1; m <= j - 1; m++) v[j][c] = checked(v[j][c] - proj[m] * v[m][c]);
                double s = 0;
                for (int c = 1; c <= 3; c++) s = checked(s + v[j][c] * v[j][c]);
                norms[j] = checked(std::sqrt(s));
                for (int c = 1; c <= 3; c++) v[j][c] = checked(v[j][c] / norms[j]);
            }
            for (int j = 1; j <= 3; j++)
                for (int c = 1; c <= 3; c++) state[3 * c + j] = v[j][c];
            if (it <= o.transient) {
                // The transient: normalised, not measured; then t starts again.
                if (it == o.transient) {
                    t = 0;
                    inTransient = false;
                }
                continue;
            }
            double newSum[4], newExpo[4], logs[4] = {0, 0, 0, 0};
            for (int k = 1; k <= 3; k++) {
                newSum[k] = logSum[k];
                if (norms[k] > 0) {
                    logs[k] = std::log(norms[k]);
                    newSum[k] = checked(logs[k] + logSum[k]);
                }
                newExpo[k] = checked(newSum[k] / t);
            }
            for (int k = 1; k <= 3; k++) {
                logSum[k] = newSum[k];
                r.expo[k] = newExpo[k];
            }
            r.intervals = r.intervals + 1;
            if (o.errors) {
                for (int k = 1; k <= 3; k++)
                    if (norms[k] > 0) batchSum[k] = logs[k] + batchSum[k];
                if (r.intervals % o.batch == 0) {
                    double e[4];
                    for (int k = 1; k <= 3; k++) e[k] = batchSum[k] / (t - batchStart);
                    batches.add(e);
                    for (int k = 1; k <= 3; k++) batchSum[k] = 0;
                    batchStart = t;
                    double w[4];
                    if (o.target > 0 && batches.halfWidths(w) && w[1] <= o.target && w[2] <= o.target &&
                        w[3] <= o.target)
                        break;
                }
            }
        }
    } catch (const Fault&) {
        r.error = true;
        if (inTransient) t = 0;
    }
    r.t = t;
    if (o.errors) {
        r.batches = batches.count;
        if (!r.error) r.errorsKnown = batches.halfWidths(r.halfWidth);
    }
    return r;
}

}  // namespace reference
