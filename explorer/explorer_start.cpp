#include "explorer_start.h"

#include <algorithm>

namespace veltrano::explorer {

MapSettings settingsAt(const Parameters& p) {
    MapSettings s;
    s.base = {p.sigma, p.R, p.b};
    s.run.intervals = std::max<std::int64_t>(1, p.n);
    s.run.batch = std::max<std::int64_t>(1, s.run.intervals / 10);
    return s;
}

}  // namespace veltrano::explorer
