#pragma once

#include <string>

// Declared only: CLI11 is included where options are declared or parsed, as
// it is most of a file's compile time.
namespace CLI {
class App;
}  // namespace CLI

namespace veltrano::cli {

inline constexpr const char* kVersion = "veltrano-cli 1.0";

extern const char* const kHistoryAbout;
extern const char* const kSweepAbout;
extern const char* const kJoinAbout;
extern const char* const kPlotAbout;

// The help of the one-run form alone.
[[nodiscard]] std::string oneRunHelp();

// The whole help: the one-run form, then each of the other forms.
[[nodiscard]] std::string helpText(CLI::App& history, CLI::App& sweep, CLI::App& join, CLI::App& plot);

}  // namespace veltrano::cli
