#pragma once

#include "form.h"

namespace veltrano::cli {

// veltrano-cli plot: its subcommand of `app` with its options, checked into
// its options' struct and run.
[[nodiscard]] Form addPlotForm(CLI::App& app);

}  // namespace veltrano::cli
