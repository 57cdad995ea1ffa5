#pragma once

#include <string>

namespace veltrano::cli {

// veltrano-cli plot INPUT.csv OUTPUT.png|svg: the picture that --plot draws,
// from a history or sweep file that veltrano-cli wrote (whole, joined or
// resumed, with error bars or without). Anything else is refused before a
// file is written; the picture never replaces an existing file.
// `only` = 1, 2 or 3 draws that exponent alone (0: all three).
int runPlot(const std::string& input, const std::string& output, int only = 0);

}  // namespace veltrano::cli
