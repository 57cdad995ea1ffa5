#pragma once

#include <string>

namespace veltrano::cli {

// veltrano-cli plot INPUT.csv OUTPUT.png|svg: the picture that --plot draws,
// from a history or sweep file that veltrano-cli wrote (whole, joined or
// resumed, with error bars or without). Anything else is refused before a
// file is written; the picture never replaces an existing file.
// `exponent` (--exponent K as given; empty: all) draws lambdaK alone, K
// from 1 to the exponents the file holds (3 for a Lorenz file).
// `equations` (--equations FILE as given, `-` standard input; empty: none)
// names the typed equations the file must be of: a file of any other flow,
// other equations or the Lorenz form is refused naming both, before it is
// drawn.
int runPlot(const std::string& input, const std::string& output, const std::string& exponent = {},
            const std::string& equations = {});

}  // namespace veltrano::cli
