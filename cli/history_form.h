#pragma once

#include "form.h"

namespace veltrano::cli {

// veltrano-cli history: its subcommand of `app` with its options, checked into
// its options' struct and run.
[[nodiscard]] Form addHistoryForm(CLI::App& app);

}  // namespace veltrano::cli
