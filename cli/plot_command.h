#pragma once

#include <string>

namespace veltrano::cli {

// veltrano-cli plot INPUT.csv OUTPUT.png|svg: the picture that --plot draws,
// from a history or sweep file that veltrano-cli wrote (whole, joined or
// resumed, with error bars or without). Anything else is refused before a
// file is written; the picture never replaces an existing file.
// `exponent` (--exponent K as given; empty: all) draws lambdaK alone, K
// from 1 to the exponents the file holds (3 for a Lorenz file).
int runPlot(const std::string& input, const std::string& output, const std::string& exponent = {});

}  // namespace veltrano::cli
