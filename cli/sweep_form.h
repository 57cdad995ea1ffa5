#pragma once

#include "form.h"

namespace veltrano::cli {

// veltrano-cli sweep: its subcommand of `app` with its options, checked into
// its options' struct and run.
[[nodiscard]] Form addSweepForm(CLI::App& app);
// veltrano-cli sweep --system NAME: the sweep of a flow of the catalogue.
[[nodiscard]] Form addSystemSweepForm(CLI::App& app);

}  // namespace veltrano::cli
