#include "shown_quantity.h"

#include "kaplan_yorke.h"

namespace veltrano::explorer {

std::optional<double> shownValue(const PointResult& r, Shown shown) {
    return shownValue(r, r.expo, shown);
}

std::optional<double> shownValue(const PointResult& r, std::span<const double> spectrum, Shown shown) {
    if (!r.completed) return std::nullopt;
    if ((shown == Shown::Lambda2 && spectrum.size() < 2) || (shown == Shown::Lambda3 && spectrum.size() < 3))
        return std::nullopt;
    switch (shown) {
        case Shown::Lambda1:
            return r.expo[0];
        case Shown::Lambda2:
            return r.expo[1];
        case Shown::Lambda3:
            return r.expo[2];
        case Shown::KaplanYorke:
            return kaplanYorke(spectrum);
        case Shown::HalfWidth1:
            if (!r.errorsKnown) return std::nullopt;
            return r.halfWidth[0];
        case Shown::Classes:
            return std::nullopt;
    }
    return std::nullopt;
}

bool neverNegative(Shown shown) {
    return shown == Shown::KaplanYorke || shown == Shown::HalfWidth1;
}

}  // namespace veltrano::explorer
