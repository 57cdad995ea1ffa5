#pragma once

#include <initializer_list>
#include <string>

// Declared only: CLI11 is included where options are declared or parsed, as
// it is most of a file's compile time.
namespace CLI {
class App;
}  // namespace CLI

namespace veltrano::cli {

inline constexpr const char* kVersion = "veltrano-cli 1.0";

extern const char* const kHistoryAbout;
extern const char* const kSystemHistoryAbout;
extern const char* const kSweepAbout;
extern const char* const kJoinAbout;
extern const char* const kSystemSweepAbout;
extern const char* const kSystemJoinAbout;
extern const char* const kPlotAbout;
extern const char* const kSystemsAbout;

// The help of the one-run form alone.
[[nodiscard]] std::string oneRunHelp();

// The whole help: the one-run form, then each of the other forms.
[[nodiscard]] std::string helpText(std::initializer_list<CLI::App*> forms);

}  // namespace veltrano::cli
