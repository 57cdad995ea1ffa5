#pragma once

#include <optional>
#include <string_view>

#include "clock.h"
#include "parameters.h"
#include "result_view.h"
#include "exponents.h"

namespace veltrano {

// Shown in the four result fields while a run lasts: five letters, three blanks.
inline constexpr std::string_view kBusyText = "WHITE   ";
inline constexpr std::string_view kUnknownText = "?";
inline constexpr int kResultPlaces = 4;
inline constexpr int kSecondsPlaces = 3;

struct RunOutcome {
    bool completed = false;
    std::optional<double> seconds;  // set only for a completed run
};

// One press of "CALCOLA" after validation: start the clock, show the busy
// look, run the computation, then write t, the three exponents and the
// computing time into `view` — or, after an arithmetic fault (already
// reported through `view`), the time reached and "?" for the exponents.
RunOutcome computeAndShow(Spectrum& spectrum, const Parameters& p, ResultView& view, const Clock& clock);

}  // namespace veltrano
