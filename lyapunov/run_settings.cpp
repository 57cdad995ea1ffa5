#include "run_settings.h"

namespace veltrano {

std::string refusedOption(ResearchOption option, std::string_view given) {
    const auto say = [given](const char* name, const char* rule) {
        return std::string(name) + ' ' + std::string(given) + ": " + rule;
    };
    switch (option) {
        case ResearchOption::Transient:
            return say("--transient", "K must be a whole number from 0 to 1000000000");
        case ResearchOption::Initial:
            return say("--initial", "expected X,Y,Z, three decimal numbers (digits, at most one point, a leading minus)");
        case ResearchOption::Step:
            return say("--step", "H must be a decimal number above 0");
        case ResearchOption::StepsPerInterval:
            return say("--steps-per-interval", "S must be a whole number from 1 to 1000000000");
        case ResearchOption::Batch:
            return say("--batch", "M must be a whole number from 1 to 1000000000");
        case ResearchOption::TargetError:
            return say("--target-error", "E must be a decimal number above 0");
        case ResearchOption::Every:
            return say("--every", "K must be a whole number from 1 to 1000000000");
        case ResearchOption::Threads:
            return say("--threads", "T must be a whole number from 1 to 4096");
    }
    return std::string(given);
}

}  // namespace veltrano
