#include "flow_point.h"

#include "equation_text.h"
#include "typed_flow.h"
#include "visit_system.h"

namespace veltrano::point_panel {

std::optional<SystemDescription> describe(const FlowPoint& flow) {
    if (flow.equations.empty()) return findSystem(flow.name, flow.dimension);
    try {
        return typedFlowDescription(flow.equations);
    } catch (const equations::EquationError&) {
        return std::nullopt;
    }
}

}  // namespace veltrano::point_panel
