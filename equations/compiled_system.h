#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <string>

#include "compiled_field.h"
#include "equation_text.h"
#include "field_program.h"
#include "interpreted_system.h"
#include "simd_path.h"

namespace veltrano::equations {

// The compiled step of a typed system for the lanes of one path.
class CompiledStep {
public:
    // The system of `equations`, compiled for the lanes of `path` only: a
    // single run (runSystemPoint, runSystemObserved) takes the 2 lanes of
    // SimdPath::Lanes128. Another width is refused with std::logic_error.
    CompiledStep(const Equations& equations, SimdPath path);

    void stepLanes(int width, const double* s, double* next, const double* p, double* slopes, double h,
                   std::size_t k) const {
        if (width != width_) throw std::logic_error("the equations were not compiled for this lane width");
        code_(s, next, p, slopes, h, static_cast<long>(k));
    }

protected:
    std::size_t dimension_;

private:
    std::shared_ptr<const CompiledField> field_;
    int width_;
    LaneStep code_;
};

// A typed system for the lane engine, run by its compiled code: a system
// stepped in whole lane blocks (flow_system.h), with room for
// kMaxParameters parameters (those past the text's are not read). D is its
// dimension when the engine is compiled for it (3: the engine's registers
// and unrolled loops, as the built-in flows have), 0 for any dimension
// chosen at run time.
template <std::size_t D>
class CompiledSystemOf : public CompiledStep {
public:
    static constexpr std::size_t kDimension = D;
    static constexpr std::size_t kParameters = kMaxParameters;

    CompiledSystemOf(const Equations& equations, SimdPath path) : CompiledStep(equations, path) {
        if (D != 0 && dimension_ != D)
            throw std::invalid_argument(std::string("a system of ")
                                            .append(std::to_string(D))
                                            .append(" variables, not ")
                                            .append(std::to_string(dimension_)));
    }
    [[nodiscard]] std::size_t dimension() const { return dimension_; }
};

using CompiledSystem = CompiledSystemOf<0>;

// Calls visit(system) with the system of `equations` compiled for `path`,
// as CompiledSystemOf<d> where the engine is compiled for d, else as
// CompiledSystem. A build without the JIT (VELTRANO_JIT off) visits the
// InterpretedSystem instead: the engine runs it in the same lanes and gives
// the same doubles, slower.
template <class Visit>
void visitCompiled(const Equations& equations, [[maybe_unused]] SimdPath path, Visit&& visit) {
#ifdef VELTRANO_NO_JIT
    visit(InterpretedSystem(std::make_shared<const FieldProgram>(compileProgram(equations))));
#else
    if (equations.dimension() == 3) return visit(CompiledSystemOf<3>(equations, path));
    visit(CompiledSystem(equations, path));
#endif
}

// The parameters of a point of a typed system: the defaults, then the
// values given (at most kMaxParameters in all).
[[nodiscard]] std::array<double, kMaxParameters> defaultParameters(const Equations& equations);

}  // namespace veltrano::equations
