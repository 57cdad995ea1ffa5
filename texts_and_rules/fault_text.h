#pragma once

#include <string_view>

namespace veltrano {

// The text shown whenever the computation meets an arithmetic fault.
inline constexpr std::string_view kComputationErrorText = "ERRORE NELLA ELABORAZIONE";

}  // namespace veltrano
