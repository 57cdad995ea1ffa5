#pragma once

#include "form.h"

namespace veltrano::cli {

// veltrano-cli sweep: its subcommand of `app` with its options, checked into
// its options' struct and run.
[[nodiscard]] Form addSweepForm(CLI::App& app);

}  // namespace veltrano::cli
