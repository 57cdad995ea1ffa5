#pragma once

#include "map_settings.h"
#include "parameters.h"

namespace veltrano::explorer {

// The map the calculator opens the Explorer at: its σ, R and b (b fixed,
// σ and R across their usual ranges) and its n, with error bars over ten
// batches.
[[nodiscard]] MapSettings settingsAt(const Parameters& p);

}  // namespace veltrano::explorer
