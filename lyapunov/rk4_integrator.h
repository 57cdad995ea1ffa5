#pragma once

#include "state_vector.h"

namespace veltrano {

struct FlowParameters {
    double sv, rv, bv;  // sigma, R, b
};

// Advances `state` and `t` by up to `steps` classical RK4 steps of length
// Spectrum::kStep and returns how many were completed. A step that meets an
// arithmetic fault anywhere (in the vector field, the stage arguments, the
// update or the time) is discarded and ends the integration: `state` and `t`
// then hold the last completed step.
[[nodiscard]] int integrateRk4(StateVector& state, double& t, int steps, const FlowParameters& p);

}  // namespace veltrano
