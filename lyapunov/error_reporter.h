#pragma once

#include <string_view>

namespace veltrano {

// The text shown whenever the computation meets an arithmetic fault.
inline constexpr std::string_view kComputationErrorText = "ERRORE NELLA ELABORAZIONE";

// How the computation tells the user about an arithmetic fault. The window
// shows a modal critical box; the command-line tool writes to stderr. The call
// returns once the user has seen the message.
class ErrorReporter {
public:
    virtual void reportError(std::string_view message) = 0;

protected:
    ~ErrorReporter() = default;
};

}  // namespace veltrano
