#pragma once

#include "form.h"

namespace veltrano::cli {

// veltrano-cli join: its subcommand of `app` with its options, checked into
// its options' struct and run.
[[nodiscard]] Form addJoinForm(CLI::App& app);

}  // namespace veltrano::cli
