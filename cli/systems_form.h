#pragma once

#include "form.h"

namespace veltrano::cli {

// systems [NAME] [--dimension D]: the catalogue of flows, or one of them.
[[nodiscard]] Form addSystemsForm(CLI::App& app);

}  // namespace veltrano::cli
