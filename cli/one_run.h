#pragma once

#include <string_view>
#include <vector>

namespace veltrano::cli {

// The usage text of the one-run form.
extern const std::string_view kOneRunUsage;

// veltrano-cli [--precise] N SIGMA R B: one run, printed as tab-separated
// lines; `args` are the arguments after the program's name.
int runOne(std::vector<std::string_view> args);

}  // namespace veltrano::cli
