#pragma once

#include "form.h"

namespace veltrano::cli {

// veltrano-cli join: its subcommand of `app` with its options, checked into
// its options' struct and run.
[[nodiscard]] Form addJoinForm(CLI::App& app);
// veltrano-cli join --system NAME: the shards of a sweep of a flow.
[[nodiscard]] Form addSystemJoinForm(CLI::App& app);

}  // namespace veltrano::cli
