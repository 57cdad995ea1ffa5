#include "flow_point.h"

#include <algorithm>
#include <charconv>

#include "equation_text.h"
#include "visit_system.h"

namespace veltrano::point_panel {

SystemDescription typedDescription(const std::string& text) {
    const equations::Equations e = equations::parseEquations(text);
    SystemDescription flow;
    flow.name = "equations";
    flow.title = "Your equations";
    flow.dimension = e.dimension();
    flow.variables = e.variables;
    for (std::size_t i = 0; i < e.parameters.size(); ++i) {
        const double v = e.defaults[i];
        // To 12 digits, so that 1.5 * 0.2 is 0.3.
        const auto round = [](double x) {
            char digits[32];
            const auto end = std::to_chars(digits, digits + sizeof digits, x, std::chars_format::general, 12).ptr;
            std::from_chars(digits, end, x);
            return x;
        };
        const double a = v == 0 ? -1.0 : round(0.5 * v);
        const double b = v == 0 ? 1.0 : round(1.5 * v);
        flow.parameters.push_back({e.parameters[i], v, std::min(a, b), std::max(a, b)});
    }
    flow.start = e.initial;
    return flow;
}

std::optional<SystemDescription> describe(const FlowPoint& flow) {
    if (flow.equations.empty()) return findSystem(flow.name, flow.dimension);
    try {
        return typedDescription(flow.equations);
    } catch (const equations::EquationError&) {
        return std::nullopt;
    }
}

}  // namespace veltrano::point_panel
