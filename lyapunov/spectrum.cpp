#include "spectrum.h"

#include <cmath>

#include "finite_check.h"
#include "lorentz.h"

namespace veltrano {

StateVector Spectrum::initialState() {
    StateVector s{};
    s[0] = s[1] = s[2] = 1.0;  // x = y = z = 1
    for (std::size_t i = 0; i < kDim; ++i) s[tangentIndex(i, i)] = 1.0;  // unit vectors
    return s;
}

bool Spectrum::run(const Parameters& p, ErrorReporter& reporter) {
    return runFrom(initialState(), p, reporter);
}

bool Spectrum::runFrom(const StateVector& start, const Parameters& p, ErrorReporter& reporter) {
    state_ = start;
    t_ = 0.0;
    logSum_ = {};
    for (int interval = 0; interval < p.n; ++interval) {
        for (int step = 0; step < kStepsPerOrtho; ++step)
            if (!rungeKuttaStep(p, reporter)) return false;
        if (!closeInterval()) return fault(reporter);
    }
    return true;
}

bool Spectrum::fault(ErrorReporter& reporter) {
    reporter.reportError(kComputationErrorText);
    errFlag_ = true;
    return false;
}

// One classical RK4 step; the new state and time are committed only when
// every stage succeeded.
bool Spectrum::rungeKuttaStep(const Parameters& p, ErrorReporter& reporter) {
    constexpr double h = kStep;
    const double sv = p.sigma, rv = p.R, bv = p.b;

    Lorentz(state_, k1_, sv, rv, bv, errFlag_, reporter);
    if (errFlag_) return false;
    for (std::size_t i = 0; i < kComponents; ++i) trial_[i] = (k1_[i] * h) / 2 + state_[i];
    if (!allFinite(trial_)) return fault(reporter);

    Lorentz(trial_, k2_, sv, rv, bv, errFlag_, reporter);
    if (errFlag_) return false;
    for (std::size_t i = 0; i < kComponents; ++i) trial_[i] = (k2_[i] * h) / 2 + state_[i];
    if (!allFinite(trial_)) return fault(reporter);

    Lorentz(trial_, k3_, sv, rv, bv, errFlag_, reporter);
    if (errFlag_) return false;
    for (std::size_t i = 0; i < kComponents; ++i) trial_[i] = k3_[i] * h + state_[i];
    if (!allFinite(trial_)) return fault(reporter);

    Lorentz(trial_, k4_, sv, rv, bv, errFlag_, reporter);
    if (errFlag_) return false;
    // trial_ is free now and holds the next state until it has been checked.
    for (std::size_t i = 0; i < kComponents; ++i)
        trial_[i] = ((((k3_[i] + k2_[i]) * 2) + (k4_[i] + k1_[i])) * h) / 6 + state_[i];
    const double nextT = h + t_;
    if (!allFinite(trial_) || !isFinite(nextT)) return fault(reporter);
    state_ = trial_;
    t_ = nextT;
    return true;
}

// Reorthonormalisation, logarithm sums and estimates of one interval,
// committed together.
bool Spectrum::closeInterval() {
    StateVector s = state_;
    Triple norms = norms_;
    Triple proj = proj_;
    if (!orthonormalise(s, norms, proj)) return false;
    Triple sums = logSum_;
    Triple estimates{};
    bool ok = true;
    for (std::size_t k = 0; k < kDim; ++k) {
        if (norms[k] > 0) sums[k] = std::log(norms[k]) + sums[k];
        estimates[k] = sums[k] / t_;
        ok &= isFinite(sums[k]) && isFinite(estimates[k]);
    }
    if (!ok) return false;
    state_ = s;
    norms_ = norms;
    proj_ = proj;
    logSum_ = sums;
    expo_ = estimates;
    return true;
}

}  // namespace veltrano
