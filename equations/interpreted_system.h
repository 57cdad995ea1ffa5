#pragma once

#include <cstddef>
#include <memory>
#include <type_traits>
#include <vector>

#include "field_program.h"
#include "flow_system.h"

namespace veltrano::equations {

// A typed system run by interpreting its field program, lane by lane: slow,
// plain, the reference the compiled code is checked against. A system of
// the engine (flow_system.h) of a dimension chosen at run time, with room
// for kMaxParameters parameters (those past the text's are not read).
class InterpretedSystem {
public:
    static constexpr std::size_t kDimension = 0;
    static constexpr std::size_t kParameters = kMaxParameters;

    explicit InterpretedSystem(std::shared_ptr<const FieldProgram> program) : program_(std::move(program)) {}
    [[nodiscard]] std::size_t dimension() const { return program_->dimension; }

    // Inlined into each copy of the engine (flow_system.h): a packed
    // vector must not cross a call between two instruction sets.
    template <class T>
    VELTRANO_ALWAYS_INLINE void flow(const T* x, const T* p, T* dxdt) const {
        for (int l = 0; l < lanes<T>(); ++l) {
            std::vector<double> r = registers(x, p, l);
            for (std::size_t i = 0; i < program_->dimension; ++i) lane(dxdt[i], l) = r[program_->flowOut[i]];
        }
    }

    template <class T, class C>
    VELTRANO_ALWAYS_INLINE void tangent(const C* x, const C* p, const T* u, T* du, std::size_t stride) const {
        const std::size_t d = program_->dimension;
        for (int l = 0; l < lanes<T>(); ++l) {
            std::vector<double> r = registers(x, p, l);
            std::vector<double> v(d);
            for (std::size_t c = 0; c < d; ++c) v[c] = lane(u[c * stride], l);
            runInstructions(program_->tangent, r.data(), nullptr, nullptr, v.data(), 1);
            for (std::size_t i = 0; i < d; ++i) {
                const int out = program_->tangentOut[i];
                lane(du[i * stride], l) = out < 0 ? 0.0 : r[out];
            }
        }
    }

    template <class T>
    VELTRANO_ALWAYS_INLINE T divergence(const T* x, const T* p) const {
        T div{};
        for (int l = 0; l < lanes<T>(); ++l) {
            std::vector<double> r = registers(x, p, l);
            runInstructions(program_->divergence, r.data(), nullptr, nullptr, nullptr, 0);
            lane(div, l) = program_->divergenceOut < 0 ? 0.0 : r[program_->divergenceOut];
        }
        return div;
    }

private:
    template <class T>
    static constexpr int lanes() {
        return static_cast<int>(sizeof(T) / sizeof(double));
    }
    template <class T>
    VELTRANO_ALWAYS_INLINE static auto& lane(T& v, int l) {
        if constexpr (std::is_floating_point_v<std::remove_const_t<T>>)
            return v;
#if defined(__clang__)
        else  // clang binds no reference to a vector's element; the lanes alias doubles
            return reinterpret_cast<double*>(&v)[l];
#else
        else
            return v[l];
#endif
    }
    template <class T>
    VELTRANO_ALWAYS_INLINE static double lane(const T& v, int l) {
        if constexpr (std::is_floating_point_v<T>)
            return v;
        else
            return v[l];
    }

    // The registers after the values, for lane l.
    template <class C>
    VELTRANO_ALWAYS_INLINE std::vector<double> registers(const C* x, const C* p, int l) const {
        std::vector<double> xs(program_->dimension), ps(program_->parameters);
        for (std::size_t i = 0; i < xs.size(); ++i) xs[i] = lane(x[i], l);
        for (std::size_t i = 0; i < ps.size(); ++i) ps[i] = lane(p[i], l);
        std::vector<double> r(static_cast<std::size_t>(program_->registers));
        runInstructions(program_->values, r.data(), xs.data(), ps.data(), nullptr, 0);
        return r;
    }

    std::shared_ptr<const FieldProgram> program_;
};

}  // namespace veltrano::equations
