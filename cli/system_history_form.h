#pragma once

#include "form.h"

namespace veltrano::cli {

// veltrano-cli history --system NAME: the history of a flow of the
// catalogue, a command of its own under the Lorenz history's name (the
// tool takes it when --system is given), its options checked and run.
[[nodiscard]] Form addSystemHistoryForm(CLI::App& app);

}  // namespace veltrano::cli
