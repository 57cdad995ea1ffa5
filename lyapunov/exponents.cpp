#include "exponents.h"

#include <cmath>

#include "interval_close.h"
#include "rk4_integrator.h"

namespace veltrano {

StateVector Spectrum::initialState() {
    StateVector s{};
    s[0] = s[1] = s[2] = 1.0;                                            // x = y = z = 1
    for (std::size_t i = 0; i < kDim; ++i) s[tangentIndex(i, i)] = 1.0;  // unit vectors
    return s;
}

bool Spectrum::run(const Parameters& p, FaultReporter& reporter, const IntervalObserver& afterInterval) {
    return runFrom(initialState(), p, reporter, afterInterval);
}

bool Spectrum::runFrom(const StateVector& start, const Parameters& p, FaultReporter& reporter,
                       const IntervalObserver& afterInterval) {
    state_ = start;
    t_ = 0.0;
    logSum_ = {};
    const FlowParameters flow{p.sigma, p.R, p.b};
    for (int interval = 0; interval < p.n; ++interval) {
        if (integrateRk4(state_, t_, kStepsPerOrtho, flow) != kStepsPerOrtho) return fault(reporter);
        if (!closeInterval()) return fault(reporter);
        errFlag_ = false;  // the field was evaluated cleanly
        if (afterInterval) afterInterval(interval + 1);
    }
    return true;
}

bool Spectrum::fault(FaultReporter& reporter) {
    reporter.reportFault();
    errFlag_ = true;
    return false;
}

// Reorthonormalisation, logarithm sums and estimates of one interval,
// committed together.
bool Spectrum::closeInterval() {
    StateVector s = state_;
    Triple norms{};
    Triple proj = proj_;
    Triple sums = logSum_;
    Triple estimates{};
    const bool ok =
        veltrano::closeInterval<double>([&s](std::size_t c, std::size_t j) -> double& { return s[tangentIndex(c, j)]; },
                                        norms, proj, sums, estimates, t_, [](double v) { return std::sqrt(v); },
                                        [](std::size_t, double norm, double& sum) {
                                            if (norm > 0) sum = std::log(norm) + sum;
                                        },
                                        false);
    if (!ok) return false;
    state_ = s;
    norms_ = norms;
    proj_ = proj;
    logSum_ = sums;
    expo_ = estimates;
    return true;
}

}  // namespace veltrano
