#pragma once

#include <cstdint>
#include <functional>

#include "fault_reporter.h"
#include "gram_schmidt.h"
#include "parameters.h"
#include "state_vector.h"

namespace veltrano {

// The Lyapunov spectrum of the Lorenz system by RK4 at h = 0.01 with
// Gram-Schmidt every 20 steps. The working data live as long as the object
// and keep their values between runs; each run resets the state, t and the
// logarithm sums, while `expo` and `errFlag` change only when the run writes
// them (a run of n = 0 leaves the previous estimates in place).
class Spectrum {
public:
    static constexpr double kStep = 0.01;
    static constexpr int kStepsPerOrtho = 20;

    // Called after each completed interval with its number (from 1); t()
    // and expo() then hold what a run of that many intervals ends with.
    using IntervalObserver = std::function<void(int interval)>;

    // Resets the working data and integrates p.n intervals. Returns true when
    // the run completed; false when an arithmetic fault stopped it, in which
    // case the fault has been reported once through `reporter`, errFlag() is
    // true and state, t, the sums and the estimates are those of the last
    // completed step or interval.
    bool run(const Parameters& p, FaultReporter& reporter, const IntervalObserver& afterInterval = {});

    // Integrates p.n intervals from `start` with t and the sums at zero.
    // run() is this from the fixed starting point; tests use it to begin
    // from a prepared state.
    bool runFrom(const StateVector& start, const Parameters& p, FaultReporter& reporter,
                 const IntervalObserver& afterInterval = {});

    [[nodiscard]] static StateVector initialState();

    [[nodiscard]] double t() const { return t_; }
    [[nodiscard]] const Triple& expo() const { return expo_; }
    [[nodiscard]] const Triple& logSum() const { return logSum_; }
    [[nodiscard]] bool errFlag() const { return errFlag_; }
    [[nodiscard]] const StateVector& state() const { return state_; }

private:
    bool closeInterval();
    bool fault(FaultReporter& reporter);

    StateVector state_{};
    Triple norms_{};
    Triple proj_{};
    Triple logSum_{};
    Triple expo_{};
    double t_ = 0.0;
    bool errFlag_ = false;
};

}  // namespace veltrano
