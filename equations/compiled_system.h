#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <stdexcept>

#include "compiled_field.h"
#include "equation_text.h"
#include "simd_path.h"

namespace veltrano::equations {

// A typed system for the lane engine, run by its compiled code: a system
// stepped in whole lane blocks (flow_system.h), of a dimension chosen at run time, with
// room for kMaxParameters parameters (those past the text's are not read).
class CompiledSystem {
public:
    static constexpr std::size_t kDimension = 0;
    static constexpr std::size_t kParameters = kMaxParameters;

    // The system of `equations`, compiled for the lanes of `path` only: a
    // single run (runSystemPoint, runSystemObserved) takes the 2 lanes of
    // SimdPath::Lanes128. Another width is refused with std::logic_error.
    CompiledSystem(const Equations& equations, SimdPath path);

    [[nodiscard]] std::size_t dimension() const { return dimension_; }

    void stepLanes(int width, const double* s, double* next, const double* p, double* slopes, double h,
                   std::size_t k) const {
        const LaneStep code = code_[static_cast<std::size_t>(width / 4)];
        if (!code) throw std::logic_error("the equations were not compiled for this lane width");
        code(s, next, p, slopes, h, static_cast<long>(k));
    }

private:
    std::size_t dimension_;
    std::array<std::shared_ptr<const CompiledField>, 3> fields_;  // for 2, 4 and 8 lanes
    std::array<LaneStep, 3> code_{};
};

// The parameters of a point of a typed system: the defaults, then the
// values given (at most kMaxParameters in all).
[[nodiscard]] std::array<double, kMaxParameters> defaultParameters(const Equations& equations);

}  // namespace veltrano::equations
