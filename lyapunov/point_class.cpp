#include "point_class.h"

#include <cmath>

namespace veltrano {

std::optional<PointClass> classify(const PointResult& r) {
    if (!r.completed || !r.errorsKnown) return std::nullopt;
    const double l1 = r.expo[0], h1 = r.halfWidth[0];
    const double l2 = r.expo[1], h2 = r.halfWidth[1];
    if (l1 > h1) return PointClass::Chaotic;
    if (l1 < -h1) return PointClass::AtRest;
    if (std::fabs(l1) <= h1 && l2 < -h2) return PointClass::Periodic;
    return PointClass::Undecided;
}

std::string_view className(PointClass c) {
    switch (c) {
        case PointClass::Chaotic:
            return "chaotic";
        case PointClass::Periodic:
            return "periodic";
        case PointClass::AtRest:
            return "at rest";
        case PointClass::Undecided:
            return "undecided";
    }
    return "undecided";
}

}  // namespace veltrano
