#include "typed_flow.h"

#include <algorithm>
#include <charconv>

namespace veltrano {

namespace {

double toTwelveDigits(double x) {
    char digits[32];
    const auto end = std::to_chars(digits, digits + sizeof digits, x, std::chars_format::general, 12).ptr;
    std::from_chars(digits, end, x);
    return x;
}

}  // namespace

SystemDescription typedFlowDescription(const equations::Equations& parsed) {
    SystemDescription flow;
    flow.name = "equations:" + parsed.digest;
    flow.title = "your equations";
    flow.dimension = parsed.dimension();
    flow.variables = parsed.variables;
    for (std::size_t i = 0; i < parsed.parameters.size(); ++i) {
        const double v = parsed.defaults[i];
        const double a = v == 0 ? -1.0 : toTwelveDigits(0.5 * v);
        const double b = v == 0 ? 1.0 : toTwelveDigits(1.5 * v);
        flow.parameters.push_back({parsed.parameters[i], v, std::min(a, b), std::max(a, b)});
    }
    flow.start = parsed.initial;
    flow.text = parsed.text;
    return flow;
}

SystemDescription typedFlowDescription(const std::string& text) {
    return typedFlowDescription(equations::parseEquations(text));
}

}  // namespace veltrano
