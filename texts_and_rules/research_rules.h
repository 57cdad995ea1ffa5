#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

#include "run_settings.h"

namespace veltrano {

// The rules of a research run (history, sweep, join and the Python module):
// the ranges of its options and their messages, said once here. The front
// ends only turn what they were given (texts, Python objects) into the
// values below; every default comes from RunSettings{}.

// The options of a research run, as the command line names them; the
// Python module refuses its keywords with the same messages.
enum class ResearchOption { Transient, Initial, Step, StepsPerInterval, Batch, TargetError, Every, Threads };

// "--step 0: H must be a decimal number above 0": the option, the value as
// given, and what it must be.
[[nodiscard]] std::string refusedOption(ResearchOption option, std::string_view given);

// The same rule said of a window's field, in the window's language:
// "Step h must be a decimal number above 0, not 0" ("Passo h deve essere un
// numero decimale maggiore di 0, non 0"); `field` is the field's own name.
enum class TextLanguage { English, Italian };
[[nodiscard]] std::string refusedField(ResearchOption option, std::string_view field, std::string_view given,
                                       TextLanguage language);

// N of a research run is a whole number from 1 to RunSettings::kMaxIntervals.
inline constexpr std::string_view kMessageResearchRange = "Deve essere N <= 1000000000";

// The message for N, or nullopt when it is in range: below 1 is not a
// positive whole number (the window's message), above the most is the
// research range.
[[nodiscard]] std::optional<std::string_view> refusedIntervals(std::int64_t n);

// The values of the research options as a front end read them; nullopt
// where an option was not given.
struct ResearchValues {
    std::optional<std::int64_t> transient;
    std::optional<Triple> initial;
    std::optional<double> step;
    std::optional<std::int64_t> stepsPerInterval;
    bool errors = false;
    std::optional<std::int64_t> batch;
    std::optional<double> targetError;
};

// How the user wrote the value of an option, for its message.
using ShownValue = std::function<std::string(ResearchOption)>;

// The settings of a run of `intervals` measured intervals with the options
// given, the others at their defaults; otherwise the message of N or of the
// first option refused (in the order of ResearchValues). A target error
// implies error bars.
[[nodiscard]] std::variant<RunSettings, std::string> researchSettings(std::int64_t intervals,
                                                                      const ResearchValues& values,
                                                                      const ShownValue& shown);

// The same, each refused option said by `refusal` (refusedField for a window).
using RefusalText = std::function<std::string(ResearchOption)>;
[[nodiscard]] std::variant<RunSettings, std::string> checkedResearch(std::int64_t intervals,
                                                                     const ResearchValues& values,
                                                                     const RefusalText& refusal);

// K of history's --every (every=): a row after every K-th interval.
[[nodiscard]] std::variant<std::int64_t, std::string> everyOf(std::int64_t k, std::string_view shown);

// The threads of a sweep: those given, or every hardware thread.
inline constexpr std::int64_t kMaxThreads = 4096;
[[nodiscard]] std::variant<int, std::string> threadCount(std::optional<std::int64_t> given, std::string_view shown);

// Shard K of M: 1 <= K <= M <= SweepGrid's most points.
[[nodiscard]] bool shardInRange(std::int64_t k, std::int64_t m);

// "COUNT must be a whole number from 1 to 100000000": what a count of
// values, of points or of shards must be, for the count so named.
[[nodiscard]] std::string countRangeRule(std::string_view name);

// "expected K/M with 1 <= K <= M <= 100000000", the shard written as `form`
// ("K/M", "(K, M)").
[[nodiscard]] std::string shardRangeRule(std::string_view form);

// "the grid has 120000000 points; a sweep has at most 100000000" when the
// axes of these lengths make more points than a sweep may have (their
// product is written in full, however large), nullopt otherwise.
[[nodiscard]] std::optional<std::string> refusedGridSize(std::span<const std::int64_t> axisLengths);

}  // namespace veltrano
